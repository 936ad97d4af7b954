#include "config/Language_Choice.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "config/Settings_File.h"
#include "config/Setup_Ini_Keys.h"
#include "platform/Code_Page.h"
#include "platform/Ini_File.h"

namespace
{
std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

constexpr std::string_view Main_Section = "Main_Setup";
}  // namespace

Locale_Environment Process_Locale_Environment()
{
    return {Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

std::string Language_File_For_Locale(const Locale_Environment& locale)
{
    // The first one set decides, as it does for the C library's messages.
    for (const std::string* value : {&locale.Lc_All, &locale.Lc_Messages, &locale.Lang})
        if (!value->empty()) return value->rfind("cs", 0) == 0 ? "Czech.lng" : "English.lng";
    return "English.lng";
}

std::string First_Start_Language_File(const Program_Paths& paths, const Locale_Environment& locale)
{
    const Ini_File ini = Ini_File::Read_Once(Setup_Ini_Path(paths));
    std::error_code error;
    const bool setup_exists = std::filesystem::exists(ini.Path(), error);
    const bool first_start = !setup_exists || ini.Key_Exists(Main_Section, Setup_Entry(Setup_Key::First_Start).Name);
    if (!first_start || ini.Key_Exists(Main_Section, Setup_Entry(Setup_Key::Language_File_Name).Name)) return {};
    std::string chosen = Language_File_For_Locale(locale);
    // A folder without that file keeps the program's own default.
    if (!std::filesystem::is_regular_file(paths.File(chosen), error))
        chosen = std::string(Setup_Entry(Setup_Key::Language_File_Name).Text);
    return chosen;
}

bool Record_First_Start_Language(const Program_Paths& paths, const Locale_Environment& locale)
{
    const std::string chosen = First_Start_Language_File(paths, locale);
    if (chosen.empty()) return true;
    return Ini_File(Setup_Ini_Path(paths))
        .Write_String(Main_Section, Setup_Entry(Setup_Key::Language_File_Name).Name, chosen);
}

std::string Language_File_Name_For_Start(const Program_Paths& paths, const Locale_Environment& locale)
{
    if (std::string chosen = First_Start_Language_File(paths, locale); !chosen.empty()) return chosen;
    const std::string path = Read_Settings(paths).Language_File_Path;
    return path.substr(std::min(path.size(), paths.Program_Directory.size()));
}

std::vector<Language_File_Entry> Available_Language_Files(const Program_Paths& paths)
{
    std::vector<Language_File_Entry> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(paths.Program_Directory, error))
    {
        const std::string name = entry.path().filename().string();
        if (name.size() <= 4 || name.compare(name.size() - 4, 4, ".lng") != 0 || !entry.is_regular_file(error))
            continue;
        std::string own_name = Ini_File(entry.path().string()).Read_String("Language", "Name", "");
        if (own_name.empty()) own_name = File_Name_To_Cp1250(name.substr(0, name.size() - 4));
        files.push_back({name, own_name});
    }
    std::sort(files.begin(), files.end(),
              [](const Language_File_Entry& a, const Language_File_Entry& b) { return a.File_Name < b.File_Name; });
    return files;
}
