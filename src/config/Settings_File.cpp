#include "config/Settings_File.h"

#include <algorithm>

#include "config/Setup_Ini_Fields.h"
#include "platform/Ini_File.h"
#include "platform/Short_String.h"

namespace
{

using Key = Setup_Key;

// Fields of Settings filled from keys of their own name; the file names, the record pattern
// and the positions are read apart.
constexpr Setup_Field<Settings> Start_Up_Setting_Fields[] = {
    Setup_Field_Of<&Settings::Target_Log_File_Separator>(Key::Target_Log_File_Separator),
    Setup_Field_Of<&Settings::Full_Time_Value>(Key::Full_Time_Value),
    Setup_Field_Of<&Settings::Time_Scroll_Control>(Key::Time_Scroll_Control),
    Setup_Field_Of<&Settings::Display_Zentavo_Overrange_Warning>(Key::Display_Zentavo_Overrange_Warning),
    Setup_Field_Of<&Settings::Main_Form_Color>(Key::Main_Form_Color),
    Setup_Field_Of<&Settings::Title_Color>(Key::Title_Color),
    Setup_Field_Of<&Settings::Title_Bold>(Key::Title_Bold),
    Setup_Field_Of<&Settings::Header_Row_Text_Color>(Key::Header_Row_Text_Color),
    Setup_Field_Of<&Settings::Header_Row_Text_Bold>(Key::Header_Row_Text_Bold),
    Setup_Field_Of<&Settings::Default_Data_Row_Text_Color>(Key::Default_Data_Row_Text_Color),
    Setup_Field_Of<&Settings::Default_Data_Row_Text_Bold>(Key::Default_Data_Row_Text_Bold),
    Setup_Field_Of<&Settings::Focused_Data_Row_Text_Color>(Key::Focused_Data_Row_Text_Color),
    Setup_Field_Of<&Settings::Focused_Data_Row_Text_Bold>(Key::Focused_Data_Row_Text_Bold),
};

// The five settings that the settings dialog changes live, read alike at start-up and when
// the dialog takes them back.
constexpr Setup_Field<Settings> Live_Setting_Fields[] = {
    Setup_Field_Of<&Settings::Display_Full_Time_Hint>(Key::Display_Full_Time_Hint),
    Setup_Field_Of<&Settings::Form_Movement_Restrictions>(Key::Form_Movement_Restrictions),
    Setup_Field_Of<&Settings::Time_Scroll_Resolution>(Key::Time_Scroll_Resolution),
    Setup_Field_Of<&Settings::Main_Form_Transparency>(Key::Main_Form_Transparency),
    Setup_Field_Of<&Settings::Main_Form_Anchor>(Key::Main_Form_Anchor),
};

constexpr Setup_Field<Start_Up_Values> Start_Up_Value_Fields[] = {
    Setup_Field_Of<&Start_Up_Values::Default_Work_Type>(Key::Default_Work_Type),
    Setup_Field_Of<&Start_Up_Values::Default_Remark>(Key::Default_Remark),
    Setup_Field_Of<&Start_Up_Values::Display_Start_Splash_Screen>(Key::Display_Start_Splash_Screen),
    Setup_Field_Of<&Start_Up_Values::Minimize_To_Tray_After_Start>(Key::Minimize_To_Tray_After_Start),
};

// Read only when the window is not anchored; saved always.
constexpr Setup_Field<Window_Positions> Main_Form_Position_Fields[] = {
    Setup_Field_Of<&Window_Positions::Main_Form_Left>(Key::Main_Form_Left),
    Setup_Field_Of<&Window_Positions::Main_Form_Top>(Key::Main_Form_Top),
};

constexpr Setup_Field<Window_Positions> Dialog_Position_Fields[] = {
    Setup_Field_Of<&Window_Positions::Message_Dialog_Form_Left>(Key::Message_Dialog_Form_Left),
    Setup_Field_Of<&Window_Positions::Message_Dialog_Form_Top>(Key::Message_Dialog_Form_Top),
    Setup_Field_Of<&Window_Positions::Setup_Form_Left>(Key::Setup_Form_Left),
    Setup_Field_Of<&Window_Positions::Setup_Form_Top>(Key::Setup_Form_Top),
    Setup_Field_Of<&Window_Positions::Update_Record_Form_Left>(Key::Update_Record_Form_Left),
    Setup_Field_Of<&Window_Positions::Update_Record_Form_Top>(Key::Update_Record_Form_Top),
};

constexpr Setup_Field<Setup_Form_File_Values> Setup_Form_File_Fields[] = {
    Setup_Field_Of<&Setup_Form_File_Values::Default_Work_Type>(Key::Default_Work_Type),
    Setup_Field_Of<&Setup_Form_File_Values::Default_Remark>(Key::Default_Remark),
    Setup_Field_Of<&Setup_Form_File_Values::Display_Start_Splash_Screen>(Key::Display_Start_Splash_Screen),
    Setup_Field_Of<&Setup_Form_File_Values::Display_End_Splash_Screen>(Key::Display_End_Splash_Screen),
    Setup_Field_Of<&Setup_Form_File_Values::Display_Zentavo_Overrange_Warning>(Key::Display_Zentavo_Overrange_Warning),
    Setup_Field_Of<&Setup_Form_File_Values::Minimize_To_Tray_After_Start>(Key::Minimize_To_Tray_After_Start),
};

// In the order the settings dialog has always written them, the transparency twice: in a
// new file it opens [Visual_Setup] before the last switches of [Main_Setup] are written.
using Save = Setup_Form_Save_Values;
constexpr Setup_Field<Save> Setup_Form_Save_Fields[] = {
    Setup_Field_Of<&Save::Target_Log_File_Name>(Key::Target_Log_File_Name),
    Setup_Field_Of<&Save::Target_Log_File_Format>(Key::Target_Log_File_Format),
    Setup_Field_Of<&Save::Target_Log_File_Separator>(Key::Target_Log_File_Separator),
    Setup_Field_Of<&Save::Default_Work_Type>(Key::Default_Work_Type),
    Setup_Field_Of<&Save::Default_Remark>(Key::Default_Remark),
    Setup_Field_Of<&Save::Form_Movement_Restrictions>(Key::Form_Movement_Restrictions),
    Setup_Field_Of<&Save::Main_Form_Transparency>(Key::Main_Form_Transparency),
    Setup_Field_Of<&Save::Display_Start_Splash_Screen>(Key::Display_Start_Splash_Screen),
    Setup_Field_Of<&Save::Display_End_Splash_Screen>(Key::Display_End_Splash_Screen),
    Setup_Field_Of<&Save::Display_Zentavo_Overrange_Warning>(Key::Display_Zentavo_Overrange_Warning),
    Setup_Field_Of<&Save::Display_Full_Time_Hint>(Key::Display_Full_Time_Hint),
    Setup_Field_Of<&Save::Time_Scroll_Control>(Key::Time_Scroll_Control),
    Setup_Field_Of<&Save::Time_Scroll_Resolution>(Key::Time_Scroll_Resolution),
    Setup_Field_Of<&Save::Main_Form_Transparency>(Key::Main_Form_Transparency),
    Setup_Field_Of<&Save::Minimize_To_Tray_After_Start>(Key::Minimize_To_Tray_After_Start),
    Setup_Field_Of<&Save::Main_Form_Anchor>(Key::Main_Form_Anchor),
};

// "HH:MM" with hours 0..23 and minutes 0..59; anything else keeps midnight.
std::uint16_t Day_Boundary_From(std::string_view text)
{
    const auto digit = [&](std::size_t index) {
        return text[index] >= '0' && text[index] <= '9';
    };
    if (text.size() != 5 || text[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4)) return 0;
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
    if (hours > 23 || minutes > 59) return 0;
    return static_cast<std::uint16_t>(hours * 60 + minutes);
}

void Read_Day_Setup(const Ini_File& ini, Settings& settings)
{
    settings.Day_Boundary = Day_Boundary_From(ini.Read_String("Day_Setup", "Day_Boundary", "00:00"));
    const std::int32_t away = ini.Read_Integer("Day_Setup", "Away_Minutes", 15);
    settings.Away_Minutes = static_cast<std::uint16_t>(std::clamp(away, 0, 1440));
}

void Read_Settings(const Ini_File& ini, const Program_Paths& paths, Settings& settings, Start_Up_Values& start_up)
{
    // File names in the file are CP1250 text; in memory they are ready to be opened.
    const std::string language_file_name = Read_Setup_File_Name(ini, Key::Language_File_Name)
                                               .value_or(std::string(Setup_Entry(Key::Language_File_Name).Text));
    settings.Language_File_Path = Cut_To_Short_String(paths.Program_Directory + language_file_name);
    settings.Target_Log_File_Name = Read_Setup_File_Name(ini, Key::Target_Log_File_Name)
                                        .value_or(paths.File(std::string(Setup_Entry(Key::Target_Log_File_Name).Text)));
    settings.Target_Log_File_Format = Cut_To_Short_String(Read_Setup_Text(ini, Key::Target_Log_File_Format));
    Read_Setup_Fields(ini, Start_Up_Setting_Fields, settings);
    Read_Setup_Fields(ini, Live_Setting_Fields, settings);
    Read_Setup_Fields(ini, Start_Up_Value_Fields, start_up);

    start_up.Main_Form_Position_Read = settings.Main_Form_Anchor == 0;
    Window_Positions& positions = settings;
    if (start_up.Main_Form_Position_Read) Read_Setup_Fields(ini, Main_Form_Position_Fields, positions);
    Read_Setup_Fields(ini, Dialog_Position_Fields, positions);
    Read_Day_Setup(ini, settings);
}

}  // namespace

