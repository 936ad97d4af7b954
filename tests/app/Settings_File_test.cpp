#include "app/Settings_File.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Ini_File.h"
#include "platform/Test_Temporary_Directory.h"

namespace
{

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
    EXPECT_FALSE(Start_Up.First_Start);
    EXPECT_EQ(Read_Settings.Language_File_Path, Directory.File("Czech.lng"));
    EXPECT_EQ(Read_Settings.Target_Log_File_Name, Directory.File("Work_Log.csv"));
    EXPECT_EQ(Read_Settings.Target_Log_File_Format, "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s");
    EXPECT_EQ(Read_Settings.Target_Log_File_Separator, "");
    EXPECT_EQ(Start_Up.Default_Work_Type, "DEFAULT");
    EXPECT_EQ(Start_Up.Default_Remark, "");
    EXPECT_TRUE(Start_Up.Display_Start_Splash_Screen);
    EXPECT_FALSE(Start_Up.Minimize_To_Tray_After_Start);
    EXPECT_FALSE(Read_Settings.Form_Movement_Restrictions);
    EXPECT_EQ(Read_Settings.Full_Time_Value, 480);
    EXPECT_TRUE(Read_Settings.Display_Full_Time_Hint);
    EXPECT_TRUE(Read_Settings.Time_Scroll_Control);
    EXPECT_EQ(Read_Settings.Time_Scroll_Resolution, 10);
    EXPECT_TRUE(Read_Settings.Display_Zentavo_Overrange_Warning);
    EXPECT_EQ(Read_Settings.Main_Form_Color, 0x0005C490u);
    EXPECT_EQ(Read_Settings.Header_Row_Text_Color, 0x00FFFFFFu);
    EXPECT_EQ(Read_Settings.Main_Form_Transparency, 20);
    EXPECT_EQ(Read_Settings.Main_Form_Anchor, 0);
    EXPECT_TRUE(Start_Up.Main_Form_Position_Read);
    EXPECT_EQ(Read_Settings.Main_Form_Left, 0);
    EXPECT_EQ(Read_Settings.Message_Dialog_Form_Left, 50);
    EXPECT_EQ(Read_Settings.Update_Record_Form_Top, 50);
    EXPECT_FALSE(Read_Display_End_Splash_Screen(Setup_Path));
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 30);
    EXPECT_FALSE(std::filesystem::exists(Setup_Path));
}

