// Writes the day-log seeds of fuzz_day_log_reader with the program's own save, so the
// corpus starts from files exactly as the program leaves them.
#include <cstdio>
#include <string>
#include <vector>

#include "support/Fake_Clock.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Day_Start.h"

namespace
{

class No_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string&, int, const std::string&, const std::string&, const std::string&,
                               const std::vector<std::string>&) override
    {
        return 1;
    }
    void Show_Start_Splash_Screen() override {}
};

Work_Record Make_Record(const char* span, const char* work_type, const char* duration, const char* remark)
{
    Work_Record record;
    record.Fields = {"", "", span, work_type, duration, remark};
    return record;
}

}  // namespace

// Arguments: the directory to write into, then the date of the day as dd.MM.yyyy parts.
int main(int argc, char** argv)
{
    if (argc != 5) return std::fprintf(stderr, "usage: %s directory day month year\n", argv[0]), 2;
    const Program_Paths paths(argv[1]);
    const Fake_Clock time(Date_Time{std::stoi(argv[4]), std::stoi(argv[3]), std::stoi(argv[2]), 8, 5, 0, 0});
    const Date_Time_Patterns patterns;
    Error_List errors(time, patterns.Long_Time);
    No_Dialogs dialogs;
    Settings settings;
    Start_Up_Values start_up;
    Language_Texts texts;
    texts.Day_Names = {"",
                       "Ned\xECle",
                       "Pond\xEBl\xED",
                       "\xDAter\xFD",
                       "St\xF8"
                       "eda",
                       "\xC8tvrtek",
                       "P\xE1tek",
                       "Sobota"};
    Posix_Work_Log_File_System files;
    Work_Log_Context context{paths, time, patterns, errors, dialogs, settings, start_up, texts, files};

    Day_Log day_log;
    Start_New_Day(context, day_log);
    day_log.Continue_Day({day_log[0], Make_Record("08:05 - 09:35", "", "00:20", ""),
                          Make_Record("08:05 - 09:00", "PROJEKT", "00:55", "n\xE1vrh obrazovky"),
                          Make_Record("09:00 - 09:15", "PORADA", "00:15", "")},
                         day_log.Day_Start_Minute());
    return Checkpoint_Day_Log(context, day_log) ? 0 : 1;
}
