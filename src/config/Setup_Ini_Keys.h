#pragma once
// Every key of Setup.ini with its section, its name, the form of its value and its default.
// The start-up, the settings dialog and the structs' own initialisers take names and
// defaults from here, so each is written once.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

enum class Setup_Section : std::uint8_t
{
    Main_Setup,
    Visual_Setup,
};

enum class Setup_Kind : std::uint8_t
{
    Marker,     // only whether the key is there counts
    Bool,       // 0 is false, any other number true; written as "1" or "0"
    Integer,    // decimal, or hexadecimal with "$" or "0x"
    Color,      // 0x00BBGGRR: "$00BBGGRR", a decimal number or a colour name
    String,     // CP1250 text
    File_Name,  // CP1250 text; in memory the file system's name of the file
};

// In the order of Setup_Keys below.
enum class Setup_Key : std::uint8_t
{
    First_Start,
    Language_File_Name,
    Target_Log_File_Name,
    Target_Log_File_Format,
    Target_Log_File_Separator,
    Default_Work_Type,
    Default_Remark,
    Form_Movement_Restrictions,
    Display_Start_Splash_Screen,
    Display_End_Splash_Screen,
    Display_Zentavo_Overrange_Warning,
    Display_Full_Time_Hint,
    Full_Time_Value,
    Time_Scroll_Control,
    Time_Scroll_Resolution,
    Minimize_To_Tray_After_Start,
    New_Log_Record_Working_Hours,
    Main_Form_Color,
    Title_Color,
    Title_Bold,
    Header_Row_Text_Color,
    Header_Row_Text_Bold,
    Default_Data_Row_Text_Color,
    Default_Data_Row_Text_Bold,
    Focused_Data_Row_Text_Color,
    Focused_Data_Row_Text_Bold,
    Main_Form_Transparency,
    Main_Form_Anchor,
    Main_Form_Left,
    Main_Form_Top,
    Message_Dialog_Form_Left,
    Message_Dialog_Form_Top,
    Setup_Form_Left,
    Setup_Form_Top,
    Update_Record_Form_Left,
    Update_Record_Form_Top,
};

struct Setup_Key_Entry
{
    Setup_Key Key;
    Setup_Section Section;
    std::string_view Name;
    Setup_Kind Kind;
    std::int64_t Number = 0;     // the default of a Marker, Bool, Integer or Color
    std::string_view Text = {};  // the default of a String or File_Name
};

