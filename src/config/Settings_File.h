#pragma once
// Setup.ini beside the program: the start-up's reading into Settings, and the few keys
// that are read again or written later by the end of day, the record editor and the
// settings dialog.
#include <cstdint>
#include <string>

#include "config/Program_Paths.h"
#include "config/Settings.h"

std::string Setup_Ini_Path(const Program_Paths& paths);

// Reads every start-up key into settings and start_up. A First_Start marker is
// deleted from the file at once (every other byte stays) and reported in start_up.
void Read_Start_Up_Settings(const Program_Paths& paths, Settings& settings, Start_Up_Values& start_up);

// Read again at the moment they are needed.
bool Read_Display_End_Splash_Screen(const std::string& setup_ini_path);          // default false
std::int32_t Read_New_Log_Record_Working_Hours(const std::string& setup_ini_path);  // minutes, default 30

// What the settings dialog shows from the file itself when it opens.
struct Setup_Form_File_Values
{
    std::string Default_Work_Type = "DEFAULT";
    std::string Default_Remark;
    bool Display_Start_Splash_Screen = true;
    bool Display_End_Splash_Screen = false;
    bool Display_Zentavo_Overrange_Warning = true;
    bool Minimize_To_Tray_After_Start = false;
};
Setup_Form_File_Values Read_Setup_Form_File_Values(const std::string& setup_ini_path);

// Takes back the five settings the dialog changes live: they are read from the file again.
void Read_Back_Live_Settings(const std::string& setup_ini_path, Settings& settings);

// The values that the settings dialog's save writes (texts as CP1250 bytes).
struct Setup_Form_Save_Values
{
    std::string Target_Log_File_Name;
    std::string Target_Log_File_Format;  // whole, as typed
    std::string Target_Log_File_Separator;
    std::string Default_Work_Type;
    std::string Default_Remark;
    bool Form_Movement_Restrictions = false;
    std::uint8_t Main_Form_Transparency = 20;
    bool Display_Start_Splash_Screen = true;
    bool Display_End_Splash_Screen = false;
    bool Display_Zentavo_Overrange_Warning = true;
    bool Display_Full_Time_Hint = true;
    bool Time_Scroll_Control = true;
    std::uint8_t Time_Scroll_Resolution = 10;
    bool Minimize_To_Tray_After_Start = false;
    std::uint8_t Main_Form_Anchor = 0;
};
// Writes the keys in the order the settings dialog has always written them; false when a
// write failed (the remaining keys are still written).
bool Save_Setup_Form_Values(const std::string& setup_ini_path, const Setup_Form_Save_Values& values);

// Writes the eight position keys of Visual_Setup; false when a write failed.
bool Save_Window_Positions(const std::string& setup_ini_path, const Window_Positions& positions);
