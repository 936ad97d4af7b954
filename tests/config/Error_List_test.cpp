#include "config/Error_List.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/Fake_Clock.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

using Names = std::vector<std::string>;

TEST(Error_List, LinesTakeTheTimeWhenTheyAreAdded)
{
    Fake_Clock clock(Date_Time{2026, 3, 5, 14, 5, 9});
    Error_List list(clock, "HH:mm:ss");
    list.Add(" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual");
    clock.Advance_Minutes(61);
    list.Add(" - CHECK_FILE_AVAILABILITY - missing 2 file(s)");
    list.Add_Bare("Skin/Button.bmp");
    list.Add_Bare("");
    EXPECT_EQ(list.Lines(), (Names{"14:05:09 - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual",
                                   "15:06:09 - CHECK_FILE_AVAILABILITY - missing 2 file(s)", "Skin/Button.bmp", ""}));
    Error_List twelve_hour(clock, "h:mm:ss AP");
    twelve_hour.Add("x");
    EXPECT_EQ(twelve_hour.Lines(), Names{"3:06:09 PMx"});
}

TEST(Error_Log, WritesEachLineWithCrLfReplacingTheFileOrFailsWithoutHarm)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("Error_Log.log");
    directory.Write("Error_Log.log", std::string(5000, 'o'));
    ASSERT_TRUE(Write_Error_Log(path, {}));
    EXPECT_EQ(directory.Read("Error_Log.log"), "");
    const std::string czech = "14:05:09 - Display_Message_Dialog - nebyl nalezen soubor se zdrojem pozad\xED";
    ASSERT_TRUE(Write_Error_Log(path, {czech, "", "name"}));
    EXPECT_EQ(directory.Read("Error_Log.log"), czech + "\r\n\r\nname\r\n");

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(Write_Error_Log(path, {"new"}));
    EXPECT_EQ(directory.Read("Error_Log.log"), czech + "\r\n\r\nname\r\n");
    EXPECT_FALSE(Write_Error_Log(directory.File("missing/Error_Log.log"), {"new"}));
    EXPECT_FALSE(Write_Error_Log(directory.Path(), {"new"}));
}

TEST(File_List, AnyLineEndSeparatesNamesAndTheStatusTellsMissingEmptyAndOverlongApart)
{
    Test_Temporary_Directory directory;
    Names names{"stale"};
    const auto read = [&](const std::string& bytes) {
        directory.Write("File_List", bytes);
        return Read_File_List(directory.File("File_List"), names);
    };
    const std::pair<std::string, Names> lists[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nSkin/b.bmp\r\n", {"a", "", "Skin/b.bmp"}},
        {"a\n\r", {"a", ""}},  // LF then CR alone: an empty name between them
        {" spaced name \r\n", {" spaced name "}},
        {"\r\n", {""}},  // one empty name, which the check reports missing
    };
    for (const auto& [bytes, expected] : lists)
    {
        EXPECT_EQ(read(bytes), File_List_Status::Read);
        EXPECT_EQ(names, expected);
    }
    EXPECT_EQ(Read_File_List(directory.File("none"), names), File_List_Status::Missing);
    EXPECT_EQ(Read_File_List(directory.Path(), names), File_List_Status::Missing);
    EXPECT_EQ(read(""), File_List_Status::Empty);
    EXPECT_TRUE(names.empty());

    std::string list;
    for (int index = 0; index < 256; ++index) list += "f" + std::to_string(index) + "\r\n";
    EXPECT_EQ(read(list), File_List_Status::Read);
    EXPECT_EQ(names.size(), 256u);
    EXPECT_EQ(read(list + "last"), File_List_Status::Too_Long);
}

TEST(File_Availability, OnlyRegularFilesCountAndMissingNamesKeepTheirSpelling)
{
    Test_Temporary_Directory directory;
    std::filesystem::create_directory(directory.File("Skin"));
    directory.Write("Czech.lng", "x");
    directory.Write("Skin/Button.bmp", "x");
    std::filesystem::create_symlink(directory.File("Czech.lng"), directory.File("Link.lng"));

    Names missing;
    EXPECT_TRUE(Check_File_Availability(directory.Path(),
                                        {"Czech.lng", "Skin/Button.bmp", "Skin\\Button.bmp", "Link.lng"}, missing));
    EXPECT_TRUE(missing.empty());
    EXPECT_FALSE(Check_File_Availability(
        directory.Path(), {"Skin", "", "Czech.lng", "czech.lng", "Skin/None.bmp", "Czech.lng "}, missing));
    EXPECT_EQ(missing, (Names{"Skin", "", "czech.lng", "Skin/None.bmp", "Czech.lng "}));

    // A Czech name: CP1250 in the list, the file system's own spelling on disk; a missing
    // one is reported as the list spells it.
    directory.Write("Skin/Pozad\xC3\xAD.bmp", "x");
    missing.clear();
    EXPECT_TRUE(Check_File_Availability(directory.Path(), {"Skin/Pozad\xED.bmp"}, missing));
    EXPECT_FALSE(Check_File_Availability(directory.Path(), {"Skin/\x8Atefan.bmp"}, missing));
    EXPECT_EQ(missing, (Names{"Skin/\x8Atefan.bmp"}));
}

}  // namespace
