#pragma once
// Conversion between code page 1250 (files, short strings) and UTF-8 (Qt, sources).
#include <string>
#include <string_view>

// Every CP1250 byte has a Unicode counterpart; the five undefined bytes map to U+FFFD.
std::string Cp1250_To_Utf8(std::string_view cp1250_text);

// Characters that CP1250 cannot hold become '?'; invalid UTF-8 sequences too.
std::string Utf8_To_Cp1250(std::string_view utf8_text);

// File names on this system are UTF-8 bytes, as Qt takes them. Setup.ini and the protocol
// hold them as CP1250 text: converted to the system's form where they are read, and to
// CP1250 where they are written, '?' standing for what CP1250 cannot hold.
inline std::string Cp1250_To_File_Name(std::string_view cp1250_text) { return Cp1250_To_Utf8(cp1250_text); }
inline std::string File_Name_To_Cp1250(std::string_view file_name) { return Utf8_To_Cp1250(file_name); }

// The lower-case letter of a CP1250 character; any other character is given back.
char Cp1250_To_Lower(char cp1250_character);
// Equal when the texts differ at most in the letter case of their CP1250 letters.
bool Cp1250_Equal_Ignoring_Case(std::string_view left, std::string_view right);
