#pragma once
// Conversion between code page 1250 (files, short strings) and UTF-8 (Qt, sources).
#include <string>
#include <string_view>

// Every CP1250 byte has a Unicode counterpart; the five undefined bytes map to U+FFFD.
std::string Cp1250_To_Utf8(std::string_view cp1250_text);

// Characters that CP1250 cannot hold become '?'; invalid UTF-8 sequences too.
std::string Utf8_To_Cp1250(std::string_view utf8_text);
