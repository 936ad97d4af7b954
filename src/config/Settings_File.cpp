#include "config/Settings_File.h"

#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "platform/Short_String.h"

namespace
{

constexpr const char* First_Start_Key = "First_Start";

// The dialogs' positions in Visual_Setup; each defaults to 50 and keeps the low 16 bits.
struct Dialog_Position_Key
{
    const char* Name;
    std::int16_t Window_Positions::*Member;
};
constexpr Dialog_Position_Key Dialog_Position_Keys[] = {
    {"Message_Dialog_Form_Left", &Window_Positions::Message_Dialog_Form_Left},
    {"Message_Dialog_Form_Top", &Window_Positions::Message_Dialog_Form_Top},
    {"Setup_Form_Left", &Window_Positions::Setup_Form_Left},
    {"Setup_Form_Top", &Window_Positions::Setup_Form_Top},
    {"Update_Record_Form_Left", &Window_Positions::Update_Record_Form_Left},
    {"Update_Record_Form_Top", &Window_Positions::Update_Record_Form_Top},
};

// The five settings that the settings dialog changes live, read alike at start-up and when
// the dialog takes them back.
void Read_Live_Settings(const Ini_File& ini, Settings& settings)
{
    settings.Display_Full_Time_Hint = ini.Read_Bool(Main_Setup_Section, "Display_Full_Time_Hint", true);
    settings.Form_Movement_Restrictions = ini.Read_Bool(Main_Setup_Section, "Form_Movement_Restrictions", false);
    settings.Time_Scroll_Resolution =
        static_cast<std::uint8_t>(ini.Read_Integer(Main_Setup_Section, "Time_Scroll_Resolution", 10));
    settings.Main_Form_Transparency =
        static_cast<std::uint8_t>(ini.Read_Integer(Visual_Setup_Section, "Main_Form_Transparency", 20));
    settings.Main_Form_Anchor = static_cast<std::uint8_t>(ini.Read_Integer(Visual_Setup_Section, "Main_Form_Anchor", 0));
}

}  // namespace

std::string Setup_Ini_Path(const Program_Paths& paths)
{
    return paths.File("Setup.ini");
}

void Read_Start_Up_Settings(const Program_Paths& paths, Settings& settings, Start_Up_Values& start_up)
{
    Ini_File ini = Ini_File::Read_Once(Setup_Ini_Path(paths));
    const char* main = Main_Setup_Section;
    const char* visual = Visual_Setup_Section;

    start_up.First_Start = ini.Key_Exists(main, First_Start_Key);
    if (start_up.First_Start) ini.Delete_Key(main, First_Start_Key);

    // File names in the file are CP1250 text; in memory they are ready to be opened.
    settings.Language_File_Path = Cut_To_Short_String(
        paths.Program_Directory + Cp1250_To_File_Name(ini.Read_String(main, "Language_File_Name", "Czech.lng")));
    const std::optional<std::string> target_log_file_name = ini.Read_Value(main, "Target_Log_File_Name");
    settings.Target_Log_File_Name =
        target_log_file_name ? Cp1250_To_File_Name(*target_log_file_name) : paths.File("Work_Log.csv");
    settings.Target_Log_File_Format =
        Cut_To_Short_String(ini.Read_String(main, "Target_Log_File_Format", "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s"));
    settings.Target_Log_File_Separator = ini.Read_String(main, "Target_Log_File_Separator", "");
    start_up.Default_Work_Type = ini.Read_String(main, "Default_Work_Type", "DEFAULT");
    start_up.Default_Remark = ini.Read_String(main, "Default_Remark", "");
    start_up.Display_Start_Splash_Screen = ini.Read_Bool(main, "Display_Start_Splash_Screen", true);
    // Narrow fields keep the low bits of what the file holds.
    settings.Full_Time_Value = static_cast<std::uint16_t>(ini.Read_Integer(main, "Full_Time_Value", 480));
    settings.Time_Scroll_Control = ini.Read_Bool(main, "Time_Scroll_Control", true);
    start_up.Minimize_To_Tray_After_Start = ini.Read_Bool(main, "Minimize_To_Tray_After_Start", false);
    settings.Display_Zentavo_Overrange_Warning = ini.Read_Bool(main, "Display_Zentavo_Overrange_Warning", true);

    settings.Main_Form_Color = ini.Read_Color(visual, "Main_Form_Color", 0x0005C490);
    settings.Title_Color = ini.Read_Color(visual, "Title_Color", 0x00000000);
    settings.Title_Bold = ini.Read_Bool(visual, "Title_Bold", false);
    settings.Header_Row_Text_Color = ini.Read_Color(visual, "Header_Row_Text_Color", 0x00FFFFFF);
    settings.Header_Row_Text_Bold = ini.Read_Bool(visual, "Header_Row_Text_Bold", false);
    settings.Default_Data_Row_Text_Color = ini.Read_Color(visual, "Default_Data_Row_Text_Color", 0x00000000);
    settings.Default_Data_Row_Text_Bold = ini.Read_Bool(visual, "Default_Data_Row_Text_Bold", false);
    settings.Focused_Data_Row_Text_Color = ini.Read_Color(visual, "Focused_Data_Row_Text_Color", 0x00000000);
    settings.Focused_Data_Row_Text_Bold = ini.Read_Bool(visual, "Focused_Data_Row_Text_Bold", false);
    Read_Live_Settings(ini, settings);
    start_up.Main_Form_Position_Read = settings.Main_Form_Anchor == 0;
    if (start_up.Main_Form_Position_Read)
    {
        settings.Main_Form_Left = ini.Read_Integer(visual, "Main_Form_Left", 0);
        settings.Main_Form_Top = ini.Read_Integer(visual, "Main_Form_Top", 0);
    }
    for (const Dialog_Position_Key& key : Dialog_Position_Keys)
        settings.*key.Member = static_cast<std::int16_t>(ini.Read_Integer(visual, key.Name, 50));
}

