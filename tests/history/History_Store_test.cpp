#include "history/History_Store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <thread>

#include "History_Test_Support.h"
#include "history/History_Access.h"
#include "history/History_Export.h"
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

    void Replace(const History_Day& day)
    {
        History_Store store(Path(), History_Store::Mode::Read_Write);
        std::string failure;
        ASSERT_TRUE(store.Replace_Day(day, failure)) << failure;
    }

    // A writer killed right after its transaction, before it could close the database.
    void Replace_And_Get_Killed(const History_Day& day)
    {
        int done[2] = {-1, -1};
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        if (child == 0)
        {
            History_Store store(Path(), History_Store::Mode::Read_Write);
            std::string failure;
            const char byte = store.Replace_Day(day, failure) ? '1' : '0';
            (void)!::write(done[1], &byte, 1);
            ::pause();
            ::_exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(done[0], &byte, 1), 1);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(done[0]);
        ::close(done[1]);
        ASSERT_EQ(byte, '1');
    }

    // Each file of the folder with its size and last change.
    std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> Folder_State() const
    {
        std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> state;
        for (const auto& entry : std::filesystem::directory_iterator(Directory.Path()))
            state[entry.path().filename().string()] = {entry.file_size(), entry.last_write_time()};
        return state;
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
        ASSERT_TRUE(store.Replace_Day(Day(4, 60,
                                          {{"\x8a"
                                            "kolen\xed",
                                            60}}),
                                      failure))
            << failure;  // CP1250 bytes
    }
    EXPECT_EQ(Stored_Days(), (std::vector<History_Day>{Day(2, 480, {{"Coding", 480}}), Day(3, 310, {{"Review", 310}}),
                                                       Day(4, 60,
                                                           {{"\x8a"
                                                             "kolen\xed",
                                                             60}})}));
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
        for (int day = 1; day <= 30; ++day)
            many.push_back(Day(day, day, {{std::string(300, char('a' + day % 26)), day}}));
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
    ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE days (x); INSERT INTO days VALUES (1)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Damaged);

    // Ours, but with minutes no day can hold: summed up they would overflow the report.
    for (const char* change : {"UPDATE days SET worked_minutes = 9223372036854775807",
                               "UPDATE day_work_types SET minutes = -9223372036854775807 - 1"})
    {
        Write_Good_Store(days);
        ASSERT_EQ(sqlite3_open(Path().c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, change, nullptr, nullptr, nullptr), SQLITE_OK) << change;
        sqlite3_close(other);
        History_Store store(Path(), History_Store::Mode::Read);
        std::vector<History_Day> read;
        EXPECT_FALSE(store.Read_All_Days(read)) << change;
        EXPECT_TRUE(read.empty()) << change;
        EXPECT_EQ(store.Check().State, History_Store_State::Damaged) << change;
    }
    std::filesystem::remove(Path());

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

// A writer killed after its transaction leaves the day in the log, and the next reader or
// writer finds it there. A rebuild, whether the old file stands or is gone, never lets the
// old log or its index into the new file.
TEST_F(History_Store_Files, KilledWritersLogCountsButNeverComesIntoARebuiltFile)
{
    const std::vector<History_Day> old_days{Day(2, 480, {{"Coding", 480}}), Day(3, 300, {{"Meeting", 300}})};
    const std::vector<History_Day> new_days{Day(9, 60, {{"Review", 60}})};
    for (const bool old_file_removed : {false, true})
    {
        Write_Good_Store(old_days);
        Replace_And_Get_Killed(Day(4, 120, {{"Support", 120}}));
        ASSERT_TRUE(std::filesystem::exists(Path() + "-wal"));
        EXPECT_EQ(Stored_Days().size(), 3u);
        Replace(Day(5, 30, {{"Writing", 30}}));
        Replace_And_Get_Killed(Day(6, 45, {{std::string(300, 'w'), 45}}));
        EXPECT_EQ(Stored_Days().size(), 5u);

        if (old_file_removed) std::filesystem::remove(Path());
        Write_Good_Store(new_days);
        EXPECT_EQ(Stored_Days(), new_days) << old_file_removed;
        Replace(Day(10, 15, {{"Office", 15}}));
        EXPECT_EQ(Stored_Days(), (std::vector<History_Day>{new_days[0], Day(10, 15, {{"Office", 15}})}))
            << old_file_removed;
        EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Ready);
    }
}