TEST_F(Settings_File_Test, AHandEditedFileSetsEveryKey)
{
    std::filesystem::copy_file(std::string(ZL_TEST_DATA_DIR) + "/app/Setup_Every_Key.ini", Setup_Path);
    const std::string before = Directory.Read("Setup.ini");
    Read();
    EXPECT_EQ(Directory.Read("Setup.ini"), before);  // reading writes nothing
    EXPECT_FALSE(Start_Up.First_Start);
    EXPECT_EQ(Read_Settings.Language_File_Path, Directory.File("English.lng"));
    EXPECT_EQ(Read_Settings.Target_Log_File_Name, "/home/user/V\xFDkaz.csv");
    EXPECT_EQ(Read_Settings.Target_Log_File_Format, "%1:s;%3:s;%4:s");
    EXPECT_EQ(Read_Settings.Target_Log_File_Separator, "----");
    EXPECT_EQ(Start_Up.Default_Work_Type, "Programov\xE1n\xED");
    EXPECT_EQ(Start_Up.Default_Remark, "projekt A");
    EXPECT_TRUE(Read_Settings.Form_Movement_Restrictions);
    EXPECT_FALSE(Start_Up.Display_Start_Splash_Screen);
    EXPECT_EQ(Read_Settings.Full_Time_Value, 450);
    EXPECT_FALSE(Read_Settings.Display_Full_Time_Hint);
    EXPECT_FALSE(Read_Settings.Time_Scroll_Control);
    EXPECT_EQ(Read_Settings.Time_Scroll_Resolution, 15);
    EXPECT_TRUE(Start_Up.Minimize_To_Tray_After_Start);
    EXPECT_FALSE(Read_Settings.Display_Zentavo_Overrange_Warning);
    EXPECT_TRUE(Read_Display_End_Splash_Screen(Setup_Path));
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 45);

    EXPECT_EQ(Read_Settings.Main_Form_Color, 0x00112233u);
    EXPECT_EQ(Read_Settings.Title_Color, 0x000000FFu);
    EXPECT_TRUE(Read_Settings.Title_Bold);
    EXPECT_EQ(Read_Settings.Header_Row_Text_Color, 0x00800000u);
    EXPECT_TRUE(Read_Settings.Header_Row_Text_Bold);
    EXPECT_EQ(Read_Settings.Default_Data_Row_Text_Color, 0x000000FFu);
    EXPECT_TRUE(Read_Settings.Default_Data_Row_Text_Bold);
    EXPECT_EQ(Read_Settings.Focused_Data_Row_Text_Color, 0x0000FF00u);
    EXPECT_TRUE(Read_Settings.Focused_Data_Row_Text_Bold);
    EXPECT_EQ(Read_Settings.Main_Form_Transparency, 100);
    EXPECT_EQ(Read_Settings.Main_Form_Anchor, 0);
    EXPECT_EQ(Read_Settings.Main_Form_Left, 1234);
    EXPECT_EQ(Read_Settings.Main_Form_Top, 567);
    EXPECT_EQ(Read_Settings.Message_Dialog_Form_Left, 101);
    EXPECT_EQ(Read_Settings.Message_Dialog_Form_Top, 102);
    EXPECT_EQ(Read_Settings.Setup_Form_Left, 103);
    EXPECT_EQ(Read_Settings.Setup_Form_Top, 104);
    EXPECT_EQ(Read_Settings.Update_Record_Form_Left, 105);
    EXPECT_EQ(Read_Settings.Update_Record_Form_Top, 106);

    const Setup_Form_File_Values shown = Read_Setup_Form_File_Values(Setup_Path);
    EXPECT_EQ(shown.Default_Work_Type, "Programov\xE1n\xED");
    EXPECT_FALSE(shown.Display_Start_Splash_Screen);
    EXPECT_TRUE(shown.Display_End_Splash_Screen);
    EXPECT_FALSE(shown.Display_Zentavo_Overrange_Warning);
    EXPECT_TRUE(shown.Minimize_To_Tray_After_Start);
    Settings live;
    Read_Back_Live_Settings(Setup_Path, live);
    EXPECT_FALSE(live.Display_Full_Time_Hint);
    EXPECT_TRUE(live.Form_Movement_Restrictions);
    EXPECT_EQ(live.Time_Scroll_Resolution, 15);
    EXPECT_EQ(live.Main_Form_Transparency, 100);
}

