// Files a user can put beside the program: one past the size limit is one that cannot be
// read, and a language file whose texts cannot be used is explained in the protocol.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "config/Error_List.h"
#include "config/Language_File.h"
#include "config/Program_Paths.h"
#include "config/Settings_File.h"
#include "config/Setup_Ini_Problem.h"
#include "config/Work_Type_List.h"
#include "platform/Posix_File.h"
#include "support/Fake_Clock.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

const std::string Past_The_Limit(Configuration_File_Size_Limit, ';');

TEST(Configuration_File_Limits, FilesPastTheLimitReadAsUnreadable)
{
    Test_Temporary_Directory directory;
    const Program_Paths paths{directory.Path()};
    Fake_Clock time{Date_Time{2026, 3, 5, 14, 5, 9}};
    Error_List errors{time, "HH:mm:ss"};

    directory.Write("Work_Type_List", "Coding\r\n" + Past_The_Limit);
    EXPECT_TRUE(Read_Work_Type_List(paths, errors).empty());
    ASSERT_EQ(errors.Lines().size(), 1u);
    EXPECT_NE(errors.Lines()[0].find("OPEN_WORK_TYPE_LIST - UNEXPECTED_ERROR - not possible to read file"),
              std::string::npos);

    directory.Write("Setup.ini", "[Main_Setup]\r\nFull_Time_Value=60\r\n" + Past_The_Limit);
    EXPECT_EQ(Read_Settings(paths).Full_Time_Value, Settings{}.Full_Time_Value);
    directory.Write("Setup.ini", "[Main_Setup]\r\nFull_Time_Value=60\r\n");
    EXPECT_EQ(Read_Settings(paths).Full_Time_Value, 60);
}

TEST(Configuration_File_Limits, ALanguageFileThatGivesNoTextsIsExplained)
{
    Test_Temporary_Directory directory;
    const auto problem = [&](const std::string& name) {
        return Language_File_Problem(directory.File(name)).value_or("usable");
    };
    const std::string keys = ", the texts show their keys";
    directory.Write("Czech.lng", "[Main_Form]\r\n1=Přidat\r\n");
    EXPECT_EQ(problem("Czech.lng"), "usable");
    directory.Write("Empty.lng", "");
    EXPECT_EQ(problem("Empty.lng"),
              " - OPEN_LANGUAGE_FILE - INVALID_FILE - file " + directory.File("Empty.lng") + " is empty" + keys);
    ASSERT_EQ(::mkfifo(directory.File("Fifo.lng").c_str(), 0600), 0);
    EXPECT_EQ(problem("Fifo.lng"),
              " - OPEN_LANGUAGE_FILE - INVALID_FILE - " + directory.File("Fifo.lng") + " is not a regular file" + keys);
}

TEST(Configuration_File_Limits, ASetupFileThatHidesTheSettingsIsExplainedAndAMissingOneIsNot)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("Setup.ini");
    const std::string defaults = ", the settings take their defaults";
    EXPECT_EQ(Setup_Ini_Problem(path), std::nullopt);
    directory.Write("Setup.ini", "[Main_Setup]\r\n");
    EXPECT_EQ(Setup_Ini_Problem(path), std::nullopt);
    directory.Write("Setup.ini", Past_The_Limit + ";");
    EXPECT_EQ(Setup_Ini_Problem(path),
              " - OPEN_SETUP_FILE - FILE_TOO_LARGE - file " + path + " is larger than 1048576 bytes" + defaults);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(Setup_Ini_Problem(path), " - OPEN_SETUP_FILE - INVALID_FILE - " + path + " is a directory" + defaults);
}

}  // namespace
