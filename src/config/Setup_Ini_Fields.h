#pragma once
// Setup.ini's keys read and written by name from the key table, and lists of fields that
// say which key fills which member, so a reading or a writing is one loop over a list.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "config/Setup_Ini_Keys.h"
#include "platform/Ini_File.h"

// The key's value, or its default when the key is missing or not of its kind.
bool Read_Setup_Bool(const Ini_File& ini, Setup_Key key);
std::int32_t Read_Setup_Integer(const Ini_File& ini, Setup_Key key);
std::uint32_t Read_Setup_Color(const Ini_File& ini, Setup_Key key);
std::string Read_Setup_Text(const Ini_File& ini, Setup_Key key);  // CP1250, also of a file name key
// A file name key's value as the file system names the file; none when the key is missing.
std::optional<std::string> Read_Setup_File_Name(const Ini_File& ini, Setup_Key key);
bool Setup_Key_Exists(const Ini_File& ini, Setup_Key key);

// Writes give false when the file could not be written.
bool Write_Setup_Value(Ini_File& ini, Setup_Key key, bool value);
bool Write_Setup_Value(Ini_File& ini, Setup_Key key, std::int32_t value);
bool Write_Setup_Value(Ini_File& ini, Setup_Key key, std::string_view value);
bool Delete_Setup_Key(Ini_File& ini, Setup_Key key);

// A narrow field keeps the low bits of what the file holds; a text field takes the text
// as it is (CP1250).
template <class Value>
Value Read_Setup_Value(const Ini_File& ini, Setup_Key key)
{
    if constexpr (std::is_same_v<Value, bool>) return Read_Setup_Bool(ini, key);
    else if constexpr (std::is_integral_v<Value>)
        return Setup_Entry(key).Kind == Setup_Kind::Color ? static_cast<Value>(Read_Setup_Color(ini, key))
                                                          : static_cast<Value>(Read_Setup_Integer(ini, key));
    else return Read_Setup_Text(ini, key);
}

// One member of Owner and the key that fills it.
template <class Owner>
struct Setup_Field
{
    Setup_Key Key;
    void (*Read)(const Ini_File& ini, Setup_Key key, Owner& owner);
    bool (*Write)(Ini_File& ini, Setup_Key key, const Owner& owner);
};

template <class Member_Pointer>
struct Setup_Member;
template <class Owner_Type, class Value_Type>
struct Setup_Member<Value_Type Owner_Type::*>
{
    using Owner = Owner_Type;
    using Value = Value_Type;
};

// The field Member filled from key; in a constexpr list a member that cannot hold the key's
// kind does not compile.
template <auto Member>
constexpr Setup_Field<typename Setup_Member<decltype(Member)>::Owner> Setup_Field_Of(Setup_Key key)
{
    using Owner = typename Setup_Member<decltype(Member)>::Owner;
    using Value = typename Setup_Member<decltype(Member)>::Value;
    if (!Setup_Kind_Fits<Value>(Setup_Entry(key).Kind)) Setup_Field_Does_Not_Fit_Its_Key();
    return {key,
            [](const Ini_File& ini, Setup_Key read_key, Owner& owner) {
                owner.*Member = Read_Setup_Value<Value>(ini, read_key);
            },
            [](Ini_File& ini, Setup_Key written_key, const Owner& owner) {
                if constexpr (std::is_same_v<Value, bool>) return Write_Setup_Value(ini, written_key, owner.*Member);
                else if constexpr (std::is_integral_v<Value>)
                    return Write_Setup_Value(ini, written_key, static_cast<std::int32_t>(owner.*Member));
                else return Write_Setup_Value(ini, written_key, std::string_view(owner.*Member));
            }};
}

template <class Owner, std::size_t Count>
void Read_Setup_Fields(const Ini_File& ini, const Setup_Field<Owner> (&fields)[Count], Owner& owner)
{
    for (const Setup_Field<Owner>& field : fields) field.Read(ini, field.Key, owner);
}

// Writes in the order of the list, every field even after a failed one; false when any failed.
template <class Owner, std::size_t Count>
bool Write_Setup_Fields(Ini_File& ini, const Setup_Field<Owner> (&fields)[Count], const Owner& owner)
{
    bool written = true;
    for (const Setup_Field<Owner>& field : fields) written &= field.Write(ini, field.Key, owner);
    return written;
}
