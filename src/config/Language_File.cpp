#include "config/Language_File.h"

#include <algorithm>
#include <cerrno>

#include "platform/Code_Page.h"
#include "platform/File_Error.h"
#include "platform/Ini_File.h"
#include "platform/Posix_File.h"
#include "platform/Short_String.h"

namespace
{

std::string Read_Short_Text(const Ini_File& ini, std::string_view section, int key, std::string_view suffix = {})
{
    const std::string name = std::to_string(key);
    return Cut_To_Short_String(ini.Read_String(section, name, name + std::string(suffix)));
}

}  // namespace

Language_Texts Load_Language_Texts(const std::string& language_file_path)
{
    const Ini_File ini = Ini_File::Read_Once(language_file_path);
    Language_Texts texts;
    texts.Language_File_Path = language_file_path;
    texts.Is_Czech_Language = Is_Czech_Language_File(language_file_path);

    for (int key = 1; key <= 4; ++key) texts.Main_Form_Captions[key] = Read_Short_Text(ini, "Main_Form", key);
    for (int key = 1; key <= 7; ++key) texts.Day_Names[key] = Read_Short_Text(ini, "Day_Names", key);
    for (int key = 0; key <= 5; ++key) texts.Column_Names[key] = Read_Short_Text(ini, "Column_Names", key);
    // The hint pattern and the balloon text are long strings without the 255-byte limit.
    texts.Tray_Hint_Format = ini.Read_String("Tray_Icon", "1", "1");
    texts.Tray_Text_2 = Read_Short_Text(ini, "Tray_Icon", 2);
    texts.Tray_Text_3 = ini.Read_String("Tray_Icon", "3", "3");
    std::replace(texts.Tray_Text_3.begin(), texts.Tray_Text_3.end(), '#', '\r');
    texts.Day_Row_Label = Read_Short_Text(ini, "Column_Names", 6);
    for (int key = 1; key <= 19; ++key) texts.Message_Strings[key] = Read_Short_Text(ini, "Message_Strings", key, "#");
    for (int key = 1; key <= 6; ++key) texts.Message_Buttons[key] = Read_Short_Text(ini, "Message_Buttons", key);
    // Newer texts: a language file of an older version lacks them, so they fall back to
    // readable English rather than to their keys.
    const auto newer_text = [&](std::string_view section, std::string_view key, std::string_view built_in) {
        return Cut_To_Short_String(ini.Read_String(section, key, built_in));
    };
    texts.Save_Failed_Message = newer_text("Save_Warning", "1",
                                           "The day log could not be saved.#%0:s##The program tries again every "
                                           "minute; until it succeeds, the latest changes are not stored.");
    texts.Disk_Full_Reason = newer_text("Save_Warning", "2", "The disk is full.");
    texts.Access_Denied_Reason = newer_text("Save_Warning", "3", "The file may not be written.");
    texts.Other_Failure_Reason = newer_text("Save_Warning", "4", "Error %0:s: %1:s");
    // Newest texts: built in in Czech too, for a Czech language file of an older version.
    const auto newest_text = [&](std::string_view section, std::string_view key, std::string_view english,
                                 std::string_view czech_utf8) {
        return newer_text(section, key, texts.Is_Czech_Language ? Utf8_To_Cp1250(czech_utf8) : std::string(english));
    };
    texts.Invalid_Pattern_Reason =
        newest_text("Save_Warning", "5", "The line pattern %0:s of the target log is not valid.",
                    "Vzor řádku výstupního souboru %0:s není platný.");
    texts.No_Target_Log_Reason =
        newest_text("Save_Warning", "6", "Setup.ini names no target log file (Target_Log_File_Name is empty).",
                    "Setup.ini neuvádí žádný výstupní soubor (Target_Log_File_Name je prázdné).");
    texts.Work_Type_List_Counterpart = ini.Read_String("Language", "Work_Type_List", "");
    return texts;
}

std::optional<std::string> Language_File_Problem(const std::string& language_file_path)
{
    const std::string name = Utf8_To_Cp1250(language_file_path);
    const std::string prefix = " - OPEN_LANGUAGE_FILE - ";
    const std::string consequence = ", the texts show their keys";
    std::string content;
    int error_number = 0;
    if (!Read_Whole_File(language_file_path, content, error_number, Configuration_File_Size_Limit))
    {
        if (error_number == EFBIG)
            return prefix + "FILE_TOO_LARGE - file " + name + " is larger than " +
                   std::to_string(Configuration_File_Size_Limit) + " bytes" + consequence;
        if (error_number == ENOENT) return prefix + "FILE_NOT_FOUND - file " + name + " not found" + consequence;
        if (error_number == EISDIR) return prefix + "INVALID_FILE - " + name + " is a directory" + consequence;
        if (error_number == EINVAL) return prefix + "INVALID_FILE - " + name + " is not a regular file" + consequence;
        const File_Error error = File_Error_From_Errno(error_number);
        return prefix + "UNEXPECTED_ERROR - not possible to read file " + name + ". " + std::to_string(error.Code) +
               " - " + error.Text + consequence;
    }
    if (content.empty()) return prefix + "INVALID_FILE - file " + name + " is empty" + consequence;
    return std::nullopt;
}

std::string Read_Language_Text(const std::string& language_file_path, std::string_view section, std::string_view key)
{
    return Ini_File(language_file_path).Read_String(section, key, key);
}

std::string Read_Language_Text(const std::string& language_file_path, std::string_view section, std::string_view key,
                               std::string_view fallback)
{
    return Cut_To_Short_String(Ini_File(language_file_path).Read_String(section, key, fallback));
}

bool Is_Czech_Language_File(std::string_view language_file_path)
{
    const std::size_t slash = language_file_path.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? language_file_path : language_file_path.substr(slash + 1);
    return name == "Czech.lng";
}

void Read_Language_Section(const std::string& language_file_path, std::string_view section,
                           std::span<std::string> texts)
{
    const Ini_File ini = Ini_File::Read_Once(language_file_path);
    for (std::size_t key = 1; key < texts.size(); ++key)
    {
        if (std::optional<std::string> value = ini.Read_Value(section, std::to_string(key)))
            texts[key] = Cut_To_Short_String(*value);
    }
}
