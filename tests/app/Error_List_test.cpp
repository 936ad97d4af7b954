#include "app/Error_List.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Test_Temporary_Directory.h"

namespace
{

Date_Time Fourteen_Oh_Five()
{
    Date_Time value;
    value.Year = 2026;
    value.Month = 3;
    value.Day = 5;
    value.Hour = 14;
    value.Minute = 5;
    value.Second = 9;
    return value;
}

TEST(Error_List, LinesTakeTheTimeWhenTheyAreAdded)
{
    Fake_Clock clock(Fourteen_Oh_Five());
    Error_List list(clock, "HH:mm:ss");
    list.Add(" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual");
    clock.Advance_Minutes(61);
    list.Add(" - CHECK_FILE_AVAILABILITY - missing 2 file(s)");
    list.Add_Bare("Skin/Button.bmp");
    list.Add_Bare("");
    ASSERT_EQ(list.Lines().size(), 4u);
    EXPECT_EQ(list.Lines()[0], "14:05:09 - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual");
    EXPECT_EQ(list.Lines()[1], "15:06:09 - CHECK_FILE_AVAILABILITY - missing 2 file(s)");
    EXPECT_EQ(list.Lines()[2], "Skin/Button.bmp");
    EXPECT_EQ(list.Lines()[3], "");

    Error_List twelve_hour(clock, "h:mm:ss AP");
    twelve_hour.Add("x");
    EXPECT_EQ(twelve_hour.Lines()[0], "3:06:09 PMx");
}

TEST(Error_Log, WritesEachLineWithCrLfAndReplacesTheFile)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("Error_Log.log");
    directory.Write("Error_Log.log", std::string(5000, 'o'));
    ASSERT_TRUE(Write_Error_Log(path, {}));
    EXPECT_EQ(directory.Read("Error_Log.log"), "");
    const std::string czech = " - Display_Message_Dialog - nebyl nalezen soubor se zdrojem pozad\xED";
    ASSERT_TRUE(Write_Error_Log(path, {"14:05:09" + czech, "", "name"}));
    EXPECT_EQ(directory.Read("Error_Log.log"), "14:05:09" + czech + "\r\n\r\nname\r\n");
}

TEST(Error_Log, FailsOnReadOnlyFilesAndMissingDirectories)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("Error_Log.log");
    directory.Write("Error_Log.log", "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(Write_Error_Log(path, {"new"}));
    EXPECT_EQ(directory.Read("Error_Log.log"), "old\r\n");
    EXPECT_FALSE(Write_Error_Log(directory.File("missing/Error_Log.log"), {"new"}));
    std::filesystem::create_directory(directory.File("a_directory"));
    EXPECT_FALSE(Write_Error_Log(directory.File("a_directory"), {"new"}));
}

class File_List_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Directory;
    std::string Path = Directory.File("File_List");
    std::vector<std::string> Names{"stale"};

    File_List_Status Read(const std::string& bytes)
    {
        Directory.Write("File_List", bytes);
        return Read_File_List(Path, Names);
    }
};

TEST_F(File_List_Test, AnyLineEndSeparatesNames)
{
    ASSERT_EQ(Read("a\r\nb\nc\rd"), File_List_Status::Read);
    EXPECT_EQ(Names, (std::vector<std::string>{"a", "b", "c", "d"}));
    ASSERT_EQ(Read("a\r\n\r\nSkin/b.bmp\r\n"), File_List_Status::Read);
    EXPECT_EQ(Names, (std::vector<std::string>{"a", "", "Skin/b.bmp"}));
    ASSERT_EQ(Read("a\n\r"), File_List_Status::Read);  // LF then CR alone: an empty name between them
    EXPECT_EQ(Names, (std::vector<std::string>{"a", ""}));
    ASSERT_EQ(Read(" spaced name \r\n"), File_List_Status::Read);
    EXPECT_EQ(Names, (std::vector<std::string>{" spaced name "}));
}

TEST_F(File_List_Test, MissingEmptyAndOverlongListsAreToldApart)
{
    EXPECT_EQ(Read_File_List(Directory.File("none"), Names), File_List_Status::Missing);
    EXPECT_EQ(Read_File_List(Directory.Path(), Names), File_List_Status::Missing);
    EXPECT_EQ(Read(""), File_List_Status::Empty);
    EXPECT_TRUE(Names.empty());
    ASSERT_EQ(Read("\r\n"), File_List_Status::Read);  // one empty name, which the check reports missing
    EXPECT_EQ(Names, (std::vector<std::string>{""}));

    std::string list;
    for (int index = 0; index < 256; ++index) list += "f" + std::to_string(index) + "\r\n";
    EXPECT_EQ(Read(list), File_List_Status::Read);
    EXPECT_EQ(Names.size(), 256u);
    EXPECT_EQ(Read(list + "last"), File_List_Status::Too_Long);
}

TEST(File_Availability, OnlyRegularFilesCountAndMissingNamesKeepTheirSpelling)
{
    Test_Temporary_Directory directory;
    std::filesystem::create_directory(directory.File("Skin"));
    directory.Write("Czech.lng", "x");
    directory.Write("Skin/Button.bmp", "x");
    std::filesystem::create_symlink(directory.File("Czech.lng"), directory.File("Link.lng"));

    std::vector<std::string> missing;
    EXPECT_TRUE(Check_File_Availability(directory.Path(), {"Czech.lng", "Skin/Button.bmp", "Skin\\Button.bmp",
                                                           "Link.lng"},
                                        missing));
    EXPECT_TRUE(missing.empty());

    EXPECT_FALSE(Check_File_Availability(directory.Path(),
                                         {"Skin", "", "Czech.lng", "czech.lng", "Skin/None.bmp", "Czech.lng "},
                                         missing));
    EXPECT_EQ(missing, (std::vector<std::string>{"Skin", "", "czech.lng", "Skin/None.bmp", "Czech.lng "}));
}

}  // namespace
