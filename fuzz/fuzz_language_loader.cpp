// A language file of any content loads: every text that the program keeps as a short
// string holds at most 255 bytes, and the long texts are whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Fuzz_Support.h"
#include "config/Language_File.h"
#include "platform/Ini_File.h"
#include "platform/Short_String.h"

namespace
{

template <typename Texts>
void Check_Short(const Texts& texts)
{
    for (const std::string& text : texts) ZL_FUZZ_CHECK(text.size() <= Short_String_Max_Length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Fuzz_Directory directory;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    directory.Write("Czech.lng", bytes);
    const std::string path = directory.File("Czech.lng");

    const Language_Texts texts = Load_Language_Texts(path);
    ZL_FUZZ_CHECK(texts.Language_File_Path == path);
    ZL_FUZZ_CHECK(texts.Is_Czech_Language);
    Check_Short(texts.Main_Form_Captions);
    Check_Short(texts.Day_Names);
    Check_Short(texts.Column_Names);
    Check_Short(texts.Message_Strings);
    Check_Short(texts.Message_Buttons);
    ZL_FUZZ_CHECK(texts.Day_Row_Label.size() <= Short_String_Max_Length);
    ZL_FUZZ_CHECK(texts.Tray_Text_2.size() <= Short_String_Max_Length);
    ZL_FUZZ_CHECK(texts.Tray_Text_3.find('#') == std::string::npos);

    // A short text is the first 255 bytes of what the file holds; the long ones are whole.
    const Ini_File ini(path);
    ZL_FUZZ_CHECK(texts.Message_Strings[7] == Cut_To_Short_String(ini.Read_String("Message_Strings", "7", "7#")));
    ZL_FUZZ_CHECK(texts.Day_Names[1] == Cut_To_Short_String(ini.Read_String("Day_Names", "1", "1")));
    ZL_FUZZ_CHECK(texts.Tray_Hint_Format == ini.Read_String("Tray_Icon", "1", "1"));
    std::string tray_text_3 = ini.Read_String("Tray_Icon", "3", "3");
    std::replace(tray_text_3.begin(), tray_text_3.end(), '#', '\r');
    ZL_FUZZ_CHECK(texts.Tray_Text_3 == tray_text_3);

    // The dialogs read single texts each time they open.
    ZL_FUZZ_CHECK(Read_Language_Text(path, "Setup_Form", "1") == ini.Read_String("Setup_Form", "1", "1"));
    (void)Read_Language_Text(path, "Update_Record_Form", "12");
    return 0;
}
