// Actual_Work_Log.log of any content: the record reader and the day start take it without
// fault, the day they build keeps the day log's rules, and a continued day saved and read
// again is the same day.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Fuzz_Support.h"
#include "history/History_Export.h"
#include "platform/Short_String.h"
#include "support/Fake_Clock.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Day_Start.h"
#include "worklog/Target_Log_Export.h"

namespace
{

// Answers 1 (new day, retry) a few times, then 2, so no retry loop runs forever.
class Answering_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string&, int, const std::string&, const std::string&, const std::string&,
                               const std::vector<std::string>&) override
    {
        return ++Calls <= 3 ? 1 : 2;
    }
    void Show_Start_Splash_Screen() override {}

    int Calls = 0;
};

struct Fuzz_Program
{
    explicit Fuzz_Program(const std::string& directory)
        : Paths(directory), Time(Date_Time{2026, 12, 7, 9, 30, 0, 0}),
          Errors(Time, Patterns.Long_Time), Context{Paths,    Time,  Patterns, Errors, Dialogs, Program_Settings,
                                                    Start_Up, Texts, Files}
    {
        for (int i = 1; i <= 19; ++i) Texts.Message_Strings[i] = "message %0:s " + std::to_string(i);
        for (int i = 1; i <= 6; ++i) Texts.Message_Buttons[i] = "button " + std::to_string(i);
        for (int i = 1; i <= 7; ++i) Texts.Day_Names[i] = "day " + std::to_string(i);
        Program_Settings.Target_Log_File_Name = Paths.File("Work_Log.csv");
    }

    Program_Paths Paths;
    Fake_Clock Time;
    Date_Time_Patterns Patterns;
    Error_List Errors;
    Answering_Dialogs Dialogs;
    Settings Program_Settings;
    Start_Up_Values Start_Up;
    Language_Texts Texts;
    Posix_Work_Log_File_System Files;
    Work_Log_Context Context;
};

void Check_Record(const Work_Record& record)
{
    for (const std::string& field : record.Fields) ZL_FUZZ_CHECK(field.size() <= Short_String_Max_Length);
}

void Check_Day_Log(const Day_Log& day_log)
{
    ZL_FUZZ_CHECK(day_log.Size() >= 1 && day_log.Size() <= Max_Day_Log_Records);
    ZL_FUZZ_CHECK(day_log.Size() != 2);
    Minute_Of_Day recorded = 0;
    for (std::size_t index = 0; index < day_log.Size(); ++index)
    {
        Check_Record(day_log.Records()[index]);
        if (index < 2) continue;
        const Minute_Of_Day_Result duration = Text_To_Minute_Of_Day(day_log.Records()[index][Duration_Field]);
        ZL_FUZZ_CHECK(duration.Valid);
        recorded = static_cast<Minute_Of_Day>(recorded + duration.Value);
    }
    ZL_FUZZ_CHECK(recorded == day_log.Recorded_Minutes());
    ZL_FUZZ_CHECK(Day_Log_Invariant_Fault(day_log).empty());
}

void Check_Record_Reader(std::string_view bytes)
{
    for (std::size_t offset = 0; offset + Work_Record_Size <= bytes.size(); offset += Work_Record_Size)
    {
        const Work_Record record = Decode_Work_Record(bytes.substr(offset, Work_Record_Size));
        Check_Record(record);
        const std::string encoded = Encode_Work_Record(record);
        ZL_FUZZ_CHECK(encoded.size() == Work_Record_Size);
        ZL_FUZZ_CHECK(Decode_Work_Record(encoded) == record);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Fuzz_Directory directory;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check_Record_Reader(bytes);

    directory.Empty();
    directory.Write(Day_Log_File_Name, bytes);
    {
        Fuzz_Program program(directory.Path());
        Stored_Day_Log stored;
        ZL_FUZZ_CHECK(Open_Actual_Work_Log(program.Context, stored));
        ZL_FUZZ_CHECK(stored.Whole_Record_Count == size / Work_Record_Size);
        ZL_FUZZ_CHECK(stored.Records.size() ==
                      std::min<std::uint64_t>(stored.Whole_Record_Count, Max_Day_Log_Records + 1));
        for (const Work_Record& record : stored.Records) Check_Record(record);
    }

    Fuzz_Program program(directory.Path());
    Day_Log day_log;
    const Load_Day_Log_Result result = Load_Day_Log(program.Context, day_log, Record_Exported_Day_In_History);
    if (result.Terminate_Requested)
    {
        ZL_FUZZ_CHECK(day_log.Size() == 0);
        return 0;
    }
    Check_Day_Log(day_log);

    // A file the new day replaces is kept whole beside it.
    if (result.Outcome == Day_Log_Outcome::Invalid || result.Outcome == Day_Log_Outcome::Unopenable)
        ZL_FUZZ_CHECK(directory.Read(std::string(Day_Log_File_Name) + Invalid_Day_Log_Suffix) == bytes);
    // A past day goes to the target log whole: the separator line, then a line per record.
    if (result.Outcome == Day_Log_Outcome::Past_Day)
    {
        std::string expected = program.Program_Settings.Target_Log_File_Separator + "\r\n";
        for (std::size_t offset = 0; offset + Work_Record_Size <= size; offset += Work_Record_Size)
        {
            const std::optional<std::string> line =
                Target_Log_Line(program.Program_Settings.Target_Log_File_Format,
                                Decode_Work_Record(bytes.substr(offset, Work_Record_Size)));
            ZL_FUZZ_CHECK(line.has_value());
            expected += *line + "\r\n";
        }
        ZL_FUZZ_CHECK(directory.Read("Work_Log.csv") == expected);
    }
    if (result.Outcome != Day_Log_Outcome::Valid) return 0;

    // The continued day, saved and started again, is the same day.
    ZL_FUZZ_CHECK(Checkpoint_Day_Log(program.Context, day_log));
    Fuzz_Program again(directory.Path());
    Day_Log reloaded;
    const Load_Day_Log_Result second = Load_Day_Log(again.Context, reloaded, Record_Exported_Day_In_History);
    ZL_FUZZ_CHECK(!second.Terminate_Requested && second.Outcome == Day_Log_Outcome::Valid);
    ZL_FUZZ_CHECK(reloaded.Records() == day_log.Records());
    ZL_FUZZ_CHECK(reloaded.Day_Start_Minute() == day_log.Day_Start_Minute());
    ZL_FUZZ_CHECK(reloaded.Recorded_Minutes() == day_log.Recorded_Minutes());
    return 0;
}
