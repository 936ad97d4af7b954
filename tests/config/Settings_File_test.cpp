#include "config/Settings_File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/Test_Temporary_Directory.h"

namespace
{

// The values one reading gives, grouped so that a whole group compares at once.
auto Texts(const Settings& s, const Start_Up_Values& u)
{
    return std::tuple(s.Language_File_Path, s.Target_Log_File_Name, s.Target_Log_File_Format,
                      s.Target_Log_File_Separator, u.Default_Work_Type, u.Default_Remark);
}
auto Switches(const Settings& s, const Start_Up_Values& u)
{
    return std::tuple(u.First_Start, s.Form_Movement_Restrictions, u.Display_Start_Splash_Screen,
                      s.Display_Full_Time_Hint, s.Time_Scroll_Control, u.Minimize_To_Tray_After_Start,
                      s.Display_Zentavo_Overrange_Warning, s.Title_Bold, s.Header_Row_Text_Bold,
                      s.Default_Data_Row_Text_Bold, s.Focused_Data_Row_Text_Bold, u.Main_Form_Position_Read);
}
auto Numbers(const Settings& s)
{
    return std::tuple(int(s.Full_Time_Value), int(s.Time_Scroll_Resolution), s.Main_Form_Color, s.Title_Color,
                      s.Header_Row_Text_Color, s.Default_Data_Row_Text_Color, s.Focused_Data_Row_Text_Color,
                      int(s.Main_Form_Transparency), int(s.Main_Form_Anchor));
}
auto Positions(const Window_Positions& p)
{
    return std::tuple(p.Main_Form_Left, p.Main_Form_Top, int(p.Message_Dialog_Form_Left),
                      int(p.Message_Dialog_Form_Top), int(p.Setup_Form_Left), int(p.Setup_Form_Top),
                      int(p.Update_Record_Form_Left), int(p.Update_Record_Form_Top));
}

class Settings_File_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Directory;
    Program_Paths Paths{Directory.Path()};
    std::string Setup_Path = Directory.File("Setup.ini");
    Settings Read_Settings;
    Start_Up_Values Start_Up;

    void Read() { Read_Start_Up_Settings(Paths, Read_Settings, Start_Up); }
};

TEST_F(Settings_File_Test, WithoutSetupIniEveryDefaultApplies)
{
    Read();
    EXPECT_EQ(Texts(Read_Settings, Start_Up), std::tuple(Directory.File("Czech.lng"), Directory.File("Work_Log.csv"),
                                                         "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", "", "DEFAULT", ""));
    EXPECT_EQ(Switches(Read_Settings, Start_Up),
              std::tuple(false, false, true, true, true, false, true, false, false, false, false, true));
    EXPECT_EQ(Numbers(Read_Settings), std::tuple(480, 10, 0x0005C490u, 0u, 0x00FFFFFFu, 0u, 0u, 20, 0));
    EXPECT_EQ(Positions(Read_Settings), std::tuple(0, 0, 50, 50, 50, 50, 50, 50));
    EXPECT_FALSE(Read_Display_End_Splash_Screen(Setup_Path));
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 30);
    EXPECT_FALSE(std::filesystem::exists(Setup_Path));
}

