#include <gtest/gtest.h>

#include <tuple>

#include "history/History_Access.h"
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

}  // namespace
