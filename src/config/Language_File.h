#pragma once
// The language file (INI syntax, CP1250): the texts read at start, and single texts that
// the dialogs read from the file each time they open.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/Language_Texts.h"

// Reads the texts held for the run. A missing file, section or key gives the key itself
// ("2#" for a message); a key present with an empty value gives an empty text.
Language_Texts Load_Language_Texts(const std::string& language_file_path);

// The protocol line (without its time) of a language file whose texts cannot be used:
// missing, unreadable, not a regular file, too large, or empty. None for a usable file.
std::optional<std::string> Language_File_Problem(const std::string& language_file_path);

// One text of a section ("Setup_Form", "Update_Record_Form"), the key when it is missing.
std::string Read_Language_Text(const std::string& language_file_path, std::string_view section, std::string_view key);
// The same with a readable text of its own when the key is missing (a language file from
// before the key was added).
std::string Read_Language_Text(const std::string& language_file_path, std::string_view section, std::string_view key,
                               std::string_view fallback);

// True when the file-name part of the path is exactly "Czech.lng" (letter case counts).
bool Is_Czech_Language_File(std::string_view language_file_path);

// Keys "1" to texts.size() - 1 of a section of the file, over the built-in texts already in
// texts (a missing key keeps its own); each cut to a short string. texts[0] stays as it is.
void Read_Language_Section(const std::string& language_file_path, std::string_view section,
                           std::span<std::string> texts);