bool Read_Display_End_Splash_Screen(const std::string& setup_ini_path)
{
    return Ini_File(setup_ini_path).Read_Bool(Main_Setup_Section, "Display_End_Splash_Screen", false);
}

std::int32_t Read_New_Log_Record_Working_Hours(const std::string& setup_ini_path)
{
    return Ini_File(setup_ini_path).Read_Integer(Main_Setup_Section, "New_Log_Record_Working_Hours", 30);
}

Setup_Form_File_Values Read_Setup_Form_File_Values(const std::string& setup_ini_path)
{
    const Ini_File ini(setup_ini_path);
    const char* main = Main_Setup_Section;
    Setup_Form_File_Values values;
    values.Default_Work_Type = ini.Read_String(main, "Default_Work_Type", "DEFAULT");
    values.Default_Remark = ini.Read_String(main, "Default_Remark", "");
    values.Display_Start_Splash_Screen = ini.Read_Bool(main, "Display_Start_Splash_Screen", true);
    values.Display_End_Splash_Screen = ini.Read_Bool(main, "Display_End_Splash_Screen", false);
    values.Display_Zentavo_Overrange_Warning = ini.Read_Bool(main, "Display_Zentavo_Overrange_Warning", true);
    values.Minimize_To_Tray_After_Start = ini.Read_Bool(main, "Minimize_To_Tray_After_Start", false);
    return values;
}

void Read_Back_Live_Settings(const std::string& setup_ini_path, Settings& settings)
{
    Read_Live_Settings(Ini_File(setup_ini_path), settings);
}

bool Save_Setup_Form_Values(const std::string& setup_ini_path, const Setup_Form_Save_Values& values)
{
    Ini_File ini(setup_ini_path);
    const char* main = Main_Setup_Section;
    const char* visual = Visual_Setup_Section;
    bool ok = true;
    ok &= ini.Write_String(main, "Target_Log_File_Name", values.Target_Log_File_Name);
    ok &= ini.Write_String(main, "Target_Log_File_Format", values.Target_Log_File_Format);
    ok &= ini.Write_String(main, "Target_Log_File_Separator", values.Target_Log_File_Separator);
    ok &= ini.Write_String(main, "Default_Work_Type", values.Default_Work_Type);
    ok &= ini.Write_String(main, "Default_Remark", values.Default_Remark);
    ok &= ini.Write_Bool(main, "Form_Movement_Restrictions", values.Form_Movement_Restrictions);
    ok &= ini.Write_Integer(visual, "Main_Form_Transparency", values.Main_Form_Transparency);
    ok &= ini.Write_Bool(main, "Display_Start_Splash_Screen", values.Display_Start_Splash_Screen);
    ok &= ini.Write_Bool(main, "Display_End_Splash_Screen", values.Display_End_Splash_Screen);
    ok &= ini.Write_Bool(main, "Display_Zentavo_Overrange_Warning", values.Display_Zentavo_Overrange_Warning);
    ok &= ini.Write_Bool(main, "Display_Full_Time_Hint", values.Display_Full_Time_Hint);
    ok &= ini.Write_Bool(main, "Time_Scroll_Control", values.Time_Scroll_Control);
    ok &= ini.Write_Integer(main, "Time_Scroll_Resolution", values.Time_Scroll_Resolution);
    ok &= ini.Write_Integer(visual, "Main_Form_Transparency", values.Main_Form_Transparency);
    ok &= ini.Write_Bool(main, "Minimize_To_Tray_After_Start", values.Minimize_To_Tray_After_Start);
    ok &= ini.Write_Integer(visual, "Main_Form_Anchor", values.Main_Form_Anchor);
    return ok;
}

bool Save_Window_Positions(const std::string& setup_ini_path, const Window_Positions& positions)
{
    Ini_File ini(setup_ini_path);
    const char* visual = Visual_Setup_Section;
    bool ok = true;
    ok &= ini.Write_Integer(visual, "Main_Form_Left", positions.Main_Form_Left);
    ok &= ini.Write_Integer(visual, "Main_Form_Top", positions.Main_Form_Top);
    for (const Dialog_Position_Key& key : Dialog_Position_Keys)
        ok &= ini.Write_Integer(visual, key.Name, positions.*key.Member);
    return ok;
}
