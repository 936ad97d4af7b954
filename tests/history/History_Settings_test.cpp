#include <gtest/gtest.h>

#include <tuple>

#include "history/History_Access.h"
#include "history/History_Texts.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

// The command line reads the target log that the running program writes: the same keys,
// defaults and file names, and Setup.ini stays as it is.
TEST(History_Settings, TheCommandLineReadsTheSettingsAsTheProgramDoes)
{
    Test_Temporary_Directory directory;
    const Program_Paths paths(directory.Path());
    const Date_Time_Patterns patterns;

    History_Settings read = Read_History_Settings(paths, patterns);
    EXPECT_EQ(
        std::tuple(read.Target_Log_File_Name, read.Format.Line_Pattern, read.Format.Separator, read.Full_Time_Minutes),
        std::tuple(directory.File("Work_Log.csv"), "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", "", 480LL));

    const std::string content =
        "[Main_Setup]\r\nFirst_Start=1\r\nTarget_Log_File_Name=/data/V\xFDkaz \x80.csv\r\n"
        "Target_Log_File_Format=" +
        std::string(300, 'f') + "\r\nTarget_Log_File_Separator= -- \r\nFull_Time_Value=65986\r\n";
    directory.Write("Setup.ini", content);
    read = Read_History_Settings(paths, patterns);
    EXPECT_EQ(
        std::tuple(read.Target_Log_File_Name, read.Format.Line_Pattern, read.Format.Separator, read.Full_Time_Minutes),
        std::tuple("/data/V\xC3\xBDkaz \xE2\x82\xAC.csv", std::string(255, 'f'), "--", 450LL));
    EXPECT_EQ(directory.Read("Setup.ini"), content);
}

// [Report_Setup] is the user's: its work days and the days off in the file it names are
// read, and Setup.ini stays as it is; values that do not read keep the defaults.
TEST(History_Settings, ReportSetupGivesWorkDaysAndDaysOff)
{
    Test_Temporary_Directory directory;
    const Program_Paths paths(directory.Path());
    directory.Write("Days_Off.txt", "2026-12-24 \x8Atedr\xFD den\r\n2026-12-25\r\n");
    History_Settings read = Read_History_Settings(paths, Date_Time_Patterns{});
    EXPECT_EQ(read.Work_Days, Full_Time_Calendar{}.Work_Days);
    EXPECT_EQ(read.Days_Off, (std::vector<Calendar_Date>{{2026, 12, 24}, {2026, 12, 25}}));

    const std::string content =
        "[Main_Setup]\r\nFull_Time_Value=420\r\n[Report_Setup]\r\nWork_Days=1,2,3,4,6\r\n"
        "Days_Off_File_Name=Volno.txt\r\n";
    directory.Write("Setup.ini", content);
    directory.Write("Volno.txt", "2027-01-01\n");
    read = Read_History_Settings(paths, Date_Time_Patterns{});
    EXPECT_EQ(read.Calendar().Target_Of({2026, 12, 12}), 420);  // a Saturday
    EXPECT_EQ(read.Calendar().Target_Of({2026, 12, 11}), 0);    // a Friday
    EXPECT_EQ(read.Days_Off, (std::vector<Calendar_Date>{{2027, 1, 1}}));
    EXPECT_EQ(directory.Read("Setup.ini"), content);

    directory.Write("Setup.ini", "[Report_Setup]\r\nWork_Days=Monday\r\n");
    EXPECT_EQ(Read_History_Settings(paths, Date_Time_Patterns{}).Work_Days, Full_Time_Calendar{}.Work_Days);
}

// A record without a work type counts under a name of the language file's own, or the
// built-in one of its language.
TEST(History_Settings, TheEmptyWorkTypeIsNamedFromTheLanguageFile)
{
    Test_Temporary_Directory directory;
    EXPECT_EQ(No_Work_Type_Name(directory.File("Czech.lng")), "(bez typu)");
    EXPECT_EQ(No_Work_Type_Name(directory.File("English.lng")), "(no type)");
    directory.Write("Mine.lng", "[Work_History]\r\n1=(nic)\r\n");
    EXPECT_EQ(No_Work_Type_Name(directory.File("Mine.lng")), "(nic)");
    for (const char* shipped : {"Czech.lng", "English.lng"})
        EXPECT_NE(No_Work_Type_Name(std::string(ZL_SOURCE_DATA_DIR) + "/" + shipped).find('('), std::string::npos);
    EXPECT_EQ(Read_History_Settings(Program_Paths(directory.Path()), Date_Time_Patterns{}).No_Work_Type_Name,
              "(bez typu)");
}

}  // namespace