std::string Setup_Ini_Path(const Program_Paths& paths) { return paths.File("Setup.ini"); }

void Read_Start_Up_Settings(const Program_Paths& paths, Settings& settings, Start_Up_Values& start_up)
{
    Ini_File ini = Ini_File::Read_Once(Setup_Ini_Path(paths));
    start_up.First_Start = Setup_Key_Exists(ini, Key::First_Start);
    if (start_up.First_Start) Delete_Setup_Key(ini, Key::First_Start);
    Read_Settings(ini, paths, settings, start_up);
}

Settings Read_Settings(const Program_Paths& paths)
{
    Settings settings;
    Start_Up_Values start_up;
    Read_Settings(Ini_File::Read_Once(Setup_Ini_Path(paths)), paths, settings, start_up);
    return settings;
}

bool Read_Display_End_Splash_Screen(const std::string& setup_ini_path)
{
    return Read_Setup_Bool(Ini_File(setup_ini_path), Key::Display_End_Splash_Screen);
}

std::int32_t Read_New_Log_Record_Working_Hours(const std::string& setup_ini_path)
{
    return Read_Setup_Integer(Ini_File(setup_ini_path), Key::New_Log_Record_Working_Hours);
}

Setup_Form_File_Values Read_Setup_Form_File_Values(const std::string& setup_ini_path)
{
    Setup_Form_File_Values values;
    Read_Setup_Fields(Ini_File::Read_Once(setup_ini_path), Setup_Form_File_Fields, values);
    return values;
}

void Read_Back_Live_Settings(const std::string& setup_ini_path, Settings& settings)
{
    Read_Setup_Fields(Ini_File::Read_Once(setup_ini_path), Live_Setting_Fields, settings);
}

bool Save_Setup_Form_Values(const std::string& setup_ini_path, const Setup_Form_Save_Values& values)
{
    Ini_File ini(setup_ini_path);
    return Write_Setup_Fields(ini, Setup_Form_Save_Fields, values);
}

bool Save_Window_Positions(const std::string& setup_ini_path, const Window_Positions& positions)
{
    Ini_File ini(setup_ini_path);
    const bool main_form_written = Write_Setup_Fields(ini, Main_Form_Position_Fields, positions);
    return Write_Setup_Fields(ini, Dialog_Position_Fields, positions) && main_form_written;
}