TEST_F(Settings_File_Test, AHandEditedFileSetsEveryKey)
{
    std::filesystem::copy_file(std::string(ZL_TEST_DATA_DIR) + "/config/Setup_Every_Key.ini", Setup_Path);
    const std::string before = Directory.Read("Setup.ini");
    Read();
    EXPECT_EQ(Directory.Read("Setup.ini"), before);  // reading writes nothing
    const std::string work_type = "Programov\xE1n\xED";
    // The file name is CP1250 text in the file, the system's UTF-8 in memory.
    EXPECT_EQ(Texts(Read_Settings, Start_Up), std::tuple(Directory.File("English.lng"), "/home/user/V\xC3\xBDkaz.csv",
                                                         "%1:s;%3:s;%4:s", "----", work_type, "projekt A"));
    EXPECT_EQ(Switches(Read_Settings, Start_Up),
              std::tuple(false, true, false, false, false, true, false, true, true, true, true, true));
    EXPECT_EQ(Numbers(Read_Settings),
              std::tuple(450, 15, 0x00112233u, 0x000000FFu, 0x00800000u, 0x000000FFu, 0x0000FF00u, 100, 0));
    EXPECT_EQ(Positions(Read_Settings), std::tuple(1234, 567, 101, 102, 103, 104, 105, 106));
    EXPECT_TRUE(Read_Display_End_Splash_Screen(Setup_Path));
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 45);

    const Setup_Form_File_Values shown = Read_Setup_Form_File_Values(Setup_Path);
    EXPECT_EQ(std::tuple(shown.Default_Work_Type, shown.Default_Remark, shown.Display_Start_Splash_Screen,
                         shown.Display_End_Splash_Screen, shown.Display_Zentavo_Overrange_Warning,
                         shown.Minimize_To_Tray_After_Start),
              std::tuple(work_type, "projekt A", false, true, false, true));
    Settings live;
    Read_Back_Live_Settings(Setup_Path, live);
    EXPECT_EQ(std::tuple(live.Display_Full_Time_Hint, live.Form_Movement_Restrictions, int(live.Time_Scroll_Resolution),
                         int(live.Main_Form_Transparency)),
              std::tuple(false, true, 15, 100));
}

TEST_F(Settings_File_Test, FileNamesAreCp1250TextAndComeOutAsTheFileSystemNamesThem)
{
    Directory.Write("Setup.ini",
                    "[Main_Setup]\r\nLanguage_File_Name=\xC8"
                    "e\x9Atina.lng\r\n"
                    "Target_Log_File_Name=/data/\x8Akoda \x80.csv\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Language_File_Path, Directory.File("\xC4\x8C"
                                                               "e\xC5\xA1tina.lng"));
    EXPECT_EQ(Read_Settings.Target_Log_File_Name, "/data/\xC5\xA0koda \xE2\x82\xAC.csv");
    // A name present but empty stays empty; it does not become the default.
    Directory.Write("Setup.ini", "[Main_Setup]\r\nTarget_Log_File_Name=\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Target_Log_File_Name, "");
}

TEST_F(Settings_File_Test, NarrowFieldsKeepTheirLowBitsAndLongTextsAreCut)
{
    Directory.Write("Setup.ini",
                    "[Main_Setup]\r\nTime_Scroll_Resolution=266\r\nFull_Time_Value=65546\r\n"
                    "Target_Log_File_Format=" +
                        std::string(300, 'f') +
                        "\r\nNew_Log_Record_Working_Hours=half\r\n"
                        "[Visual_Setup]\r\nMain_Form_Transparency=300\r\nMain_Form_Anchor=$104\r\n"
                        "Setup_Form_Left=32768\r\nSetup_Form_Top=-70000\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Time_Scroll_Resolution, 10);
    EXPECT_EQ(Read_Settings.Full_Time_Value, 10);
    EXPECT_EQ(Read_Settings.Main_Form_Transparency, 44);
    EXPECT_EQ(Read_Settings.Main_Form_Anchor, 4);
    EXPECT_EQ(Read_Settings.Setup_Form_Left, -32768);
    EXPECT_EQ(Read_Settings.Setup_Form_Top, static_cast<std::int16_t>(-70000 & 0xFFFF));
    EXPECT_EQ(Read_Settings.Target_Log_File_Format, std::string(255, 'f'));
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 30);
}

TEST_F(Settings_File_Test, WindowPositionIsReadOnlyWithoutAnchor)
{
    for (const int anchor : {2, 0})
    {
        Directory.Write("Setup.ini", "[Visual_Setup]\r\nMain_Form_Anchor=" + std::to_string(anchor) +
                                         "\r\nMain_Form_Left=300\r\nMain_Form_Top=-20\r\n");
        Read_Settings = Settings{};
        Read();
        EXPECT_EQ(Start_Up.Main_Form_Position_Read, anchor == 0);
        EXPECT_EQ(std::pair(Read_Settings.Main_Form_Left, Read_Settings.Main_Form_Top),
                  anchor == 0 ? std::pair(300, -20) : std::pair(0, 0));
    }
}

