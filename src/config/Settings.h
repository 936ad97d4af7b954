#pragma once
// Setup.ini held in memory. Field names are the keys, defaults come from the key table;
// widths are the ones the values have always been kept in, so a wider number keeps only
// its low bits.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/Setup_Ini_Keys.h"

// The eight position keys of Visual_Setup, kept and saved together.
struct Window_Positions
{
    // Applied to the window; read only with anchor 0.
    std::int32_t Main_Form_Left = Setup_Default<std::int32_t>(Setup_Key::Main_Form_Left);
    std::int32_t Main_Form_Top = Setup_Default<std::int32_t>(Setup_Key::Main_Form_Top);
    std::int16_t Message_Dialog_Form_Left = Setup_Default<std::int16_t>(Setup_Key::Message_Dialog_Form_Left);
    std::int16_t Message_Dialog_Form_Top = Setup_Default<std::int16_t>(Setup_Key::Message_Dialog_Form_Top);
    std::int16_t Setup_Form_Left = Setup_Default<std::int16_t>(Setup_Key::Setup_Form_Left);
    std::int16_t Setup_Form_Top = Setup_Default<std::int16_t>(Setup_Key::Setup_Form_Top);
    std::int16_t Update_Record_Form_Left = Setup_Default<std::int16_t>(Setup_Key::Update_Record_Form_Left);
    std::int16_t Update_Record_Form_Top = Setup_Default<std::int16_t>(Setup_Key::Update_Record_Form_Top);
};

struct Settings : Window_Positions
{
    // Main_Setup
    std::string Language_File_Path;  // Program_Directory + Language_File_Name
    std::string Target_Log_File_Name;
    std::string Target_Log_File_Format{Setup_Default<std::string_view>(Setup_Key::Target_Log_File_Format)};  // short
    std::string Target_Log_File_Separator{Setup_Default<std::string_view>(Setup_Key::Target_Log_File_Separator)};
    bool Form_Movement_Restrictions = Setup_Default<bool>(Setup_Key::Form_Movement_Restrictions);
    std::uint16_t Full_Time_Value = Setup_Default<std::uint16_t>(Setup_Key::Full_Time_Value);
    bool Display_Full_Time_Hint = Setup_Default<bool>(Setup_Key::Display_Full_Time_Hint);
    bool Time_Scroll_Control = Setup_Default<bool>(Setup_Key::Time_Scroll_Control);
    std::uint8_t Time_Scroll_Resolution = Setup_Default<std::uint8_t>(Setup_Key::Time_Scroll_Resolution);
    bool Display_Zentavo_Overrange_Warning = Setup_Default<bool>(Setup_Key::Display_Zentavo_Overrange_Warning);

    // Visual_Setup (colours as 0x00BBGGRR)
    std::uint32_t Main_Form_Color = Setup_Default<std::uint32_t>(Setup_Key::Main_Form_Color);
    std::uint32_t Title_Color = Setup_Default<std::uint32_t>(Setup_Key::Title_Color);
    bool Title_Bold = Setup_Default<bool>(Setup_Key::Title_Bold);
    std::uint32_t Header_Row_Text_Color = Setup_Default<std::uint32_t>(Setup_Key::Header_Row_Text_Color);
    bool Header_Row_Text_Bold = Setup_Default<bool>(Setup_Key::Header_Row_Text_Bold);
    std::uint32_t Default_Data_Row_Text_Color = Setup_Default<std::uint32_t>(Setup_Key::Default_Data_Row_Text_Color);
    bool Default_Data_Row_Text_Bold = Setup_Default<bool>(Setup_Key::Default_Data_Row_Text_Bold);
    std::uint32_t Focused_Data_Row_Text_Color = Setup_Default<std::uint32_t>(Setup_Key::Focused_Data_Row_Text_Color);
    bool Focused_Data_Row_Text_Bold = Setup_Default<bool>(Setup_Key::Focused_Data_Row_Text_Bold);
    std::uint8_t Main_Form_Transparency = Setup_Default<std::uint8_t>(Setup_Key::Main_Form_Transparency);
    std::uint8_t Main_Form_Anchor = Setup_Default<std::uint8_t>(Setup_Key::Main_Form_Anchor);
    // The window positions (Visual_Setup) come from Window_Positions.

    // Day_Setup, written by the user alone (no dialog writes the section).
    std::uint16_t Day_Boundary = 0;   // minute of the clock at which one day ends and the next begins
    std::uint16_t Away_Minutes = 15;  // time without the user after which the program asks; 0 never
};

// Values that only the start-up uses and does not keep.
struct Start_Up_Values
{
    bool First_Start = Setup_Default<bool>(Setup_Key::First_Start);
    std::string Default_Work_Type{Setup_Default<std::string_view>(Setup_Key::Default_Work_Type)};
    std::string Default_Remark{Setup_Default<std::string_view>(Setup_Key::Default_Remark)};
    bool Display_Start_Splash_Screen = Setup_Default<bool>(Setup_Key::Display_Start_Splash_Screen);
    bool Minimize_To_Tray_After_Start = Setup_Default<bool>(Setup_Key::Minimize_To_Tray_After_Start);
    bool Main_Form_Position_Read = false;  // Main_Form_Left/Top were read (anchor 0)
};
