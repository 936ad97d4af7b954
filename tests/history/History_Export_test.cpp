#include "history/History_Export.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "History_Test_Support.h"
#include "history/History_Access.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Start.h"
#include "worklog/Work_Log_Test_Support.h"

namespace
{

// Friday 4.12.2026 as the day log stores it; the clock says Monday 7.12.
const std::vector<Work_Record> Past_Day{Make_Record("Friday", "04.12.2026", "08:00 - 16:10", "Celkem", "08:10", ""),
                                        Make_Record("", "", "", "Office", "00:40", ""),
                                        Make_Record("", "", "", "Coding", "05:30", "a; b"),
                                        Make_Record("", "", "", "Meeting", "02:00", "")};

const History_Day Past_History_Day{{2026, 12, 4}, 490, {{"Office", 40}, {"Coding", 330}, {"Meeting", 120}}};
const History_Day Earlier_Day{{2026, 12, 3}, 480, {{"DEFAULT", 480}}};

class History_Export : public Work_Log_Test
{
protected:
    History_Export() { Start_Up.Display_Start_Splash_Screen = false; }

    std::string Store_Path() const { return Paths.File(History_Store_File_Name); }
    History_Settings Settings_Of_History() const { return History_Settings_From(Paths, Program_Settings, Patterns); }

    void Write_Store(const std::vector<History_Day>& days)
    {
        std::string failure;
        ASSERT_TRUE(History_Store::Write_New(Store_Path(), days, failure)) << failure;
    }

    std::vector<History_Day> Stored_Days()
    {
        History_Store store(Store_Path(), History_Store::Mode::Read);
        std::vector<History_Day> days;
        EXPECT_TRUE(store.Read_All_Days(days)) << store.Check().Detail;
        return days;
    }

    Load_Day_Log_Result Start()
    {
        Day_Log log;
        return Load_Day_Log(Context, log, Record_Exported_Day_In_History);
    }
};

}  // namespace