TEST_F(Settings_File_Test, FirstStartMarkerIsRemovedAndEveryOtherByteKept)
{
    const std::string before = "[Main_Setup]\r\nDefault_Remark = hello \r\n";
    const std::string after = "first_start=whatever\nTarget_Log_File_Separator=====\r\n[Visual_Setup]\r\nTitle_Bold=1";
    Directory.Write("Setup.ini", before + "First_Start=1\r\n" + after);
    Read();
    EXPECT_TRUE(Start_Up.First_Start);
    EXPECT_EQ(Directory.Read("Setup.ini"), before + after);
    EXPECT_EQ(Start_Up.Default_Remark, "hello");
    EXPECT_EQ(Read_Settings.Target_Log_File_Separator, "====");

    // The second marker line is the next start's.
    Read();
    EXPECT_TRUE(Start_Up.First_Start);
    EXPECT_EQ(Directory.Read("Setup.ini"), before + after.substr(after.find("Target")));
    Read();
    EXPECT_FALSE(Start_Up.First_Start);
}

TEST_F(Settings_File_Test, SettingsDialogSaveWritesItsKeysInOrderAndNothingElse)
{
    Directory.Write("Setup.ini",
                    "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\nFull_Time_Value=450\r\n"
                    "[Visual_Setup]\r\nMain_Form_Color=clRed\r\n");
    const Setup_Form_Save_Values values{.Target_Log_File_Name = "/data/log.csv",
                                        .Target_Log_File_Format = std::string(300, 'x'),
                                        .Target_Log_File_Separator = "----",
                                        .Default_Work_Type = "Programov\xE1n\xED",
                                        .Default_Remark = {},
                                        .Form_Movement_Restrictions = true,
                                        .Main_Form_Transparency = 150,
                                        .Display_Start_Splash_Screen = false,
                                        .Display_End_Splash_Screen = true,
                                        .Display_Zentavo_Overrange_Warning = false,
                                        .Display_Full_Time_Hint = false,
                                        .Time_Scroll_Control = false,
                                        .Time_Scroll_Resolution = 240,
                                        .Minimize_To_Tray_After_Start = true,
                                        .Main_Form_Anchor = 3};
    ASSERT_TRUE(Save_Setup_Form_Values(Setup_Path, values));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\nFull_Time_Value=450\r\n"
              "Target_Log_File_Name=/data/log.csv\r\nTarget_Log_File_Format=" +
                  std::string(300, 'x') +
                  "\r\nTarget_Log_File_Separator=----\r\nDefault_Work_Type=Programov\xE1n\xED\r\nDefault_Remark=\r\n"
                  "Form_Movement_Restrictions=1\r\nDisplay_Start_Splash_Screen=0\r\nDisplay_End_Splash_Screen=1\r\n"
                  "Display_Zentavo_Overrange_Warning=0\r\nDisplay_Full_Time_Hint=0\r\nTime_Scroll_Control=0\r\n"
                  "Time_Scroll_Resolution=240\r\nMinimize_To_Tray_After_Start=1\r\n"
                  "[Visual_Setup]\r\nMain_Form_Color=clRed\r\nMain_Form_Transparency=150\r\nMain_Form_Anchor=3\r\n");
}

TEST_F(Settings_File_Test, CancelReadsTheFiveLiveSettingsBackAndNothingElse)
{
    Settings live;
    live.Display_Full_Time_Hint = false;
    live.Form_Movement_Restrictions = true;
    live.Time_Scroll_Resolution = 99;
    live.Main_Form_Transparency = 140;
    live.Target_Log_File_Separator = "kept";
    Directory.Write("Setup.ini", "[Visual_Setup]\r\nMain_Form_Anchor=1\r\n");
    Read_Back_Live_Settings(Setup_Path, live);
    EXPECT_EQ(std::tuple(live.Display_Full_Time_Hint, live.Form_Movement_Restrictions, int(live.Time_Scroll_Resolution),
                         int(live.Main_Form_Transparency), int(live.Main_Form_Anchor), live.Target_Log_File_Separator),
              std::tuple(true, false, 10, 20, 1, "kept"));
}

