// The first start on a later day, step by step: the stored day goes to the target log once
// and whole, whatever instant a crash or a full disk interrupts it.
#include "Work_Log_Test_Support.h"
#include "worklog/Day_Start.h"
#include "worklog/Export_Journal.h"

namespace
{

const std::vector<Work_Record> Past_Day{
    Make_Record("Sunday", "06.12.2026", "07:58 - 17:12", "Day label", "09:14", ""),
    Make_Record("", "", "", "Unassigned", "- 00:06", "breaks"),
    Make_Record("", "", "", "Coding", "06:20", "export; tests"),
    Make_Record("", "", "", "Meeting", "03:00", "weekly"),
};
const std::string Older_Day = "\r\nSaturday;05.12.2026;08:00 - 12:00;Day label;04:00;\r\n";
const std::string Past_Day_Block =
    "\r\nSunday;06.12.2026;07:58 - 17:12;Day label;09:14;\r\n"
    ";;;Unassigned;- 00:06;breaks\r\n;;;Coding;06:20;export; tests\r\n"
    ";;;Meeting;03:00;weekly\r\n";

class Day_Change : public Work_Log_Test
{
protected:
    // Yesterday's day stored, an older day already in the target log, nothing else.
    void Store_Past_Day()
    {
        for (const auto& entry : std::filesystem::directory_iterator(Directory.Path()))
            std::filesystem::remove_all(entry.path());
        Store_Records(Past_Day);
        Write(Target(), Older_Day);
        Files.Steps.clear();
        Files.Writes = 0;
    }

    // One start as the program makes it; a simulated crash ends it where it stands.
    bool Start_Until_Crash(int crash_after_step)
    {
        Files.Steps.clear();
        Files.Crash_After_Step = crash_after_step;
        Day_Log log;
        bool crashed = false;
        try
        {
            Load_Day_Log(Context, log);
        }
        catch (const Simulated_Crash&)
        {
            crashed = true;
        }
        Files.Crash_After_Step = 0;
        return crashed;
    }

    // The start after everything: today's day continues and the target log holds the
    // older day and the past day once each.
    void Expect_Day_Changed_Once()
    {
        Day_Log log;
        const Load_Day_Log_Result result = Load_Day_Log(Context, log);
        EXPECT_FALSE(result.Terminate_Requested);
        ASSERT_FALSE(log.Empty());
        EXPECT_EQ(log[0][Date_Field], "07.12.2026");
        EXPECT_EQ(Read(Target()), Older_Day + Past_Day_Block);
        EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + Export_Journal_Suffix))
            << ::testing::PrintToString(Files.Steps);
    }
};

}  // namespace

TEST_F(Day_Change, CrashAfterAnyFileStepAndAgainInTheRestartLeavesTheDayInTheTargetLogOnce)
{
    Files.Sync_To_Disk = false;
    Store_Past_Day();
    ASSERT_FALSE(Start_Until_Crash(0));
    const std::vector<std::string> steps = Files.Steps;
    ASSERT_GE(steps.size(), 15u) << ::testing::PrintToString(steps);
    for (std::size_t first = 1; first <= steps.size(); ++first)
        for (std::size_t second = 0; second <= steps.size(); ++second)  // 0: the restart runs through
        {
            SCOPED_TRACE("crash after " + steps[first - 1] + " (step " + std::to_string(first) + "), then after step " +
                         std::to_string(second) + " of the restart");
            Store_Past_Day();
            ASSERT_TRUE(Start_Until_Crash(int(first)));
            const bool crashed_again = Start_Until_Crash(int(second));
            if (second > 0 && !crashed_again) break;  // the restart has fewer steps
            Expect_Day_Changed_Once();
        }
    EXPECT_EQ(Dialogs.Calls.size(), 0u);  // no question on any of these starts
}

TEST_F(Day_Change, NoSpaceAtAnyWriteLeavesTheTargetLogAsItWasUntilTheBlockIsWholeThere)
{
    Store_Past_Day();
    ASSERT_FALSE(Start_Until_Crash(0));
    const int writes = Files.Writes;
    for (int failing = 1; failing <= writes; ++failing)
    {
        SCOPED_TRACE("write " + std::to_string(failing) + " of " + std::to_string(writes) + " fails");
        Store_Past_Day();
        Files.Fail_Write_Number = failing;
        const std::size_t questions = Dialogs.Calls.size();
        Dialogs.Answer(1, [&] { EXPECT_EQ(Read(Target()), Older_Day); });  // the retry, should the export fail
        Day_Log log;
        EXPECT_FALSE(Load_Day_Log(Context, log).Terminate_Requested);
        const bool export_failed = Dialogs.Forget_Answers() == 0;
        EXPECT_EQ(Dialogs.Calls.size(), questions + (export_failed ? 1 : 0));
        EXPECT_EQ(Read(Target()), Older_Day + Past_Day_Block);
        // Where the full disk kept the new day from replacing the stored one, the next start
        // finds the past day again and must not add it a second time.
        Expect_Day_Changed_Once();
    }
}
