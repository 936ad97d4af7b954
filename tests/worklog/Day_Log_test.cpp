#include "worklog/Day_Log.h"

#include <gtest/gtest.h>

namespace
{

Day_Log Log_Of(std::initializer_list<const char*> work_types)
{
    Day_Log log;
    for (const char* work_type : work_types) log.Append_Record(Work_Record{{"", "", "", work_type, "", ""}});
    return log;
}

std::vector<std::string> Work_Types(const Day_Log& log)
{
    std::vector<std::string> work_types;
    for (const Work_Record& record : log.Records) work_types.push_back(record[Work_Type_Field]);
    return work_types;
}

TEST(Day_Log, AppendingCopiesEvenARecordOfTheLogItselfUpToSixteenRecords)
{
    Day_Log log = Log_Of({"first"});
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(log.Append_Record(log.Records[0]));  // reallocates on the way
    EXPECT_FALSE(log.Append_Record(Work_Record{{"", "", "", "seventeenth", "", ""}}));
    EXPECT_EQ(Work_Types(log), std::vector<std::string>(Max_Day_Log_Records, "first"));
}

TEST(Day_Log, DeleteMovesLaterRecordsDownAndKeepsTheDayRow)
{
    Day_Log log = Log_Of({"day", "unassigned", "user"});
    log.Delete_Record(1);
    EXPECT_EQ(Work_Types(log), (std::vector<std::string>{"day", "user"}));
    log.Delete_Record(0);
    log.Delete_Record(2);
    EXPECT_EQ(log.Size(), 2u);
    EXPECT_FALSE(log.Has_User_Rows());
}

}  // namespace
