#include "history/History_Store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "history/History_Access.h"
#include "history/History_Export.h"
#include "History_Test_Support.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

History_Day Day(int day_of_month, long long worked, std::vector<Work_Type_Minutes> types)
{
    return {{2026, 11, day_of_month}, worked, std::move(types)};
}

class History_Store_Files : public ::testing::Test
{
protected:
    std::string Path() const { return Directory.File(History_Store_File_Name); }

    std::vector<History_Day> Stored_Days()
    {
        History_Store store(Path(), History_Store::Mode::Read);
        std::vector<History_Day> days;
        EXPECT_TRUE(store.Read_All_Days(days)) << store.Check().Detail;
        return days;
    }

    void Write_Good_Store(const std::vector<History_Day>& days)
    {
        std::string failure;
        ASSERT_TRUE(History_Store::Write_New(Path(), days, failure)) << failure;
    }

    Test_Temporary_Directory Directory;
};

}  // namespace

TEST_F(History_Store_Files, ReplacingADayKeepsItOnceAndKeepsTheOthers)
{
    Write_Good_Store({Day(2, 480, {{"Coding", 480}}), Day(3, 300, {{"Meeting", 60}, {"Coding", 240}})});
    for (int round = 0; round < 3; ++round)
    {
        History_Store store(Path(), History_Store::Mode::Read_Write);
        ASSERT_EQ(store.Check().State, History_Store_State::Ready) << store.Check().Detail;
        std::string failure;
        ASSERT_TRUE(store.Replace_Day(Day(3, 310, {{"Review", 310}}), failure)) << failure;
        ASSERT_TRUE(store.Replace_Day(Day(4, 60, {{"\x8a" "kolen\xed", 60}}), failure)) << failure;  // CP1250 bytes
    }
    EXPECT_EQ(Stored_Days(), (std::vector<History_Day>{Day(2, 480, {{"Coding", 480}}), Day(3, 310, {{"Review", 310}}),
                                                       Day(4, 60, {{"\x8a" "kolen\xed", 60}})}));
}

// Every way the file can be unusable is named, and a rebuild replaces what can be replaced.
TEST_F(History_Store_Files, EachDamagedStoreIsNamedAndRebuildReplacesIt)
{
    const std::vector<History_Day> days{Day(2, 480, {{"Coding", 480}})};
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Missing);

    Directory.Write(History_Store_File_Name, std::string(5000, 'x'));
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Damaged);
    Write_Good_Store(days);
    EXPECT_EQ(Stored_Days(), days);

    // Cut in the middle of its pages.
    Write_Good_Store(std::vector<History_Day>(1, days[0]));
    {
        std::vector<History_Day> many;
        for (int day = 1; day <= 30; ++day) many.push_back(Day(day, day, {{std::string(300, char('a' + day % 26)), day}}));
        Write_Good_Store(many);
    }
    const std::uintmax_t size = std::filesystem::file_size(Path());
    std::filesystem::resize_file(Path(), size / 2);
    const History_Store_Check truncated = Check_History_Store(Path());
    EXPECT_EQ(truncated.State, History_Store_State::Damaged) << truncated.Detail;
    EXPECT_NE(truncated.Detail.find(Path()), std::string::npos);

    // Someone else's database.
    std::filesystem::remove(Path());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE days (x); INSERT INTO days VALUES (1)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Damaged);

    Write_Good_Store(days);
    ::chmod(Path().c_str(), 0444);
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Read_Only);
    EXPECT_EQ(History_Store(Path(), History_Store::Mode::Read_Write).Check().State, History_Store_State::Read_Only);
    EXPECT_EQ(Stored_Days(), days);  // still read

    std::filesystem::remove(Path());
    std::filesystem::create_directory(Path());
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Directory);
    std::string failure;
    EXPECT_FALSE(History_Store::Write_New(Path(), days, failure));
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
    EXPECT_NE(failure.find("directory"), std::string::npos) << failure;
}

// Another process in the middle of a write: readers read what was committed before it;
// the export and the rebuild wait a moment, then go on without the database and say why.
// A process that holds the whole file keeps the readers out as well.
TEST_F(History_Store_Files, StoreLockedByAnotherProcessIsNamedAndLeftAlone)
{
    Write_Good_Store({Day(2, 480, {{"Coding", 480}})});
    {
        Store_Lock_Holder holder(Path());
        ASSERT_TRUE(holder.Locked);
        EXPECT_EQ(Stored_Days().size(), 1u);
        {
            History_Store store(Path(), History_Store::Mode::Read_Write);
            std::string failure;
            EXPECT_FALSE(store.Replace_Day(Day(3, 60, {}), failure));
            EXPECT_EQ(store.Check().State, History_Store_State::Locked) << failure;
            EXPECT_NE(failure.find("locked"), std::string::npos) << failure;
        }
        std::string failure;
        EXPECT_FALSE(History_Store::Write_New(Path(), {}, failure));
        EXPECT_NE(failure.find("locked"), std::string::npos) << failure;
    }
    {
        Store_Lock_Holder holder(Path(), Store_Lock_Holder::Hold::Whole_File);
        ASSERT_TRUE(holder.Locked);
        EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Locked);
        EXPECT_EQ(History_Store(Path(), History_Store::Mode::Read_Write).Check().State, History_Store_State::Locked);
        std::string failure;
        EXPECT_FALSE(History_Store::Write_New(Path(), {}, failure));
        EXPECT_NE(failure.find("locked"), std::string::npos) << failure;
    }
    EXPECT_EQ(Stored_Days().size(), 1u);  // untouched
}