TEST_F(History_Export, ExportedDayGoesIntoTheStoreOnceHoweverOftenItIsExported)
{
    Write_Store({Earlier_Day});
    for (int start = 0; start < 3; ++start)
    {
        Store_Records(Past_Day);  // as if the start before had been killed after its export
        EXPECT_EQ(Start().Outcome, Day_Log_Outcome::Past_Day);
    }
    EXPECT_EQ(Stored_Days(), (std::vector<History_Day>{Earlier_Day, Past_History_Day}));
    EXPECT_EQ(Lines().back(), " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + Target());
}

// The first report reads the whole target log, so the export does not start a database
// that would hold this day only.
TEST_F(History_Export, MissingStoreStaysMissingAndTheProtocolUnchanged)
{
    Store_Records(Past_Day);
    EXPECT_EQ(Start().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_FALSE(std::filesystem::exists(Store_Path()));
    EXPECT_EQ(Lines().back(), " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + Target());
}

// Whatever is wrong with the database, the day is exported and the new day begins; the
// protocol names the fault; the report still has the day from the target log.
TEST_F(History_Export, DamagedStoreNeverStopsTheExport)
{
    // What the protocol names, and whether opening or only writing finds it.
    const std::vector<std::pair<std::string, std::function<void()>>> damages{
        {"OPEN - DATABASE_DAMAGED",
         [&] {
             Write(Store_Path(), std::string(3000, '\x17'));
         }},
        {"WRITE - DATABASE_DAMAGED",
         [&] {
             std::vector<History_Day> many;
             for (int day = 1; day <= 28; ++day) many.push_back({{2025, 2, day}, day, {{std::string(250, 'x'), day}}});
             Write_Store(many);
             std::filesystem::resize_file(Store_Path(), std::filesystem::file_size(Store_Path()) / 2);
         }},
        {"OPEN - ERROR_ACCESS_DENIED",
         [&] {
             Write_Store({Earlier_Day});
             Make_Read_Only(Store_Path());
         }},
        {"OPEN - ERROR_DIRECTORY",
         [&] {
             std::filesystem::create_directory(Store_Path());
         }},
    };
    for (const auto& [code, damage] : damages)
    {
        std::filesystem::remove_all(Store_Path());
        std::filesystem::remove(Target());
        damage();
        Store_Records(Past_Day);
        const std::size_t first_line = Errors.Lines().size();
        const Load_Day_Log_Result result = Start();
        EXPECT_EQ(result.Outcome, Day_Log_Outcome::Past_Day) << code;
        EXPECT_FALSE(result.Terminate_Requested) << code;
        ASSERT_EQ(Errors.Lines().size(), first_line + 3) << code;
        EXPECT_NE(Lines().back().find(" - SAVE_WORK_HISTORY - " + code + " - "), std::string::npos) << Lines().back();
        EXPECT_NE(Lines().back().find("history database " + Store_Path()), std::string::npos) << Lines().back();
        const History_Days days =
            History_Days::Load(Settings_Of_History(), History_Days::Missing_Store::Read_In_Memory_Only);
        EXPECT_NE(days.Store().State, History_Store_State::Ready) << code;
        const auto exported = std::find_if(days.Days().begin(), days.Days().end(),
                                           [](const History_Day& day) { return day.Date == Past_History_Day.Date; });
        ASSERT_NE(exported, days.Days().end()) << code;
        EXPECT_EQ(*exported, Past_History_Day) << code;
    }

    // Locked by another process: the start waits a moment, then goes on. The database is not
    // this program's to remove while another holds it; the next report sees the target log
    // past what the database read, and reads the day in.
    for (const auto& [step, hold] :
         {std::pair{"WRITE", Store_Lock_Holder::Hold::Writing}, std::pair{"OPEN", Store_Lock_Holder::Hold::Whole_File}})
    {
        std::filesystem::remove_all(Store_Path());
        std::filesystem::remove(Target());
        Write_Store({Earlier_Day});
        Store_Records(Past_Day);
        {
            Store_Lock_Holder holder(Store_Path(), hold);
            ASSERT_TRUE(holder.Locked);
            EXPECT_EQ(Start().Outcome, Day_Log_Outcome::Past_Day);
            EXPECT_NE(
                Lines().back().find(std::string(" - SAVE_WORK_HISTORY - ") + step + " - ERROR_SHARING_VIOLATION - "),
                std::string::npos)
                << Lines().back();
            EXPECT_NE(Lines().back().find("database was left in place"), std::string::npos) << Lines().back();
        }
        EXPECT_TRUE(std::filesystem::exists(Store_Path())) << step;
        const History_Days days = History_Days::Load(Settings_Of_History(), History_Days::Missing_Store::Read_In);
        EXPECT_EQ(days.Store().State, History_Store_State::Ready) << step;
        EXPECT_EQ(Stored_Days(), std::vector<History_Day>{Past_History_Day}) << step;
    }

    // A FIFO where the database belongs is nobody's database: it stays.
    std::filesystem::remove_all(Store_Path());
    ASSERT_EQ(::mkfifo(Store_Path().c_str(), 0600), 0);
    Store_Records(Past_Day);
    EXPECT_EQ(Start().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_NE(Lines().back().find("not a regular file"), std::string::npos) << Lines().back();
    EXPECT_TRUE(std::filesystem::is_fifo(Store_Path()));
}

// kill -9 at any instant of a start that exports: after the next start the database holds
// the day exactly as the target log does, once.
TEST_F(History_Export, KilledExportLeavesEachDayOnceAfterTheNextStart)
{
    const auto run_start_in_child = [&](std::chrono::microseconds kill_after) {
        const pid_t child = ::fork();
        if (child == 0)
        {
            Day_Log log;
            Load_Day_Log(Context, log, Record_Exported_Day_In_History);
            ::_exit(0);
        }
        if (kill_after.count() >= 0)
        {
            std::this_thread::sleep_for(kill_after);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    };
    // How long a whole start takes here, to spread the kills over it.
    Write_Store({Earlier_Day});
    Store_Records(Past_Day);
    const auto begin = std::chrono::steady_clock::now();
    run_start_in_child(std::chrono::microseconds(-1));
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begin);
    ASSERT_EQ(Stored_Days().size(), 2u);

    constexpr int Kills = 24;
    for (int attempt = 0; attempt <= Kills; ++attempt)
    {
        std::filesystem::remove(Target());
        std::filesystem::remove(Store_Path());
        Write_Store({Earlier_Day});
        Store_Records(Past_Day);
        run_start_in_child(whole * attempt / Kills);
        Start();  // the next start: exports again when the killed one had not finished

        std::string target_text;
        ASSERT_TRUE(Read_Whole_File(Target(), target_text));
        const Target_Log_Reading reading = Read_Target_Log_Text(target_text, Settings_Of_History().Format);
        EXPECT_EQ(reading.Days, std::vector<History_Day>{Past_History_Day}) << attempt;
        EXPECT_EQ(Stored_Days(), (std::vector<History_Day>{Earlier_Day, Past_History_Day})) << "kill " << attempt;
    }
}
