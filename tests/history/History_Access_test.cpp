#include "history/History_Access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>

#include "History_Test_Support.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

std::string Block(const std::string& date, const std::string& minutes_text, const std::string& type)
{
    return "\r\nMonday;" + date + ";08:00 - 16:00;Celkem;" + minutes_text + ";\r\n;;;Office;00:00;\r\n;;;" + type +
           ";" + minutes_text + ";\r\n";
}

class History_Access : public ::testing::Test
{
protected:
    History_Access()
    {
        Settings.Program_Directory = Directory.Path();
        Settings.Target_Log_File_Name = Directory.File("Work_Log.csv");
        Settings.Format = {"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", "", "dd.MM.yyyy"};
    }

    History_Days Load() const { return History_Days::Load(Settings, History_Days::Missing_Store::Read_In); }

    std::vector<History_Day> Stored() const
    {
        History_Store store(Settings.Store_Path(), History_Store::Mode::Read);
        std::vector<History_Day> days;
        EXPECT_TRUE(store.Read_All_Days(days)) << store.Check().Detail;
        return days;
    }

    void Append(const std::string& text) const
    {
        std::ofstream(Settings.Target_Log_File_Name, std::ios::binary | std::ios::app) << text;
    }

    Test_Temporary_Directory Directory;
    History_Settings Settings;
};

}  // namespace

// Days appended and lines corrected by hand reach the report and the database; appended
// days are read from where the last reading ended.
TEST_F(History_Access, EditsOfTheTargetLogAreSeen)
{
    Directory.Write("Work_Log.csv", Block("07.12.2026", "08:00", "Coding"));
    ASSERT_EQ(Load().Days().size(), 1u);
    const std::uint64_t first_size = std::filesystem::file_size(Settings.Target_Log_File_Name);

    Append(Block("08.12.2026", "07:00", "Review"));
    std::uint64_t first_progress = 0;
    const History_Days appended =
        History_Days::Load(Settings, History_Days::Missing_Store::Read_In, [&](std::uint64_t done, std::uint64_t) {
            if (first_progress == 0) first_progress = done;
            return true;
        });
    ASSERT_EQ(appended.Days().size(), 2u);
    EXPECT_EQ(appended.Days()[1].By_Work_Type, (std::vector<Work_Type_Minutes>{{"Review", 420}}));
    EXPECT_GT(first_progress, first_size);  // only the new part was read
    EXPECT_EQ(Stored(), appended.Days());

    // A correction of the same length in the first day.
    std::string text = Directory.Read("Work_Log.csv");
    text.replace(text.find("Coding;08:00"), 12, "Coding;07:59");
    text.replace(text.find("Celkem;08:00"), 12, "Celkem;07:59");
    Directory.Write("Work_Log.csv", text);
    const History_Days corrected = Load();
    ASSERT_EQ(corrected.Days().size(), 2u);
    EXPECT_EQ(corrected.Days()[0].Worked_Minutes, 479);
    EXPECT_EQ(Stored(), corrected.Days());

    // Another computer's block of a stored date, appended: the date's blocks add up.
    Append("\r\nMonday;08.12.2026;18:00 - 19:00;Celkem;01:00;\r\n");
    const History_Days shared = Load();
    ASSERT_EQ(shared.Days().size(), 2u);
    EXPECT_EQ(shared.Days()[1].Worked_Minutes, 480);
    EXPECT_EQ(Stored(), shared.Days());

    // A day cut out by hand is gone from the history.
    Directory.Write("Work_Log.csv", Block("08.12.2026", "07:00", "Review"));
    EXPECT_EQ(Load().Days().size(), 1u);
}

// After the line pattern changed, the days written with the earlier one are still read: the
// database keeps each day's pattern and a rebuild tries all of them and the default.
TEST_F(History_Access, AChangedPatternLosesNoDay)
{
    Settings.Format.Line_Pattern = "%1:s|%3:s|%4:s|%5:s";
    Directory.Write("Work_Log.csv", "\r\n07.12.2026|Celkem|02:00|\r\n");
    ASSERT_EQ(Load().Days().size(), 1u);
    Settings.Format.Line_Pattern = "%1:s %3:s=%4:s";
    Append("\r\n08.12.2026 Celkem=01:00\r\n" + Block("09.12.2026", "03:00", "Coding") + "\r\nnone of them\r\n");
    const History_Rebuild_Result rebuilt = Rebuild_History_Store(Settings);
    ASSERT_TRUE(rebuilt.Written) << rebuilt.Failure;
    EXPECT_EQ(rebuilt.Reading.Days.size(), 3u);
    EXPECT_EQ(rebuilt.Reading.First_Left_Out_Line_Numbers, (std::vector<std::uint64_t>{10}));
    EXPECT_EQ(Stored().size(), 3u);
}

// A first reading that an export races past: the database holds what was read, and the day
// appended meanwhile comes in at the next load. A rebuild killed before its file took the
// name leaves a file that the next rebuild removes.
TEST_F(History_Access, NoDayIsLostToARaceAndLeftoversGo)
{
    Directory.Write("Work_Log.csv", Block("07.12.2026", "08:00", "Coding"));
    bool exported = false;
    const History_Days first =
        History_Days::Load(Settings, History_Days::Missing_Store::Read_In, [&](std::uint64_t, std::uint64_t) {
            if (!exported) Append(Block("08.12.2026", "07:00", "Review"));
            exported = true;
            return true;
        });
    EXPECT_TRUE(exported);
    EXPECT_FALSE(first.Days().empty());
    EXPECT_EQ(Load().Days().size(), 2u);
    EXPECT_EQ(Stored().size(), 2u);

    const std::string leftover = Settings.Store_Path() + ".new-Ab12Cd";
    const std::string running = Settings.Store_Path() + ".new-Ef34Gh";
    Directory.Write("Work_History.sqlite.new-Ab12Cd", "half");
    Directory.Write("Work_History.sqlite.new-Ef34Gh", "being written");
    const utimbuf long_ago{1, 1};
    ::utime(leftover.c_str(), &long_ago);
    ASSERT_TRUE(Rebuild_History_Store(Settings).Written);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_TRUE(std::filesystem::exists(running));
}
