#include "worklog/Day_Log.h"

#include <gtest/gtest.h>

namespace
{

Work_Record Record_Of(const char* work_type, const char* duration)
{
    return Work_Record{{"", "", "", work_type, duration, ""}};
}

// A day of the Day_Row and user records of 00:10 each.
Day_Log Log_With(int user_records)
{
    Day_Log log;
    log.Start_Day(Work_Record{{"Mon", "07.12.2026", "", "Default", "", ""}}, 480);
    for (int record = 0; record < user_records; ++record)
        log.Add_User_Record(Record_Of(("Work " + std::to_string(record)).c_str(), "00:10"), "Day");
    return log;
}

TEST(Day_Log, AddingCopiesEvenARecordOfTheLogItself)
{
    Day_Log log = Log_With(1);
    for (int i = 0; i < 13; ++i) EXPECT_TRUE(log.Add_User_Record(log[2], "Day"));  // reallocates on the way
    EXPECT_EQ(log[15][Work_Type_Field], "Work 0");
}

TEST(Day_Log, SixteenRowsTakeNoMore)
{
    Day_Log log = Log_With(14);
    EXPECT_FALSE(log.Add_User_Record(Record_Of("Seventeenth", "00:10"), "Day"));
    EXPECT_EQ(log.Size(), Max_Day_Log_Records);
}

TEST(Day_Log, UserRowsKeepOnlyTheTypedFields)
{
    Day_Log log = Log_With(0);
    log.Add_User_Record(Work_Record{{"Mon", "date", "span", "Coding", "00:30", "remark"}}, "Day");
    EXPECT_EQ(log[2], (Work_Record{{"", "", "", "Coding", "00:30", "remark"}}));
}

TEST(Day_Log, SummaryRowsTakeOnlyWorkTypeAndRemark)
{
    Day_Log log = Log_With(1);
    log.Replace_Record(1, Work_Record{{"x", "x", "x", "Idle", "09:99", "waiting"}});
    EXPECT_EQ(log[1], (Work_Record{{"", "", "", "Idle", "- 00:10", "waiting"}}));
}

TEST(Day_Log, ADayLoggedBeforeNowShowsTheOvertimeAsNegative)
{
    Day_Log log = Log_With(2);
    log.Refresh_Summary_Rows(485);
    EXPECT_EQ(log[1][Duration_Field], "- 00:15");
}

}  // namespace
