#include "config/Newer_Texts.h"

#include "config/Language_File.h"
#include "platform/Code_Page.h"

std::string Built_In_Text(const Newer_Text& text, bool czech)
{
    return Utf8_To_Cp1250(czech ? text.Czech : text.English);
}

std::string Read_Newer_Text(const std::string& language_file_path, const Newer_Text& text)
{
    return Read_Language_Text(language_file_path, text.Section, text.Key,
                              Built_In_Text(text, Is_Czech_Language_File(language_file_path)));
}
