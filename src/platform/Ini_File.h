#pragma once
// Access to an INI file as the private-profile functions of Windows behave: section and
// key names compare case-insensitively, values are trimmed, a missing file acts as one in
// which every key is missing, a write changes one line in place and keeps every other
// byte, deleting a key removes its line. Every call reads (and a write rewrites) the
// file, so what another writer changed is seen at once. Values are raw bytes (CP1250).
// Lines that are neither "[section]" nor "key=value" (and lines starting with ';') are kept
// but ignored; a written value stops at its first line break; a write replaces the file
// through a temporary file, so a failed write leaves the old file whole.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Ini_File
{
public:
    explicit Ini_File(std::string path);
    // Reads the file once and answers every later read from that copy; a write through the
    // object writes the file as usual and, when it changed the file, takes a fresh copy. For
    // a burst of reads (the
    // start-up) that would otherwise read the whole file once per key.
    static Ini_File Read_Once(std::string path);

    const std::string& Path() const { return File_Path; }

    bool Key_Exists(std::string_view section, std::string_view key) const;
    // The trimmed value of the first occurrence of the key in the first matching section.
    std::optional<std::string> Read_Value(std::string_view section, std::string_view key) const;

    std::string Read_String(std::string_view section, std::string_view key, std::string_view default_value) const;
    // Decimal, or hexadecimal with "$" or "0x"; anything else gives the default.
    std::int32_t Read_Integer(std::string_view section, std::string_view key, std::int32_t default_value) const;
    // 0 is false, any other number true; not a number gives the default.
    bool Read_Bool(std::string_view section, std::string_view key, bool default_value) const;
    // "$00BBGGRR", a decimal number or a colour name such as clBlack; else the default.
    std::uint32_t Read_Color(std::string_view section, std::string_view key, std::uint32_t default_value) const;

    // Writes give false when the file could not be written.
    bool Write_String(std::string_view section, std::string_view key, std::string_view value);
    bool Write_Integer(std::string_view section, std::string_view key, std::int32_t value);
    bool Write_Bool(std::string_view section, std::string_view key, bool value);  // "1" or "0"
    bool Delete_Key(std::string_view section, std::string_view key);

private:
    // The file's bytes from the copy when one is held, else from the disk.
    bool Read_Content(std::string& content) const;
    void Refresh_Copy();

    std::string File_Path;
    bool Copy_Held = false;
    bool Copy_Exists = false;  // the file was there when the copy was taken
    std::string Copy;
};

// The integer forms an INI value may take; no value for anything else.
std::optional<std::int32_t> Parse_Ini_Integer(std::string_view text);
// The colour forms an INI value may take, as 0x00BBGGRR; no value for anything else.
std::optional<std::uint32_t> Parse_Ini_Color(std::string_view text);
