#include "config/Start_Up_Checks.h"

#include <gtest/gtest.h>

#include "support/Fake_Clock.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

using Lines = std::vector<std::string>;

// A program directory with a protocol whose lines carry no time.
class Start_Up_Checks_Test : public ::testing::Test
{
protected:
    std::optional<std::string> Check() { return Check_Required_Files(Paths, Errors); }

    Test_Temporary_Directory Directory;
    Program_Paths Paths{Directory.Path()};
    Fake_Clock Clock{Date_Time{2026, 3, 5, 8, 0, 0}};
    Error_List Errors{Clock, ""};
};

TEST_F(Start_Up_Checks_Test, TheProtocolStartsEmpty)
{
    Directory.Write("Error_Log.log", "old run");
    EXPECT_FALSE(Create_Error_Log_File(Paths));
    EXPECT_EQ(Directory.Read("Error_Log.log"), "");
}

TEST_F(Start_Up_Checks_Test, AProtocolThatCannotBeWrittenNamesItsPath)
{
    const Program_Paths nowhere(Directory.File("missing/folder"));
    EXPECT_NE(Create_Error_Log_File(nowhere).value_or("").find(nowhere.File("Error_Log.log")), std::string::npos);
}

TEST_F(Start_Up_Checks_Test, AMissingFileListIsItselfTheMissingFile)
{
    EXPECT_TRUE(Check());
    EXPECT_EQ(Errors.Lines(), (Lines{" - CHECK_FILE_AVAILABILITY - missing 1 file(s)", "File_List"}));
}

TEST_F(Start_Up_Checks_Test, AnEmptyFileListProtectsNothing)
{
    Directory.Write("File_List", "");
    EXPECT_NE(Check().value_or("").find("names no file"), std::string::npos);
}

TEST_F(Start_Up_Checks_Test, MissingFilesAreNamedInListOrder)
{
    Directory.Write("File_List", "b\r\nFile_List\r\na\r\n");
    EXPECT_TRUE(Check());
    EXPECT_EQ(Errors.Lines(), (Lines{" - CHECK_FILE_AVAILABILITY - missing 2 file(s)", "b", "a"}));
}

TEST_F(Start_Up_Checks_Test, EveryListedFileThereIsNoFailure)
{
    Directory.Write("File_List", "File_List\r\n");
    EXPECT_FALSE(Check());
    EXPECT_TRUE(Errors.Lines().empty());
}

}  // namespace