TEST_F(Settings_File_Test, SavePositionsWritesTheEightKeys)
{
    const Window_Positions positions{1700, -3, 10, 11, 12, 13, 14, 15};
    ASSERT_TRUE(Save_Window_Positions(Setup_Path, positions));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Visual_Setup]\r\nMain_Form_Left=1700\r\nMain_Form_Top=-3\r\nMessage_Dialog_Form_Left=10\r\n"
              "Message_Dialog_Form_Top=11\r\nSetup_Form_Left=12\r\nSetup_Form_Top=13\r\n"
              "Update_Record_Form_Left=14\r\nUpdate_Record_Form_Top=15\r\n");
}

}  // namespace

namespace
{

auto Shown(const Setup_Form_File_Values& v)
{
    return std::tuple(v.Default_Work_Type, v.Default_Remark, v.Display_Start_Splash_Screen, v.Display_End_Splash_Screen,
                      v.Display_Zentavo_Overrange_Warning, v.Minimize_To_Tray_After_Start);
}

TEST_F(Settings_File_Test, MemoryStartsWithWhatAMissingFileReads)
{
    const Settings in_memory;
    const Start_Up_Values start_up_in_memory;
    Read();
    // Only the anchor decides whether the position was read.
    EXPECT_EQ(Switches(Read_Settings, Start_Up), Switches(in_memory, Start_Up_Values{.Main_Form_Position_Read = true}));
    EXPECT_EQ(Numbers(Read_Settings), Numbers(in_memory));
    EXPECT_EQ(Positions(Read_Settings), Positions(in_memory));
    EXPECT_EQ(std::tuple(Read_Settings.Target_Log_File_Format, Read_Settings.Target_Log_File_Separator,
                         Start_Up.Default_Work_Type, Start_Up.Default_Remark),
              std::tuple(in_memory.Target_Log_File_Format, in_memory.Target_Log_File_Separator,
                         start_up_in_memory.Default_Work_Type, start_up_in_memory.Default_Remark));
    EXPECT_EQ(Shown(Read_Setup_Form_File_Values(Setup_Path)), Shown(Setup_Form_File_Values{}));

    // What the dialog saves untouched is what a missing file reads.
    const Setup_Form_Save_Values untouched;
    ASSERT_TRUE(Save_Setup_Form_Values(Setup_Path, untouched));
    Settings read_back;
    Read_Back_Live_Settings(Setup_Path, read_back);
    EXPECT_EQ(Numbers(read_back), Numbers(in_memory));
    EXPECT_EQ(Switches(read_back, Start_Up), Switches(in_memory, Start_Up));
    EXPECT_EQ(Shown(Read_Setup_Form_File_Values(Setup_Path)), Shown(Setup_Form_File_Values{}));
}

// A save into a new file, read back by the next start and by the dialog, gives every value
// that was saved; the file's bytes are those of every earlier version.
TEST_F(Settings_File_Test, WhatTheDialogSavesIsWhatTheNextStartReads)
{
    const Setup_Form_Save_Values saved{.Target_Log_File_Name = "/data/V\xFDkaz.csv",
                                       .Target_Log_File_Format = "%5:s|%0:s",
                                       .Target_Log_File_Separator = "====",
                                       .Default_Work_Type = "Porada",
                                       .Default_Remark = "t\xFDm",
                                       .Form_Movement_Restrictions = true,
                                       .Main_Form_Transparency = 140,
                                       .Display_Start_Splash_Screen = false,
                                       .Display_End_Splash_Screen = true,
                                       .Display_Zentavo_Overrange_Warning = false,
                                       .Display_Full_Time_Hint = false,
                                       .Time_Scroll_Control = false,
                                       .Time_Scroll_Resolution = 45,
                                       .Minimize_To_Tray_After_Start = true,
                                       .Main_Form_Anchor = 0};
    ASSERT_TRUE(Save_Setup_Form_Values(Setup_Path, saved));
    const Window_Positions positions{-40, 2000, -1, 0, 640, 480, 32767, -32768};
    ASSERT_TRUE(Save_Window_Positions(Setup_Path, positions));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Main_Setup]\r\nTarget_Log_File_Name=/data/V\xFDkaz.csv\r\nTarget_Log_File_Format=%5:s|%0:s\r\n"
              "Target_Log_File_Separator=====\r\nDefault_Work_Type=Porada\r\nDefault_Remark=t\xFDm\r\n"
              "Form_Movement_Restrictions=1\r\nDisplay_Start_Splash_Screen=0\r\nDisplay_End_Splash_Screen=1\r\n"
              "Display_Zentavo_Overrange_Warning=0\r\nDisplay_Full_Time_Hint=0\r\nTime_Scroll_Control=0\r\n"
              "Time_Scroll_Resolution=45\r\nMinimize_To_Tray_After_Start=1\r\n"
              "[Visual_Setup]\r\nMain_Form_Transparency=140\r\nMain_Form_Anchor=0\r\nMain_Form_Left=-40\r\n"
              "Main_Form_Top=2000\r\nMessage_Dialog_Form_Left=-1\r\nMessage_Dialog_Form_Top=0\r\n"
              "Setup_Form_Left=640\r\nSetup_Form_Top=480\r\nUpdate_Record_Form_Left=32767\r\n"
              "Update_Record_Form_Top=-32768\r\n");

    Read();
    EXPECT_EQ(Texts(Read_Settings, Start_Up), std::tuple(Directory.File("Czech.lng"), "/data/V\xC3\xBDkaz.csv",
                                                         "%5:s|%0:s", "====", "Porada", "t\xFDm"));
    EXPECT_EQ(std::tuple(Read_Settings.Form_Movement_Restrictions, int(Read_Settings.Main_Form_Transparency),
                         Start_Up.Display_Start_Splash_Screen, Read_Settings.Display_Zentavo_Overrange_Warning,
                         Read_Settings.Display_Full_Time_Hint, Read_Settings.Time_Scroll_Control,
                         int(Read_Settings.Time_Scroll_Resolution), Start_Up.Minimize_To_Tray_After_Start,
                         int(Read_Settings.Main_Form_Anchor)),
              std::tuple(true, 140, false, false, false, false, 45, true, 0));
    EXPECT_EQ(Positions(Read_Settings), Positions(positions));
    EXPECT_TRUE(Read_Display_End_Splash_Screen(Setup_Path));
    EXPECT_EQ(Shown(Read_Setup_Form_File_Values(Setup_Path)), std::tuple("Porada", "t\xFDm", false, true, false, true));
}

TEST_F(Settings_File_Test, ReadingWithoutStartingLeavesTheMarkerAndReadsAsTheStartDoes)
{
    const std::string content =
        "[Main_Setup]\r\nFirst_Start=1\r\nTarget_Log_File_Name=/data/\x8Akoda.csv\r\n"
        "Full_Time_Value=450\r\n[Visual_Setup]\r\nMain_Form_Anchor=3\r\nSetup_Form_Left=7\r\n";
    Directory.Write("Setup.ini", content);
    const Settings read = ::Read_Settings(Paths);
    EXPECT_EQ(Directory.Read("Setup.ini"), content);
    Read();
    EXPECT_TRUE(Start_Up.First_Start);
    EXPECT_EQ(Texts(read, Start_Up), Texts(Read_Settings, Start_Up));
    EXPECT_EQ(Numbers(read), Numbers(Read_Settings));
    EXPECT_EQ(Positions(read), Positions(Read_Settings));
    EXPECT_EQ(read.Target_Log_File_Name, "/data/\xC5\xA0koda.csv");
}

}  // namespace
