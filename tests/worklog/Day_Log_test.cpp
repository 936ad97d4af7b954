#include "worklog/Day_Log.h"

#include <gtest/gtest.h>

namespace
{
Work_Record Record_Named(const std::string& work_type)
{
    Work_Record record;
    record[Work_Type_Field] = work_type;
    return record;
}
}  // namespace

TEST(Day_Log, AppendingARecordOfTheLogItselfCopiesIt)
{
    Day_Log log;
    log.Append_Record(Record_Named("first"));
    for (int i = 0; i < 10; ++i) log.Append_Record(log.Records[0]);  // reallocates on the way
    ASSERT_EQ(log.Size(), 11u);
    for (const Work_Record& record : log.Records) EXPECT_EQ(record[Work_Type_Field], "first");
}

TEST(Day_Log, NeverHoldsMoreThanSixteenRecords)
{
    Day_Log log;
    for (std::size_t i = 0; i < Max_Day_Log_Records; ++i) EXPECT_TRUE(log.Append_Record(Record_Named(std::to_string(i))));
    EXPECT_FALSE(log.Append_Record(Record_Named("seventeenth")));
    EXPECT_EQ(log.Size(), Max_Day_Log_Records);
    EXPECT_EQ(log.Records.back()[Work_Type_Field], "15");
}

TEST(Day_Log, DeleteMovesLaterRecordsDownAndKeepsTheDayRow)
{
    Day_Log log;
    for (const char* name : {"day", "unassigned", "user"}) log.Append_Record(Record_Named(name));
    log.Delete_Record(1);
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_EQ(log.Records[0][Work_Type_Field], "day");
    EXPECT_EQ(log.Records[1][Work_Type_Field], "user");
    log.Delete_Record(0);
    log.Delete_Record(2);
    EXPECT_EQ(log.Size(), 2u);
    EXPECT_FALSE(log.Has_User_Rows());
}