// Readers create and change no file: not the log's index, not a log that is gone, not an
// index that is missing (whose log they then cannot read, and say so).
TEST_F(History_Store_Files, ReadersOfTheLogChangeNoFile)
{
    Write_Good_Store({Day(2, 480, {{"Coding", 480}})});
    Replace(Day(3, 60, {{"Meeting", 60}}));
    auto before = Folder_State();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a change would show in the times
    EXPECT_EQ(Stored_Days().size(), 2u);
    EXPECT_EQ(Check_History_Store(Path()).State, History_Store_State::Ready);
    EXPECT_EQ(Folder_State(), before);

    std::filesystem::remove(Path() + "-shm");
    before = Folder_State();
    const History_Store_Check without_index = Check_History_Store(Path());
    EXPECT_EQ(without_index.State, History_Store_State::Unopenable);
    EXPECT_NE(without_index.Detail.find(Path() + "-shm"), std::string::npos) << without_index.Detail;
    EXPECT_EQ(Folder_State(), before);

    // Another program folds the log in and removes it as it closes.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "SELECT count(*) FROM days", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    ASSERT_FALSE(std::filesystem::exists(Path() + "-wal"));
    before = Folder_State();
    EXPECT_EQ(Stored_Days().size(), 2u);
    EXPECT_EQ(Folder_State(), before);
}

// A reader and a writer of this process take turns: a reader's read-only view of the log's
// index would otherwise make the writer beside it fail.
TEST_F(History_Store_Files, ReaderAndWriterOfOneProcessTakeTurns)
{
    Write_Good_Store({Day(2, 480, {{"Coding", 480}})});
    std::promise<void> reading;
    std::thread reader([&] {
        History_Store store(Path(), History_Store::Mode::Read);
        std::vector<History_Day> days;
        EXPECT_TRUE(store.Read_All_Days(days));
        reading.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    reading.get_future().wait();
    Replace(Day(3, 60, {{"Meeting", 60}}));
    reader.join();
    EXPECT_EQ(Stored_Days().size(), 2u);
}

// The checkpoint at the end of a day moves the log into the database file, and only once
// the log has grown; the log then begins afresh with a single page.
TEST_F(History_Store_Files, CheckpointWhenDueMovesTheLogIntoTheFile)
{
    std::vector<History_Day> days{Day(1, 480, {{"Coding", 480}})};
    Write_Good_Store(days);
    const Program_Paths paths(Directory.Path());
    const auto file_alone_days = [&] {
        const std::string copy = Directory.File("copy.sqlite");
        std::filesystem::copy_file(Path(), copy, std::filesystem::copy_options::overwrite_existing);
        History_Store store(copy, History_Store::Mode::Read);
        std::vector<History_Day> read;
        EXPECT_TRUE(store.Read_All_Days(read)) << store.Check().Detail;
        return read.size();
    };
    for (int day = 2; day <= 4; ++day)
    {
        days.push_back(Day(day, day, {{"Review", day}}));
        Replace(days.back());
    }
    Checkpoint_History_When_Due(paths);
    EXPECT_EQ(file_alone_days(), 1u);  // a short log stays as it is

    for (int day = 5; day <= 28; ++day)
    {
        days.push_back(Day(day, day, {{std::string(600, char('a' + day % 26)), day}}));
        Replace(days.back());
    }
    ASSERT_GT(std::filesystem::file_size(Path() + "-wal"), 128u * 1024u);
    Checkpoint_History_When_Due(paths);
    EXPECT_LE(std::filesystem::file_size(Path() + "-wal"), 32u + 24u + 4096u);
    EXPECT_EQ(file_alone_days(), days.size());
    EXPECT_EQ(Stored_Days(), days);
}
