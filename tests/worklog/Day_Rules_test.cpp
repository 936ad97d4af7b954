#include "worklog/Day_Rules.h"

#include <gtest/gtest.h>

namespace
{

// A day that began at 08:00 with the default work type; now is 10:00. Rows() shows each
// row as "work type duration", joined by " | ".
class Day_Rules_Test : public ::testing::Test
{
protected:
    Day_Rules_Test()
    {
        Texts.Day_Row_Label = "Day";
        Work_Record day_row;
        day_row[Day_Name_Field] = "Monday";
        day_row[Date_Field] = "07.12.2026";
        day_row[Work_Type_Field] = "Default";
        day_row[Remark_Field] = "default remark";
        Log.Start_Day(day_row, At("08:00"));
        Now("10:00");
    }

    static Minute_Of_Day At(const char* time) { return Text_To_Minute_Of_Day_Or_Zero(time); }
    void Now(const char* time) { Rules.Refresh_Summary_Rows(At(time)); }

    Record_Verdict Store(std::size_t row, const std::string& work_type, const char* duration, bool confirmed = false)
    {
        const Minute_Of_Day_Result minutes = Text_To_Minute_Of_Day(duration);
        return Rules.Store_Record({row, work_type, "remark", minutes.Valid, minutes.Value}, confirmed);
    }
    Day_Verdict Add(const std::string& work_type, const char* duration, bool confirmed = false)
    {
        return Store(Log.Size(), work_type, duration, confirmed).Verdict;
    }

    std::string Rows() const
    {
        std::string rows;
        for (const Work_Record& record : Log.Records())
            rows += (rows.empty() ? "" : " | ") + record[Work_Type_Field] + " " + record[Duration_Field];
        return rows;
    }

    Settings Setup;
    Language_Texts Texts;
    Day_Log Log;
    Day_Rules Rules{Log, Setup, Texts};
};

using Verdict = Day_Verdict;

TEST_F(Day_Rules_Test, FirstRecordSplitsTheUnassignedRowOffTheDayRow)
{
    ASSERT_EQ(Add("Coding", "00:30"), Verdict::Done);
    EXPECT_EQ(Rows(), "Day 02:00 | Default 01:30 | Coding 00:30");
    EXPECT_EQ(Log[1][Remark_Field], "default remark");
    EXPECT_EQ(Log[0][Remark_Field], "");
}

TEST_F(Day_Rules_Test, RecordedMinutesAreTheSumOfTheUserRows)
{
    Add("Coding", "00:30");
    Add("Review", "00:45");
    EXPECT_EQ(Log.Recorded_Minutes(), 75);
}

TEST_F(Day_Rules_Test, UnassignedRowIsNegativeWhenMoreIsRecordedThanElapsed)
{
    Add("Coding", "02:30", true);
    EXPECT_EQ(Log[1][Duration_Field], "- 00:30");
}

TEST_F(Day_Rules_Test, SummaryRowsFollowTheMinute)
{
    Add("Coding", "00:30");
    Now("11:15");
    EXPECT_EQ(Log[0][Time_Span_Field], "08:00 - 11:15");
    EXPECT_EQ(Rows(), "Day 03:15 | Default 02:45 | Coding 00:30");
}

TEST_F(Day_Rules_Test, RefreshForMinuteActsOncePerMinute)
{
    EXPECT_FALSE(Rules.Refresh_For_Minute(At("10:00")));
    EXPECT_TRUE(Rules.Refresh_For_Minute(At("10:01")));
    EXPECT_EQ(Log[0][Duration_Field], "02:01");
}

TEST_F(Day_Rules_Test, PastMidnightTheElapsedTimeRunsOn)
{
    Log.Start_Day(Log[0], At("23:00"));
    Now("00:30");
    EXPECT_EQ(Log[0][Duration_Field], "01:30");
}

TEST_F(Day_Rules_Test, DeletingAsksFirst)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Rules.Delete_User_Row(2, false), Verdict::Ask_Before_Deleting);
    EXPECT_EQ(Log.Size(), 3u);
}

TEST_F(Day_Rules_Test, DeletingTheLastUserRowFoldsBackIntoTheDayRow)
{
    Add("Coding", "00:30");
    ASSERT_EQ(Rules.Delete_User_Row(2, true), Verdict::Done);
    EXPECT_EQ(Rows(), "Default 02:00");
    EXPECT_EQ(Log[0][Remark_Field], "default remark");
}

TEST_F(Day_Rules_Test, DeletingOneOfSeveralUserRowsKeepsTheOthers)
{
    Add("Coding", "00:30");
    Add("Review", "00:45");
    Rules.Delete_User_Row(2, true);
    EXPECT_EQ(Rows(), "Day 02:00 | Default 01:15 | Review 00:45");
}

TEST_F(Day_Rules_Test, SummaryRowsCannotBeDeleted)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Rules.Delete_User_Row(0, true), Verdict::Refused);
    EXPECT_EQ(Rules.Delete_User_Row(1, true), Verdict::Refused);
    EXPECT_EQ(Rules.Delete_User_Row(3, true), Verdict::Refused);
}

