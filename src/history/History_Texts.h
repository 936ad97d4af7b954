#pragma once
// The history's own words, section Work_History of the language file; a file without them
// (an older one, or a user's own) gets the built-in Czech or English text.
#include <string>

inline constexpr const char* History_Language_Section = "Work_History";

// What a record without a work type counts under (CP1250): key 1, "(bez typu)" / "(no type)".
std::string No_Work_Type_Name(const std::string& language_file_path);