TEST_F(Settings_File_Test, NarrowFieldsKeepTheirLowBits)
{
    Directory.Write("Setup.ini",
                    "[Main_Setup]\r\nTime_Scroll_Resolution=266\r\nFull_Time_Value=65546\r\n"
                    "[Visual_Setup]\r\nMain_Form_Transparency=300\r\nMain_Form_Anchor=$104\r\n"
                    "Setup_Form_Left=32768\r\nSetup_Form_Top=-70000\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Time_Scroll_Resolution, 10);
    EXPECT_EQ(Read_Settings.Full_Time_Value, 10);
    EXPECT_EQ(Read_Settings.Main_Form_Transparency, 44);
    EXPECT_EQ(Read_Settings.Main_Form_Anchor, 4);
    EXPECT_EQ(Read_Settings.Setup_Form_Left, -32768);
    EXPECT_EQ(Read_Settings.Setup_Form_Top, static_cast<std::int16_t>(-70000 & 0xFFFF));
}

TEST_F(Settings_File_Test, WindowPositionIsReadOnlyWithoutAnchor)
{
    Directory.Write("Setup.ini", "[Visual_Setup]\r\nMain_Form_Anchor=2\r\nMain_Form_Left=300\r\nMain_Form_Top=400\r\n");
    Read();
    EXPECT_FALSE(Start_Up.Main_Form_Position_Read);
    EXPECT_EQ(Read_Settings.Main_Form_Left, 0);
    EXPECT_EQ(Read_Settings.Main_Form_Top, 0);

    Directory.Write("Setup.ini", "[Visual_Setup]\r\nMain_Form_Anchor=0\r\nMain_Form_Left=300\r\nMain_Form_Top=-20\r\n");
    Read();
    EXPECT_TRUE(Start_Up.Main_Form_Position_Read);
    EXPECT_EQ(Read_Settings.Main_Form_Left, 300);
    EXPECT_EQ(Read_Settings.Main_Form_Top, -20);
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
    EXPECT_TRUE(Read_Settings.Title_Bold);

    // The second marker line is the next start's.
    Read();
    EXPECT_TRUE(Start_Up.First_Start);
    EXPECT_EQ(Directory.Read("Setup.ini"), before + after.substr(after.find("Target")));
    Read();
    EXPECT_FALSE(Start_Up.First_Start);
}

TEST_F(Settings_File_Test, LongTextsAreCutAndTheLanguageFileLiesBesideTheProgram)
{
    const std::string long_format(300, 'f');
    Directory.Write("Setup.ini", "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\nTarget_Log_File_Format=" +
                                     long_format + "\r\nTarget_Log_File_Name=/elsewhere/log.csv\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Language_File_Path, Directory.File("English.lng"));
    EXPECT_EQ(Read_Settings.Target_Log_File_Format, std::string(255, 'f'));
    EXPECT_EQ(Read_Settings.Target_Log_File_Name, "/elsewhere/log.csv");
}

TEST_F(Settings_File_Test, SettingsDialogSaveWritesItsKeysInOrderAndNothingElse)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\nFull_Time_Value=450\r\n"
                                 "[Visual_Setup]\r\nMain_Form_Color=clRed\r\n");
    Setup_Form_Save_Values values;
    values.Target_Log_File_Name = "/data/log.csv";
    values.Target_Log_File_Format = std::string(300, 'x');
    values.Target_Log_File_Separator = "----";
    values.Default_Work_Type = "Programov\xE1n\xED";
    values.Default_Remark = "";
    values.Form_Movement_Restrictions = true;
    values.Main_Form_Transparency = 150;
    values.Display_Start_Splash_Screen = false;
    values.Display_End_Splash_Screen = true;
    values.Display_Zentavo_Overrange_Warning = false;
    values.Display_Full_Time_Hint = false;
    values.Time_Scroll_Control = false;
    values.Time_Scroll_Resolution = 240;
    values.Minimize_To_Tray_After_Start = true;
    values.Main_Form_Anchor = 3;
    ASSERT_TRUE(Save_Setup_Form_Values(Setup_Path, values));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Main_Setup]\r\nLanguage_File_Name=English.lng\r\nFull_Time_Value=450\r\n"
              "Target_Log_File_Name=/data/log.csv\r\nTarget_Log_File_Format=" + std::string(300, 'x') +
                  "\r\nTarget_Log_File_Separator=----\r\nDefault_Work_Type=Programov\xE1n\xED\r\nDefault_Remark=\r\n"
                  "Form_Movement_Restrictions=1\r\nDisplay_Start_Splash_Screen=0\r\nDisplay_End_Splash_Screen=1\r\n"
                  "Display_Zentavo_Overrange_Warning=0\r\nDisplay_Full_Time_Hint=0\r\nTime_Scroll_Control=0\r\n"
                  "Time_Scroll_Resolution=240\r\nMinimize_To_Tray_After_Start=1\r\n"
                  "[Visual_Setup]\r\nMain_Form_Color=clRed\r\nMain_Form_Transparency=150\r\nMain_Form_Anchor=3\r\n");

    EXPECT_TRUE(Read_Display_End_Splash_Screen(Setup_Path));
    const Setup_Form_File_Values shown = Read_Setup_Form_File_Values(Setup_Path);
    EXPECT_EQ(shown.Default_Work_Type, "Programov\xE1n\xED");
    EXPECT_EQ(shown.Default_Remark, "");
    EXPECT_FALSE(shown.Display_Start_Splash_Screen);
    EXPECT_TRUE(shown.Display_End_Splash_Screen);
    EXPECT_FALSE(shown.Display_Zentavo_Overrange_Warning);
    EXPECT_TRUE(shown.Minimize_To_Tray_After_Start);
}

