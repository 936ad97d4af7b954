#pragma once
// Texts that the program stores or shows are short strings: at most 255 single-byte
// characters in code page 1250, held in a std::string. Conversion to Unicode happens
// only at the user-interface boundary (Code_Page.h).
#include <string>
#include <string_view>

inline constexpr std::size_t Short_String_Max_Length = 255;

// The first 255 bytes of the text, as a short string keeps them.
inline std::string Cut_To_Short_String(std::string_view text)
{
    return std::string(text.substr(0, Short_String_Max_Length));
}
