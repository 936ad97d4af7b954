// A new date reached while the program runs ends the day as closing and a new start would.
#include "worklog/Running_Day_Change.h"

#include "Work_Log_Test_Support.h"
#include "worklog/Day_Rules.h"

namespace
{

class Running_Day_Change_Test : public Work_Log_Test
{
protected:
    Running_Day_Change_Test()
    {
        Write(Paths.File("Setup.ini"), "[Main_Setup]\r\nDisplay_End_Splash_Screen=1\r\n");
        Texts.Message_Strings[15] = "%0:s-%1:s";
    }

    // Monday's day, begun at the given minute, one record booked, now at the given clock.
    void Run_Day_From(Minute_Of_Day start, const Date_Time& now)
    {
        Time.Set(now);
        Log.Start_Day(Make_Record("Monday", "07.12.2026", "", "DEFAULT", "00:00", ""), start);
        Log.Add_User_Record(Make_Record("", "", "", "Coding", "01:00", "x"), "Day label");
        Log.Refresh_Summary_Rows(Time_To_Minute_Of_Day(now));
    }

    Day_Log Log;
    Running_Day_Change Change;
};

}  // namespace

TEST_F(Running_Day_Change_Test, MidnightSavesExportsOnceAndBeginsTheNewDayAtThatMinute)
{
    Run_Day_From(22 * 60, Date_Time{2026, 12, 7, 23, 59});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Same_Day);
    EXPECT_FALSE(std::filesystem::exists(Target()));

    Time.Set(Date_Time{2026, 12, 8, 0, 0});
    // A dialog open holds the change back; the day and the target log stay as they are.
    EXPECT_EQ(Change.Change_When_Due(Context, Log, true), Day_Change_Outcome::Waiting);
    EXPECT_EQ(Log[0][Date_Field], "07.12.2026");
    EXPECT_FALSE(std::filesystem::exists(Target()));

    ASSERT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Changed);
    const std::string exported = Read(Target());
    EXPECT_EQ(exported,
              "\r\nMonday;07.12.2026;22:00 - 23:59;Day label;01:59;\r\n"
              ";;;DEFAULT;00:59;\r\n;;;Coding;01:00;x\r\n");
    ASSERT_EQ(Log.Size(), 1u);
    EXPECT_EQ(Log[0], Make_Record("Tuesday", "08.12.2026", "00:00 - 00:00", "DEFAULT", "00:00", ""));
    EXPECT_EQ(Change.Summary(), "22:00-23:59");
    EXPECT_EQ(Dialogs.Splash_Count, 0);
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));

    Time.Set(Date_Time{2026, 12, 8, 0, 1});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Same_Day);
    EXPECT_EQ(Read(Target()), exported);
}

TEST_F(Running_Day_Change_Test, ClockSetBackChangesNothingAndIsToldOnce)
{
    Run_Day_From(8 * 60, Date_Time{2026, 12, 6, 10, 0});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Same_Day);
    Time.Set(Date_Time{2026, 12, 6, 10, 1});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Same_Day);
    ASSERT_EQ(Errors.Lines().size(), 1u);
    EXPECT_EQ(Errors.Lines()[0].substr(8),
              " - DAY_CHANGE - CLOCK_SET_BACK - the clock shows 06.12.2026, before the "
              "day's date 07.12.2026; the day goes on");
    EXPECT_EQ(Log[0][Date_Field], "07.12.2026");
    EXPECT_FALSE(std::filesystem::exists(Target()));
}

TEST_F(Running_Day_Change_Test, AFailedSaveKeepsTheDayAndTriesAgainAtTheNextMinute)
{
    Run_Day_From(8 * 60, Date_Time{2026, 12, 8, 7, 0});
    Files.Create_Error = ENOSPC;
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Waiting);
    const std::size_t protocol_lines = Errors.Lines().size();
    EXPECT_GT(protocol_lines, 0u);
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Waiting);
    Files.Create_Error = 0;
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Waiting);  // the same minute
    EXPECT_FALSE(std::filesystem::exists(Target()));
    Time.Set(Date_Time{2026, 12, 8, 7, 1});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Changed);
    EXPECT_EQ(Errors.Lines().size(), protocol_lines + 3);  // saved, not actual, exported
    EXPECT_EQ(Log[0][Time_Span_Field], "07:01 - 07:01");
}

TEST_F(Running_Day_Change_Test, ALaterDayBoundaryKeepsTheNightInTheDayItBegan)
{
    Program_Settings.Day_Boundary = 4 * 60;
    Run_Day_From(22 * 60, Date_Time{2026, 12, 8, 2, 0});
    EXPECT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Same_Day);
    EXPECT_EQ(Log.Elapsed_Minutes(), 240);
    Day_Rules rules(Log, Program_Settings, Texts);
    EXPECT_EQ(rules.Available_Minutes(Log.Size()), 359 - 60);  // up to 03:59

    Time.Set(Date_Time{2026, 12, 8, 4, 0});
    ASSERT_EQ(Change.Change_When_Due(Context, Log, false), Day_Change_Outcome::Changed);
    EXPECT_EQ(Log[0][Date_Field], "08.12.2026");
    EXPECT_EQ(Log[0][Time_Span_Field], "04:00 - 04:00");
    EXPECT_NE(Read(Target()).find("07.12.2026;22:00 - 02:00;Day label;04:00;"), std::string::npos);
    EXPECT_TRUE(Working_Date(Date_Time{2027, 1, 1, 3, 59}, 240).Same_Date(Date_Time{2026, 12, 31}));
    EXPECT_TRUE(Working_Date(Date_Time{2028, 3, 1, 0, 30}, 60).Same_Date(Date_Time{2028, 2, 29}));
}
