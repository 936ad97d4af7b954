#pragma once
// Setup.ini beside the program: the start-up's reading into Settings, and the few keys
// that are read again or written later by the end of day, the record editor and the
// settings dialog.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/Program_Paths.h"
#include "config/Settings.h"

std::string Setup_Ini_Path(const Program_Paths& paths);

// Reads every start-up key into settings and start_up. A First_Start marker is
// deleted from the file at once (every other byte stays) and reported in start_up.
void Read_Start_Up_Settings(const Program_Paths& paths, Settings& settings, Start_Up_Values& start_up);

// The settings as the start-up reads them, for a reader that leaves the file as it is.
Settings Read_Settings(const Program_Paths& paths);

// Read again at the moment they are needed.
bool Read_Display_End_Splash_Screen(const std::string& setup_ini_path);
std::int32_t Read_New_Log_Record_Working_Hours(const std::string& setup_ini_path);  // minutes

// What the settings dialog shows from the file itself when it opens.
struct Setup_Form_File_Values
{
    std::string Default_Work_Type{Setup_Default<std::string_view>(Setup_Key::Default_Work_Type)};
    std::string Default_Remark{Setup_Default<std::string_view>(Setup_Key::Default_Remark)};
    bool Display_Start_Splash_Screen = Setup_Default<bool>(Setup_Key::Display_Start_Splash_Screen);
    bool Display_End_Splash_Screen = Setup_Default<bool>(Setup_Key::Display_End_Splash_Screen);
    bool Display_Zentavo_Overrange_Warning = Setup_Default<bool>(Setup_Key::Display_Zentavo_Overrange_Warning);
    bool Minimize_To_Tray_After_Start = Setup_Default<bool>(Setup_Key::Minimize_To_Tray_After_Start);
};
Setup_Form_File_Values Read_Setup_Form_File_Values(const std::string& setup_ini_path);

// Takes back the five settings the dialog changes live: they are read from the file again.
void Read_Back_Live_Settings(const std::string& setup_ini_path, Settings& settings);

// The values that the settings dialog's save writes (texts as CP1250 bytes).
struct Setup_Form_Save_Values
{
    std::string Target_Log_File_Name;  // a whole path: its default lies in the program's folder
    std::string Target_Log_File_Format{Setup_Default<std::string_view>(Setup_Key::Target_Log_File_Format)};  // whole
    std::string Target_Log_File_Separator{Setup_Default<std::string_view>(Setup_Key::Target_Log_File_Separator)};
    std::string Default_Work_Type{Setup_Default<std::string_view>(Setup_Key::Default_Work_Type)};
    std::string Default_Remark{Setup_Default<std::string_view>(Setup_Key::Default_Remark)};
    bool Form_Movement_Restrictions = Setup_Default<bool>(Setup_Key::Form_Movement_Restrictions);
    std::uint8_t Main_Form_Transparency = Setup_Default<std::uint8_t>(Setup_Key::Main_Form_Transparency);
    bool Display_Start_Splash_Screen = Setup_Default<bool>(Setup_Key::Display_Start_Splash_Screen);
    bool Display_End_Splash_Screen = Setup_Default<bool>(Setup_Key::Display_End_Splash_Screen);
    bool Display_Zentavo_Overrange_Warning = Setup_Default<bool>(Setup_Key::Display_Zentavo_Overrange_Warning);
    bool Display_Full_Time_Hint = Setup_Default<bool>(Setup_Key::Display_Full_Time_Hint);
    bool Time_Scroll_Control = Setup_Default<bool>(Setup_Key::Time_Scroll_Control);
    std::uint8_t Time_Scroll_Resolution = Setup_Default<std::uint8_t>(Setup_Key::Time_Scroll_Resolution);
    bool Minimize_To_Tray_After_Start = Setup_Default<bool>(Setup_Key::Minimize_To_Tray_After_Start);
    std::uint8_t Main_Form_Anchor = Setup_Default<std::uint8_t>(Setup_Key::Main_Form_Anchor);
};
// Writes the keys in the order the settings dialog has always written them; false when a
// write failed (the remaining keys are still written).
bool Save_Setup_Form_Values(const std::string& setup_ini_path, const Setup_Form_Save_Values& values);

// Writes the eight position keys of Visual_Setup; false when a write failed.
bool Save_Window_Positions(const std::string& setup_ini_path, const Window_Positions& positions);
