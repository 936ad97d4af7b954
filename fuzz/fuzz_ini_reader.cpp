// Setup.ini of any content: the start-up reads every key of the settings table, and a
// write or a delete of one key changes that one line only, every other byte stays.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Fuzz_Support.h"
#include "config/Settings_File.h"
#include "platform/Ini_File.h"
#include "platform/Short_String.h"

namespace
{

struct Key_Name
{
    const char* Section;
    const char* Key;
};

constexpr std::array<Key_Name, 8> Written_Keys = {{
    {"Main_Setup", "Default_Remark"},
    {"Main_Setup", "Target_Log_File_Format"},
    {"Main_Setup", "First_Start"},
    {"Visual_Setup", "Main_Form_Left"},
    {"Visual_Setup", "Setup_Form_Top"},
    {"main_setup", "language_file_name"},
    {"New_Section", "New_Key"},
    {"Visual_Setup", "Main_Form_Color"},
}};

constexpr std::array<std::string_view, 6> Written_Values = {
    "", "  padded value\t", "%0:s;%1:s", "-123", "line\r\nbreak", "=[x]=",
};

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The part in which two texts differ, after their common start and common end.
struct Difference
{
    std::string_view Before;
    std::string_view After;
};

Difference Differ(std::string_view before, std::string_view after)
{
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {before.substr(prefix, before.size() - prefix - suffix),
            after.substr(prefix, after.size() - prefix - suffix)};
}

std::size_t Line_Feeds(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Fuzz_Directory directory;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Program_Paths paths(directory.Path());
    const std::string ini_path = Setup_Ini_Path(paths);
    directory.Write("Setup.ini", bytes);

    Settings settings;
    Start_Up_Values start_up;
    Read_Start_Up_Settings(paths, settings, start_up);
    ZL_FUZZ_CHECK(settings.Language_File_Path.size() <= Short_String_Max_Length);
    ZL_FUZZ_CHECK(settings.Target_Log_File_Format.size() <= Short_String_Max_Length);
    ZL_FUZZ_CHECK(settings.Main_Form_Color <= 0x00FFFFFF && settings.Title_Color <= 0x00FFFFFF);
    (void)Read_Display_End_Splash_Screen(ini_path);
    (void)Read_New_Log_Record_Working_Hours(ini_path);
    (void)Read_Setup_Form_File_Values(ini_path);
    Read_Back_Live_Settings(ini_path, settings);

    // The start-up's only change: the First_Start line goes, all else stays.
    const std::string after_start_up = directory.Read("Setup.ini");
    const Difference start_up_change = Differ(bytes, after_start_up);
    ZL_FUZZ_CHECK(start_up_change.After.empty());
    ZL_FUZZ_CHECK(Line_Feeds(start_up_change.Before) <= 1);
    ZL_FUZZ_CHECK(start_up.First_Start || start_up_change.Before.empty());

    std::size_t choice = 0;
    for (const unsigned char byte : bytes) choice = choice * 31 + byte;
    const Key_Name& name = Written_Keys[choice % Written_Keys.size()];
    const std::string_view value = Written_Values[(choice / Written_Keys.size()) % Written_Values.size()];

    Ini_File ini(ini_path);
    ZL_FUZZ_CHECK(ini.Write_String(name.Section, name.Key, value));
    const std::string after_write = directory.Read("Setup.ini");
    const Difference write_change = Differ(after_start_up, after_write);
    // One line's text replaced, or one key line added (with its section and the line end
    // that the last line lacked).
    ZL_FUZZ_CHECK(Line_Feeds(write_change.Before) == 0);
    ZL_FUZZ_CHECK(Line_Feeds(write_change.After) <= 3);
    const std::string_view single_line = value.substr(0, value.find_first_of("\r\n"));
    const std::optional<std::string> read_back = ini.Read_Value(name.Section, name.Key);
    ZL_FUZZ_CHECK(read_back && *read_back == Trim(single_line));

    const bool existed_before_delete = ini.Key_Exists(name.Section, name.Key);
    ZL_FUZZ_CHECK(existed_before_delete);
    ZL_FUZZ_CHECK(ini.Delete_Key(name.Section, name.Key));
    const std::string after_delete = directory.Read("Setup.ini");
    const Difference delete_change = Differ(after_write, after_delete);
    // Exactly one line with its line end is gone.
    ZL_FUZZ_CHECK(delete_change.After.empty());
    ZL_FUZZ_CHECK(!delete_change.Before.empty());
    ZL_FUZZ_CHECK(Line_Feeds(delete_change.Before) <= 1);
    ZL_FUZZ_CHECK(after_write.size() - after_delete.size() >= single_line.size());
    return 0;
}
