#pragma once
// Setup.ini held in memory. Field names are the keys; widths are the ones the values have
// always been kept in, so a wider number keeps only its low bits.
#include <cstdint>
#include <string>

class Ini_File;

inline constexpr const char* Main_Setup_Section = "Main_Setup";
inline constexpr const char* Visual_Setup_Section = "Visual_Setup";

// The eight position keys of Visual_Setup, kept and saved together.
struct Window_Positions
{
    std::int32_t Main_Form_Left = 0;   // applied to the window; read only with anchor 0
    std::int32_t Main_Form_Top = 0;
    std::int16_t Message_Dialog_Form_Left = 50;
    std::int16_t Message_Dialog_Form_Top = 50;
    std::int16_t Setup_Form_Left = 50;
    std::int16_t Setup_Form_Top = 50;
    std::int16_t Update_Record_Form_Left = 50;
    std::int16_t Update_Record_Form_Top = 50;
};

struct Settings : Window_Positions
{
    // Main_Setup
    std::string Language_File_Path;                   // Program_Directory + Language_File_Name
    std::string Target_Log_File_Name;
    std::string Target_Log_File_Format = "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s";  // short string
    std::string Target_Log_File_Separator;
    bool Form_Movement_Restrictions = false;
    std::uint16_t Full_Time_Value = 480;
    bool Display_Full_Time_Hint = true;
    bool Time_Scroll_Control = true;
    std::uint8_t Time_Scroll_Resolution = 10;
    bool Display_Zentavo_Overrange_Warning = true;

    // Visual_Setup (colours as 0x00BBGGRR)
    std::uint32_t Main_Form_Color = 0x0005C490;
    std::uint32_t Title_Color = 0x00000000;
    bool Title_Bold = false;
    std::uint32_t Header_Row_Text_Color = 0x00FFFFFF;
    bool Header_Row_Text_Bold = false;
    std::uint32_t Default_Data_Row_Text_Color = 0x00000000;
    bool Default_Data_Row_Text_Bold = false;
    std::uint32_t Focused_Data_Row_Text_Color = 0x00000000;
    bool Focused_Data_Row_Text_Bold = false;
    std::uint8_t Main_Form_Transparency = 20;
    std::uint8_t Main_Form_Anchor = 0;
    // The window positions (Visual_Setup) come from Window_Positions.
};

// Values that only the start-up uses and does not keep.
struct Start_Up_Values
{
    bool First_Start = false;
    std::string Default_Work_Type = "DEFAULT";
    std::string Default_Remark;
    bool Display_Start_Splash_Screen = true;
    bool Minimize_To_Tray_After_Start = false;
    bool Main_Form_Position_Read = false;  // Main_Form_Left/Top were read (anchor 0)
};
