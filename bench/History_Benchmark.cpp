// The history over ten years: writes a generated target log (about 2,600 working days)
// into a program folder, then measures reading it into a new database and the extra
// transaction that an export adds at a day start (synced to the disk).
// Usage: history_benchmark PROGRAM_DIRECTORY [runs]
// Prints "read_ms <median>" and "export_transaction_ms <median>".
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "history/Calendar.h"
#include "history/History_Access.h"
#include "history/History_Export.h"
#include "platform/Posix_File.h"
#include "support/Fake_Clock.h"
#include "worklog/Day_Log_File.h"

namespace
{

class Null_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string&, int, const std::string&, const std::string&, const std::string&,
                               const std::vector<std::string>&) override
    {
        return 2;
    }
    void Show_Start_Splash_Screen() override {}
};

std::string Two_Digits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }
std::string Time_Text(int minutes) { return Two_Digits(minutes / 60) + ":" + Two_Digits(minutes % 60); }

// A working day: the Day_Row, and on most days the Unassigned_Row and a few user rows.
std::vector<Work_Record> Generated_Day(const Calendar_Date& date, unsigned& seed)
{
    const auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    static const char* const Types[] = {"Coding", "Meeting", "Review", "Support", "Writing", "Travel", "\x8akolen\xed"};
    const int start = 420 + static_cast<int>(next(120));
    const int worked = 360 + static_cast<int>(next(240));
    const char* const Day_Names[] = {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
    std::vector<Work_Record> records;
    records.push_back({{Day_Names[Iso_Day_Of_Week(date)],
                        Two_Digits(date.Day) + "." + Two_Digits(date.Month) + "." + std::to_string(date.Year),
                        Time_Text(start) + " - " + Time_Text(start + worked), "Celkem", Time_Text(worked), ""}});
    const int user_rows = static_cast<int>(next(6));
    if (user_rows == 0)
    {
        records[0][Work_Type_Field] = Types[next(7)];
        return records;
    }
    std::vector<Work_Record> users;
    int booked = 0;
    for (int row = 0; row < user_rows; ++row)
    {
        const int minutes = 15 + static_cast<int>(next(150));
        booked += minutes;
        users.push_back({{"", "", "", std::string(Types[row]), Time_Text(minutes), "remark " + std::to_string(row)}});
    }
    const int unassigned = worked - booked;
    records.push_back(
        {{"", "", "", "Office", unassigned < 0 ? "- " + Time_Text(-unassigned) : Time_Text(unassigned), ""}});
    records.insert(records.end(), users.begin(), users.end());
    return records;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds_Since(std::chrono::steady_clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) return std::fprintf(stderr, "usage: %s PROGRAM_DIRECTORY [runs]\n", argv[0]), 2;
    const Program_Paths paths(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    // Ten years of working days, in the default pattern, as the export writes them.
    std::string target_log;
    unsigned seed = 2026;
    std::size_t day_count = 0;
    std::vector<Work_Record> last_day;
    for (Calendar_Date date{2016, 1, 4}; date < Calendar_Date{2026, 1, 1}; date = Add_Days(date, 1))
    {
        if (Iso_Day_Of_Week(date) > 5) continue;
        last_day = Generated_Day(date, seed);
        target_log += "\r\n";
        for (const Work_Record& record : last_day)
            target_log += record[0] + ";" + record[1] + ";" + record[2] + ";" + record[3] + ";" + record[4] + ";" +
                          record[5] + "\r\n";
        ++day_count;
    }
    Settings settings;
    settings.Target_Log_File_Name = paths.File("Work_Log.csv");
    Date_Time_Patterns patterns;
    const int descriptor = ::open(settings.Target_Log_File_Name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0 || !Write_All(descriptor, target_log)) return std::perror("Work_Log.csv"), 1;
    ::close(descriptor);
    const History_Settings history = History_Settings_From(paths, settings, patterns);

    std::vector<double> read_times;
    for (int run = 0; run < runs; ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        const History_Rebuild_Result result = Rebuild_History_Store(history);
        read_times.push_back(Milliseconds_Since(begin));
        if (!result.Written || result.Reading.Days.size() != day_count || !result.Reading.Clean())
            return std::fprintf(stderr, "reading failed: %s %s\n", result.Failure.c_str(),
                                result.Reading.Problems_Text().c_str()),
                   1;
    }

    // The export of the last day again, as a repeated start would: one replacing transaction.
    Fake_Clock clock;
    Error_List errors(clock, patterns.Long_Time);
    Null_Dialogs dialogs;
    Start_Up_Values start_up;
    Language_Texts texts;
    Posix_Work_Log_File_System files;
    Work_Log_Context context{paths, clock, patterns, errors, dialogs, settings, start_up, texts, files};
    std::vector<double> export_times;
    for (int run = 0; run < std::max(runs, 21); ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        Record_Exported_Day_In_History(context, last_day);
        export_times.push_back(Milliseconds_Since(begin));
    }
    if (!errors.Lines().empty()) return std::fprintf(stderr, "export failed: %s\n", errors.Lines()[0].c_str()), 1;

    // The floor under any synced write on this disk: 4 KB written and synced.
    std::vector<double> sync_times;
    const std::string probe_path = paths.File("sync_probe");
    const int probe = ::open(probe_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (int run = 0; probe >= 0 && run < 21; ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        if (!Write_All(probe, std::string(4096, 'x')) || ::fsync(probe) != 0) break;
        sync_times.push_back(Milliseconds_Since(begin));
    }
    if (probe >= 0) ::close(probe);
    ::unlink(probe_path.c_str());
    if (sync_times.empty()) return std::perror("sync probe"), 1;

    std::printf("fsync_ms %.2f\n", Median(sync_times));
    std::printf("days %zu\ntarget_log_bytes %zu\nread_ms %.1f\nexport_transaction_ms %.2f\n", day_count,
                target_log.size(), Median(read_times), Median(export_times));
    return 0;
}
