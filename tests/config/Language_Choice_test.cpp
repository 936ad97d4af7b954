// The first start's language comes from the locale and is kept in Setup.ini; later starts
// and other folders leave Setup.ini's choice alone; the choice lists the files present.
#include "config/Language_Choice.h"

#include <gtest/gtest.h>

#include "support/Test_Temporary_Directory.h"

TEST(Language_Choice, TheFirstSetLocaleVariableDecides)
{
    EXPECT_EQ(Language_File_For_Locale({"", "", "cs_CZ.UTF-8"}), "Czech.lng");
    EXPECT_EQ(Language_File_For_Locale({"", "", "en_US.UTF-8"}), "English.lng");
    EXPECT_EQ(Language_File_For_Locale({"C.UTF-8", "cs_CZ.UTF-8", "cs_CZ.UTF-8"}), "English.lng");
    EXPECT_EQ(Language_File_For_Locale({"", "cs_CZ", "en_GB.UTF-8"}), "Czech.lng");
    EXPECT_EQ(Language_File_For_Locale({"", "", ""}), "English.lng");
}

TEST(Language_Choice, OnlyAFirstStartWithoutAChoiceIsRecordedOnce)
{
    Test_Temporary_Directory folder;
    folder.Write("Czech.lng",
                 "[Language]\r\nName=\xC8"
                 "e\x9A"
                 "tina\r\n");
    folder.Write("English.lng", "[Day_Names]\r\n1=Sunday\r\n");
    const Program_Paths paths(folder.Path());
    const Locale_Environment english{"", "", "en_US.UTF-8"};

    // No Setup.ini: the locale's file, written into a new Setup.ini.
    EXPECT_EQ(Language_File_Name_For_Start(paths, english), "English.lng");
    ASSERT_TRUE(Record_First_Start_Language(paths, english));
    EXPECT_EQ(folder.Read("Setup.ini"), "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\n");
    // Later the file decides, whatever the locale.
    EXPECT_EQ(Language_File_Name_For_Start(paths, {"", "", "cs_CZ.UTF-8"}), "English.lng");

    // The installed Setup.ini's marker is a first start too; a user's file without the key is not.
    folder.Write("Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\n");
    EXPECT_EQ(First_Start_Language_File(paths, english), "English.lng");
    folder.Write("Setup.ini", "[Main_Setup]\r\nFull_Time_Value=480\r\n");
    EXPECT_EQ(First_Start_Language_File(paths, english), "");
    EXPECT_EQ(Language_File_Name_For_Start(paths, english), "Czech.lng");

    // A folder without the locale's file keeps the program's default.
    ::unlink(folder.File("English.lng").c_str());
    ::unlink(folder.File("Setup.ini").c_str());
    EXPECT_EQ(First_Start_Language_File(paths, english), "Czech.lng");
}

TEST(Language_Choice, TheLanguageFilesPresentByTheirOwnNames)
{
    Test_Temporary_Directory folder;
    folder.Write("Czech.lng",
                 "[Language]\r\nName=\xC8"
                 "e\x9A"
                 "tina\r\n");
    folder.Write("Slovak.lng",
                 "[Day_Names]\r\n1=Nede\xBE"
                 "a\r\n");
    folder.Write("Czech.lng.bak", "");
    ASSERT_EQ(::mkdir(folder.File("Folder.lng").c_str(), 0700), 0);
    const std::vector<Language_File_Entry> files = Available_Language_Files(Program_Paths(folder.Path()));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].File_Name, "Czech.lng");
    EXPECT_EQ(files[0].Name,
              "\xC8"
              "e\x9A"
              "tina");
    EXPECT_EQ(files[1].File_Name, "Slovak.lng");
    EXPECT_EQ(files[1].Name, "Slovak");
}