TEST_F(Day_Rules_Test, ClearingAsksAndThenFoldsBack)
{
    Add("Coding", "00:30");
    Add("Review", "00:45");
    EXPECT_EQ(Rules.Clear_User_Rows(false), Verdict::Ask_Before_Clearing);
    EXPECT_EQ(Rules.Clear_User_Rows(true), Verdict::Done);
    EXPECT_EQ(Rows(), "Default 02:00");
}

TEST_F(Day_Rules_Test, ClearingADayWithoutRecordsAsksNothing)
{
    EXPECT_EQ(Rules.Clear_User_Rows(false), Verdict::Refused);
}

TEST_F(Day_Rules_Test, EmptyWorkTypeIsRefused) { EXPECT_EQ(Add("", "00:30"), Verdict::Tell_Empty_Work_Type); }

TEST_F(Day_Rules_Test, DuplicateIgnoresCp1250LetterCase)
{
    Add("\xC8ten\xED", "00:30");                                               // Čtení
    const Record_Verdict verdict = Store(Log.Size(), "\xE8TEN\xCD", "00:10");  // čTENÍ
    EXPECT_EQ(verdict.Verdict, Verdict::Tell_Duplicate_Work_Type);
    EXPECT_EQ(verdict.Duplicate_Row, 2);
}

TEST_F(Day_Rules_Test, DuplicateCheckTakesInTheSummaryRows)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Store(Log.Size(), "DAY", "00:10").Duplicate_Row, 0);
    EXPECT_EQ(Store(Log.Size(), "default", "00:10").Duplicate_Row, 1);
}

TEST_F(Day_Rules_Test, KeepingTheOwnWorkTypeInAnotherCaseIsNoDuplicate)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Store(2, "CODING", "00:40").Verdict, Verdict::Done);
    EXPECT_EQ(Rows(), "Day 02:00 | Default 01:20 | CODING 00:40");
}

TEST_F(Day_Rules_Test, AvailableMinutesAreTheRestOfTheDay)
{
    EXPECT_EQ(Rules.Available_Minutes(Log.Size()), 959);  // 15:59 from 08:00
}

TEST_F(Day_Rules_Test, AnEditedUserRowsOwnDurationCountsAsAvailable)
{
    Add("Coding", "01:00");
    EXPECT_EQ(Rules.Available_Minutes(Log.Size()), 899);
    EXPECT_EQ(Rules.Available_Minutes(2), 959);
}

TEST_F(Day_Rules_Test, TooLongADurationIsRefusedWithTheMinutesAvailable)
{
    const Record_Verdict verdict = Store(Log.Size(), "Coding", "16:00", true);
    EXPECT_EQ(verdict.Verdict, Verdict::Tell_Duration_Too_Long);
    EXPECT_EQ(verdict.Available_Minutes, 959);
}

TEST_F(Day_Rules_Test, ATimeThatIsNoTimeIsRefusedLikeATooLongOne)
{
    EXPECT_EQ(Add("Coding", "24:00"), Verdict::Tell_Duration_Too_Long);
}

TEST_F(Day_Rules_Test, ZeroDurationIsRefusedForUserRowsOnly)
{
    EXPECT_EQ(Add("Coding", "00:00"), Verdict::Tell_Zero_Duration);
    Add("Coding", "00:30");
    EXPECT_EQ(Store(1, "Idle", "00:00").Verdict, Verdict::Done);
}

TEST_F(Day_Rules_Test, AddingPastTheElapsedTimeAsksAboutOvertime)
{
    EXPECT_EQ(Add("Coding", "02:01"), Verdict::Ask_Overtime_Adding);
    EXPECT_EQ(Log.Size(), 1u);
    EXPECT_EQ(Add("Coding", "02:01", true), Verdict::Done);
}

TEST_F(Day_Rules_Test, WithoutTheWarningOvertimeIsNotAsked)
{
    Setup.Display_Zentavo_Overrange_Warning = false;
    EXPECT_EQ(Add("Coding", "03:00"), Verdict::Done);
}

TEST_F(Day_Rules_Test, EditingAUserRowPastTheElapsedTimeAsksAboutOvertime)
{
    Add("Coding", "01:00");
    EXPECT_EQ(Store(2, "Coding", "02:00").Verdict, Verdict::Done);
    EXPECT_EQ(Store(2, "Coding", "02:01").Verdict, Verdict::Ask_Overtime_Editing);
}

TEST_F(Day_Rules_Test, EditingTheDayRowKeepsItsDayNameDateAndSpan)
{
    ASSERT_EQ(Store(0, "Meeting", "00:00").Verdict, Verdict::Done);
    EXPECT_EQ(Log[0][Day_Name_Field], "Monday");
    EXPECT_EQ(Log[0][Date_Field], "07.12.2026");
    EXPECT_EQ(Rows(), "Meeting 02:00");
}

TEST_F(Day_Rules_Test, TheDayRowsWorkTypeIsFixedWhileRecordsExist)
{
    EXPECT_TRUE(Rules.Work_Type_Editable(0));
    Add("Coding", "00:30");
    EXPECT_FALSE(Rules.Work_Type_Editable(0));
    EXPECT_TRUE(Rules.Work_Type_Editable(1));
}

