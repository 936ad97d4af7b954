#include "worklog/Away_Time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{

Date_Time At(int day, int hour, int minute, int second = 0) { return Date_Time{2026, 12, day, hour, minute, second}; }

// A day begun on 8 December at 08:00, ten minutes of it booked to "Coding"; now is 13:00.
class Away_Time_Test : public ::testing::Test
{
protected:
    Away_Time_Test()
    {
        Texts.Day_Row_Label = "Day";
        Work_Record day_row;
        day_row[Work_Type_Field] = "Default";
        Log.Start_Day(day_row, 8 * 60);
        Rules.Refresh_Summary_Rows(13 * 60);
        Rules.Store_Record({Log.Size(), "Coding", "own", true, 10});
    }

    // "began-ended minutes" of the question due now, with days when they differ.
    std::string Question(const Date_Time& now, int away_minutes = 15)
    {
        const std::optional<Away_Period> period = Tracker.Take_Question(Log, now, away_minutes);
        if (!period) return "none";
        char text[48];
        std::snprintf(text, sizeof text, "%d %02d:%02d-%d %02d:%02d %d", period->Began.Day, period->Began.Hour,
                      period->Began.Minute, period->Ended.Day, period->Ended.Hour, period->Ended.Minute,
                      int(period->Minutes));
        return text;
    }
    Day_Verdict Book(int minutes, const std::string& work_type, const std::string& remark = "", bool confirmed = false)
    {
        return Book_Away_Time(Rules, {At(8, 12, 0), At(8, 12, 0), Minute_Of_Day(minutes)}, work_type, remark, confirmed)
            .Verdict;
    }

    Settings Setup;
    Language_Texts Texts;
    Day_Log Log;
    Day_Rules Rules{Log, Setup, Texts};
    Away_Tracker Tracker;
};

TEST_F(Away_Time_Test, AskedOnceWhenBackAfterAtLeastTheSetMinutes)
{
    Tracker.User_Left(At(8, 12, 5, 40));
    Tracker.User_Left(At(8, 12, 20));  // the screen saver after the lock
    EXPECT_EQ(Question(At(8, 12, 30)), "none") << "asked while still away";
    Tracker.User_Back(At(8, 12, 50, 10));
    EXPECT_EQ(Question(At(8, 12, 50)), "8 12:05-8 12:50 45");
    EXPECT_EQ(Question(At(8, 12, 51)), "none") << "asked twice";

    Tracker.User_Left(At(8, 13, 0));
    Tracker.User_Back(At(8, 13, 14, 59));
    EXPECT_EQ(Question(At(8, 13, 15)), "none") << "14 minutes asked about";
    Tracker.User_Left(At(8, 14, 0));
    Tracker.User_Back(At(8, 15, 0));
    EXPECT_EQ(Question(At(8, 15, 0), 0), "none") << "asked with the question switched off";
}

TEST_F(Away_Time_Test, InputIdlenessLeavesAtTheLastInputAndReturnsAtTheFirstNew)
{
    Tracker.Input_Idle(At(8, 12, 10), 5 * 60000, 15);
    EXPECT_FALSE(Tracker.Away());
    Tracker.Input_Idle(At(8, 12, 20), 15 * 60000 + 500, 15);
    Tracker.Input_Idle(At(8, 12, 49), 44 * 60000, 15);
    EXPECT_TRUE(Tracker.Away());
    Tracker.Input_Idle(At(8, 12, 50, 30), 20000, 15);  // a key at 12:50:10
    EXPECT_EQ(Question(At(8, 12, 51)), "8 12:05-8 12:50 45");
}

TEST_F(Away_Time_Test, ADayBegunWhileAwayCountsFromItsStart)
{
    // Asleep at 23:00, back at 07:30: the new day began at the resume minute.
    const Work_Record day_row = Log[0];
    Tracker.User_Left(At(8, 23, 0));
    Tracker.User_Back(At(9, 7, 30));
    Log.Start_Day(day_row, 7 * 60 + 30);
    EXPECT_EQ(Question(At(9, 7, 30)), "none");
    // Idle across midnight and the new year: the day begun at 00:00 gets its part only.
    Tracker.User_Left(At(31, 23, 30));
    Tracker.User_Back(Date_Time{2027, 1, 1, 0, 40, 0});
    Log.Start_Day(day_row, 0);
    EXPECT_EQ(Question(Date_Time{2027, 1, 1, 0, 40, 0}), "1 00:00-1 00:40 40");
}

TEST_F(Away_Time_Test, BookingAddsARecordOrGrowsTheRowOfItsWorkTypeByTheDaysRules)
{
    Setup.Display_Zentavo_Overrange_Warning = true;
    ASSERT_EQ(Book(45, "Lunch", "canteen"), Day_Verdict::Done);
    ASSERT_EQ(Book(45, "coding"), Day_Verdict::Done);
    EXPECT_EQ(Log.Records().back(), (Work_Record{{"", "", "", "Lunch", "00:45", "canteen"}}));
    EXPECT_EQ(Log[2], (Work_Record{{"", "", "", "Coding", "00:55", "own"}}));
    EXPECT_EQ(Book(45, ""), Day_Verdict::Tell_Empty_Work_Type);
    EXPECT_EQ(Book(45, "Day"), Day_Verdict::Tell_Duplicate_Work_Type);

    EXPECT_EQ(Book(250, "Meeting"), Day_Verdict::Ask_Overtime_Adding);
    EXPECT_EQ(Book(250, "Coding"), Day_Verdict::Ask_Overtime_Editing);
    const Record_Verdict too_long = Book_Away_Time(Rules, {At(8, 0, 0), At(8, 16, 0), 960}, "Away", "", true);
    EXPECT_EQ(too_long.Verdict, Day_Verdict::Tell_Duration_Too_Long);
    EXPECT_EQ(too_long.Available_Minutes, 1439 - 8 * 60 - 100);
    while (Log.Size() < Max_Day_Log_Records) ASSERT_EQ(Book(1, "T" + std::to_string(Log.Size())), Day_Verdict::Done);
    EXPECT_EQ(Book(1, "One more"), Day_Verdict::Refused);
    EXPECT_EQ(Book(1, "T4"), Day_Verdict::Done);
}

}  // namespace