TEST_F(Settings_File_Test, CancelReadsTheFiveLiveSettingsBack)
{
    Settings live;
    live.Display_Full_Time_Hint = false;
    live.Form_Movement_Restrictions = true;
    live.Time_Scroll_Resolution = 99;
    live.Main_Form_Transparency = 140;
    live.Main_Form_Anchor = 4;
    live.Target_Log_File_Separator = "kept";
    Read_Back_Live_Settings(Setup_Path, live);
    EXPECT_TRUE(live.Display_Full_Time_Hint);
    EXPECT_FALSE(live.Form_Movement_Restrictions);
    EXPECT_EQ(live.Time_Scroll_Resolution, 10);
    EXPECT_EQ(live.Main_Form_Transparency, 20);
    EXPECT_EQ(live.Main_Form_Anchor, 0);
    EXPECT_EQ(live.Target_Log_File_Separator, "kept");

    Directory.Write("Setup.ini", "[Main_Setup]\r\nTime_Scroll_Resolution=15\r\n[Visual_Setup]\r\nMain_Form_Anchor=1\r\n");
    Read_Back_Live_Settings(Setup_Path, live);
    EXPECT_EQ(live.Time_Scroll_Resolution, 15);
    EXPECT_EQ(live.Main_Form_Anchor, 1);
}

TEST_F(Settings_File_Test, SavePositionsWritesTheEightKeysThatStartUpReadsBack)
{
    Window_Positions positions;
    positions.Main_Form_Left = 1700;
    positions.Main_Form_Top = -3;
    positions.Message_Dialog_Form_Left = 10;
    positions.Message_Dialog_Form_Top = 11;
    positions.Setup_Form_Left = 12;
    positions.Setup_Form_Top = 13;
    positions.Update_Record_Form_Left = 14;
    positions.Update_Record_Form_Top = 15;
    ASSERT_TRUE(Save_Window_Positions(Setup_Path, positions));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Visual_Setup]\r\nMain_Form_Left=1700\r\nMain_Form_Top=-3\r\nMessage_Dialog_Form_Left=10\r\n"
              "Message_Dialog_Form_Top=11\r\nSetup_Form_Left=12\r\nSetup_Form_Top=13\r\n"
              "Update_Record_Form_Left=14\r\nUpdate_Record_Form_Top=15\r\n");
    Read();
    EXPECT_EQ(Read_Settings.Main_Form_Left, 1700);
    EXPECT_EQ(Read_Settings.Main_Form_Top, -3);
    EXPECT_EQ(Read_Settings.Setup_Form_Top, 13);
    EXPECT_EQ(Read_Settings.Update_Record_Form_Top, 15);
}

TEST_F(Settings_File_Test, NewRecordMinutesAreReadAtEachUse)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nNew_Log_Record_Working_Hours=45\r\n");
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 45);
    Directory.Write("Setup.ini", "[Main_Setup]\r\nNew_Log_Record_Working_Hours=half\r\n");
    EXPECT_EQ(Read_New_Log_Record_Working_Hours(Setup_Path), 30);
}

}  // namespace
