#include "history/History_Texts.h"

#include "config/Language_File.h"
#include "platform/Ini_File.h"

std::string No_Work_Type_Name(const std::string& language_file_path)
{
    const char* built_in = Is_Czech_Language_File(language_file_path) ? "(bez typu)" : "(no type)";
    if (language_file_path.empty()) return built_in;
    const std::optional<std::string> text = Ini_File(language_file_path).Read_Value(History_Language_Section, "1");
    return text && !text->empty() ? *text : built_in;
}