namespace Setup_Ini_Table
{
constexpr Setup_Section Main = Setup_Section::Main_Setup;
constexpr Setup_Section Visual = Setup_Section::Visual_Setup;
using enum Setup_Kind;
using Key = Setup_Key;

inline constexpr Setup_Key_Entry Entries[] = {
    {Key::First_Start, Main, "First_Start", Marker},
    {Key::Language_File_Name, Main, "Language_File_Name", File_Name, 0, "Czech.lng"},
    // A name in the program's folder when the key is missing.
    {Key::Target_Log_File_Name, Main, "Target_Log_File_Name", File_Name, 0, "Work_Log.csv"},
    {Key::Target_Log_File_Format, Main, "Target_Log_File_Format", String, 0, "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s"},
    {Key::Target_Log_File_Separator, Main, "Target_Log_File_Separator", String, 0, ""},
    {Key::Default_Work_Type, Main, "Default_Work_Type", String, 0, "DEFAULT"},
    {Key::Default_Remark, Main, "Default_Remark", String, 0, ""},
    {Key::Form_Movement_Restrictions, Main, "Form_Movement_Restrictions", Bool, 0},
    {Key::Display_Start_Splash_Screen, Main, "Display_Start_Splash_Screen", Bool, 1},
    {Key::Display_End_Splash_Screen, Main, "Display_End_Splash_Screen", Bool, 0},
    {Key::Display_Zentavo_Overrange_Warning, Main, "Display_Zentavo_Overrange_Warning", Bool, 1},
    {Key::Display_Full_Time_Hint, Main, "Display_Full_Time_Hint", Bool, 1},
    {Key::Full_Time_Value, Main, "Full_Time_Value", Integer, 480},  // minutes
    {Key::Time_Scroll_Control, Main, "Time_Scroll_Control", Bool, 1},
    {Key::Time_Scroll_Resolution, Main, "Time_Scroll_Resolution", Integer, 10},  // minutes
    {Key::Minimize_To_Tray_After_Start, Main, "Minimize_To_Tray_After_Start", Bool, 0},
    {Key::New_Log_Record_Working_Hours, Main, "New_Log_Record_Working_Hours", Integer, 30},  // minutes
    {Key::Main_Form_Color, Visual, "Main_Form_Color", Color, 0x0005C490},
    {Key::Title_Color, Visual, "Title_Color", Color, 0x00000000},
    {Key::Title_Bold, Visual, "Title_Bold", Bool, 0},
    {Key::Header_Row_Text_Color, Visual, "Header_Row_Text_Color", Color, 0x00FFFFFF},
    {Key::Header_Row_Text_Bold, Visual, "Header_Row_Text_Bold", Bool, 0},
    {Key::Default_Data_Row_Text_Color, Visual, "Default_Data_Row_Text_Color", Color, 0x00000000},
    {Key::Default_Data_Row_Text_Bold, Visual, "Default_Data_Row_Text_Bold", Bool, 0},
    {Key::Focused_Data_Row_Text_Color, Visual, "Focused_Data_Row_Text_Color", Color, 0x00000000},
    {Key::Focused_Data_Row_Text_Bold, Visual, "Focused_Data_Row_Text_Bold", Bool, 0},
    {Key::Main_Form_Transparency, Visual, "Main_Form_Transparency", Integer, 20},
    {Key::Main_Form_Anchor, Visual, "Main_Form_Anchor", Integer, 0},  // 0 none, 1 to 4 the corners
    {Key::Main_Form_Left, Visual, "Main_Form_Left", Integer, 0},
    {Key::Main_Form_Top, Visual, "Main_Form_Top", Integer, 0},
    {Key::Message_Dialog_Form_Left, Visual, "Message_Dialog_Form_Left", Integer, 50},
    {Key::Message_Dialog_Form_Top, Visual, "Message_Dialog_Form_Top", Integer, 50},
    {Key::Setup_Form_Left, Visual, "Setup_Form_Left", Integer, 50},
    {Key::Setup_Form_Top, Visual, "Setup_Form_Top", Integer, 50},
    {Key::Update_Record_Form_Left, Visual, "Update_Record_Form_Left", Integer, 50},
    {Key::Update_Record_Form_Top, Visual, "Update_Record_Form_Top", Integer, 50},
};
}  // namespace Setup_Ini_Table

inline constexpr auto& Setup_Keys = Setup_Ini_Table::Entries;

constexpr bool Setup_Keys_In_Key_Order()
{
    for (std::size_t index = 0; index < std::size(Setup_Keys); ++index)
        if (static_cast<std::size_t>(Setup_Keys[index].Key) != index) return false;
    return true;
}
static_assert(Setup_Keys_In_Key_Order(), "Setup_Keys must list every key once, in the order of Setup_Key");

constexpr const Setup_Key_Entry& Setup_Entry(Setup_Key key) { return Setup_Keys[static_cast<std::size_t>(key)]; }

constexpr std::string_view Setup_Section_Name(Setup_Section section)
{
    return section == Setup_Section::Main_Setup ? "Main_Setup" : "Visual_Setup";
}

// Whether a field of type Value can hold a key of this kind.
template <class Value>
constexpr bool Setup_Kind_Fits(Setup_Kind kind)
{
    if constexpr (std::is_same_v<Value, bool>) return kind == Setup_Kind::Bool;
    else if constexpr (std::is_integral_v<Value>) return kind == Setup_Kind::Integer || kind == Setup_Kind::Color;
    else return kind == Setup_Kind::String || kind == Setup_Kind::File_Name;
}

// Called only where a field does not fit its key; being no constant expression, it turns
// the mismatch into a compile error.
void Setup_Field_Does_Not_Fit_Its_Key();

// The key's default as a field of type Value holds it (texts as std::string_view). Checked
// when compiled: the field must fit the key's kind and hold its default whole.
template <class Value>
consteval Value Setup_Default(Setup_Key key)
{
    const Setup_Key_Entry& entry = Setup_Entry(key);
    const bool is_marker = std::is_same_v<Value, bool> && entry.Kind == Setup_Kind::Marker;
    if (!is_marker && !Setup_Kind_Fits<Value>(entry.Kind)) Setup_Field_Does_Not_Fit_Its_Key();
    if constexpr (std::is_same_v<Value, std::string_view>)
    {
        return entry.Text;
    }
    else
    {
        if (entry.Number < static_cast<std::int64_t>(std::numeric_limits<Value>::min()) ||
            entry.Number > static_cast<std::int64_t>(std::numeric_limits<Value>::max()))
            Setup_Field_Does_Not_Fit_Its_Key();
        return static_cast<Value>(entry.Number);
    }
}