TEST_F(Day_Rules_Test, OnlyUserRowsAndNewRecordsHaveAnEditableDuration)
{
    Add("Coding", "00:30");
    EXPECT_FALSE(Rules.Duration_Editable(0));
    EXPECT_FALSE(Rules.Duration_Editable(1));
    EXPECT_TRUE(Rules.Duration_Editable(2));
    EXPECT_TRUE(Rules.Duration_Editable(3));
}

TEST_F(Day_Rules_Test, AFullDayLeavesNoRoomToAdd)
{
    Add("Coding", "15:59", true);
    EXPECT_FALSE(Rules.May_Add_Record());
    Rules.Shorten_Record(2);
    EXPECT_TRUE(Rules.May_Add_Record());
}

TEST_F(Day_Rules_Test, SixteenRowsLeaveNoRoomToAdd)
{
    for (int record = 0; record < 14; ++record) Add("Work " + std::to_string(record), "00:01");
    EXPECT_EQ(Log.Size(), Max_Day_Log_Records);
    EXPECT_FALSE(Rules.May_Add_Record());
    EXPECT_EQ(Add("One more", "00:01"), Verdict::Refused);
}

TEST_F(Day_Rules_Test, WheelUpLengthensByTheResolution)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Rules.Lengthen_Record(2, false), Verdict::Done);
    EXPECT_EQ(Rows(), "Day 02:00 | Default 01:20 | Coding 00:40");
}

TEST_F(Day_Rules_Test, WheelUpPastTheElapsedTimeAsksAboutOvertime)
{
    Add("Coding", "01:55");
    EXPECT_EQ(Rules.Lengthen_Record(2, false), Verdict::Ask_Overtime_Editing);
    EXPECT_EQ(Rules.Lengthen_Record(2, true), Verdict::Done);
    EXPECT_EQ(Log.Recorded_Minutes(), 125);
}

TEST_F(Day_Rules_Test, WheelUpStopsAtTheEndOfTheDay)
{
    Add("Coding", "15:50", true);
    EXPECT_EQ(Rules.Lengthen_Record(2, true), Verdict::Refused);
    EXPECT_EQ(Log[2][Duration_Field], "15:50");
}

TEST_F(Day_Rules_Test, WheelDownShortensByTheResolution)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Rules.Shorten_Record(2), Verdict::Done);
    EXPECT_EQ(Log[2][Duration_Field], "00:20");
}

TEST_F(Day_Rules_Test, WheelDownToNothingOffersToDeleteInstead)
{
    Add("Coding", "00:10");
    EXPECT_EQ(Rules.Shorten_Record(2), Verdict::Ask_Before_Deleting);
    EXPECT_EQ(Log[2][Duration_Field], "00:10");
}

TEST_F(Day_Rules_Test, WheelActsOnUserRowsOnly)
{
    Add("Coding", "00:30");
    EXPECT_EQ(Rules.Lengthen_Record(1, true), Verdict::Refused);
    EXPECT_EQ(Rules.Shorten_Record(0), Verdict::Refused);
}

TEST_F(Day_Rules_Test, WheelSwitchedOffDoesNothing)
{
    Add("Coding", "00:30");
    Setup.Time_Scroll_Control = false;
    EXPECT_EQ(Rules.Lengthen_Record(2, true), Verdict::Refused);
    EXPECT_EQ(Rules.Shorten_Record(2), Verdict::Refused);
}

TEST_F(Day_Rules_Test, FullTimeIsReachedInItsOwnMinuteOnly)
{
    Now("16:00");
    EXPECT_TRUE(Rules.Full_Time_Reached());
    Now("16:01");
    EXPECT_FALSE(Rules.Full_Time_Reached());
}

TEST_F(Day_Rules_Test, TrayHintShowsTheElapsedTimeWithLineBreaks)
{
    Texts.Tray_Hint_Format = "Today#%s";
    EXPECT_EQ(Rules.Tray_Hint(), "Today\r02:00");
}

TEST_F(Day_Rules_Test, AHintFormatThatDoesNotFitGivesNoHint)
{
    Texts.Tray_Hint_Format = "%d";
    EXPECT_EQ(Rules.Tray_Hint(), "");
}

TEST_F(Day_Rules_Test, AStoredDayWithALoneUnassignedRowFoldsBack)
{
    Log.Continue_Day({Log[0], Work_Record{{"", "", "", "Stored", "01:00", "kept"}}}, At("07:00"));
    EXPECT_EQ(Log.Size(), 1u);
    EXPECT_EQ(Log[0][Remark_Field], "kept");
}

TEST_F(Day_Rules_Test, AStoredDayCountsItsUserRows)
{
    Work_Record user_row{{"", "", "", "Coding", "01:10", ""}};
    Log.Continue_Day({Log[0], Log[0], user_row, user_row}, At("07:00"));
    EXPECT_EQ(Log.Recorded_Minutes(), 140);
}

}  // namespace
