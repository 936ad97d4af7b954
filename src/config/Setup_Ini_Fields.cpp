#include "config/Setup_Ini_Fields.h"

#include "platform/Code_Page.h"

namespace
{

std::string_view Section(Setup_Key key) { return Setup_Section_Name(Setup_Entry(key).Section); }

std::string_view Name(Setup_Key key) { return Setup_Entry(key).Name; }

}  // namespace

bool Read_Setup_Bool(const Ini_File& ini, Setup_Key key)
{
    return ini.Read_Bool(Section(key), Name(key), Setup_Entry(key).Number != 0);
}

std::int32_t Read_Setup_Integer(const Ini_File& ini, Setup_Key key)
{
    return ini.Read_Integer(Section(key), Name(key), static_cast<std::int32_t>(Setup_Entry(key).Number));
}

std::uint32_t Read_Setup_Color(const Ini_File& ini, Setup_Key key)
{
    return ini.Read_Color(Section(key), Name(key), static_cast<std::uint32_t>(Setup_Entry(key).Number));
}

std::string Read_Setup_Text(const Ini_File& ini, Setup_Key key)
{
    return ini.Read_String(Section(key), Name(key), Setup_Entry(key).Text);
}

std::optional<std::string> Read_Setup_File_Name(const Ini_File& ini, Setup_Key key)
{
    std::optional<std::string> value = ini.Read_Value(Section(key), Name(key));
    if (value) *value = Cp1250_To_File_Name(*value);
    return value;
}

bool Setup_Key_Exists(const Ini_File& ini, Setup_Key key) { return ini.Key_Exists(Section(key), Name(key)); }

bool Write_Setup_Value(Ini_File& ini, Setup_Key key, bool value)
{
    return ini.Write_Bool(Section(key), Name(key), value);
}

bool Write_Setup_Value(Ini_File& ini, Setup_Key key, std::int32_t value)
{
    return ini.Write_Integer(Section(key), Name(key), value);
}

bool Write_Setup_Value(Ini_File& ini, Setup_Key key, std::string_view value)
{
    return ini.Write_String(Section(key), Name(key), value);
}

bool Delete_Setup_Key(Ini_File& ini, Setup_Key key) { return ini.Delete_Key(Section(key), Name(key)); }
