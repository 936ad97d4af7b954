// Guards the language files that come with the program: every key is defined, and every
// pattern formats with exactly the arguments the program passes to it.
#include <gtest/gtest.h>

#include <map>

#include "config/Language_File.h"
#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "platform/Ini_File.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

std::string Data_File(const std::string& name) { return std::string(ZL_SOURCE_DATA_DIR) + "/" + name; }

std::vector<std::string> Arguments(int count)
{
    std::vector<std::string> arguments;
    for (int index = 0; index < count; ++index) arguments.push_back("<" + std::to_string(index) + ">");
    return arguments;
}

class Shipped_Language_File : public ::testing::TestWithParam<const char*>
{
protected:
    std::string Path = Data_File(GetParam());
    Language_Texts Texts = Load_Language_Texts(Path);
};

TEST_P(Shipped_Language_File, DefinesEveryKeyWithAShortTextThatTheLoaderFinds)
{
    const Ini_File ini(Path);
    const std::tuple<const char*, int, int> sections[] = {
        {"Main_Form", 1, 4},        {"Day_Names", 1, 7},       {"Column_Names", 0, 6}, {"Tray_Icon", 1, 3},
        {"Message_Strings", 1, 19}, {"Message_Buttons", 1, 6}, {"Setup_Form", 1, 22},  {"Update_Record_Form", 1, 7}};
    for (const auto& [section, first, last] : sections)
    {
        for (int key = first; key <= last; ++key)
        {
            const std::optional<std::string> value = ini.Read_Value(section, std::to_string(key));
            EXPECT_TRUE(value && !value->empty() && value->size() <= 255) << section << " " << key;
        }
    }
    // A text equal to its key is the loader's fallback: it looked in the wrong place.
    const auto expect_found = [](const std::string& text, int key) {
        EXPECT_NE(text, std::to_string(key));
        EXPECT_NE(text, std::to_string(key) + "#");
    };
    for (int key = 1; key <= 4; ++key) expect_found(Texts.Main_Form_Captions[key], key);
    for (int key = 1; key <= 7; ++key) expect_found(Texts.Day_Names[key], key);
    for (int key = 0; key <= 5; ++key) expect_found(Texts.Column_Names[key], key);
    for (int key = 1; key <= 19; ++key) expect_found(Texts.Message_Strings[key], key);
    for (int key = 1; key <= 6; ++key) expect_found(Texts.Message_Buttons[key], key);
    expect_found(Texts.Day_Row_Label, 6);
    expect_found(Texts.Tray_Hint_Format, 1);
    expect_found(Texts.Tray_Text_2, 2);
    expect_found(Texts.Tray_Text_3, 3);
    EXPECT_EQ(Texts.Tray_Text_3.find('#'), std::string::npos);
}

TEST_P(Shipped_Language_File, EveryPatternFitsExactlyItsArguments)
{
    // Arguments each message pattern is formatted with; messages not listed take none.
    const std::map<int, int> argument_counts = {{2, 1}, {3, 1}, {11, 2}, {15, 6}, {16, 1}, {17, 1}};
    for (int key = 1; key <= 19; ++key)
    {
        const int count = argument_counts.contains(key) ? argument_counts.at(key) : 0;
        // The summary fragments lose their "#" before formatting, the dialog's texts turn them into breaks.
        std::string pattern = Texts.Message_Strings[key];
        if (key >= 16 && key <= 18) std::erase(pattern, '#');
        const std::optional<std::string> text = Format(pattern, Arguments(count));
        ASSERT_TRUE(text.has_value()) << "message " << key;
        if (count > 0)
        {
            EXPECT_FALSE(Format(pattern, Arguments(count - 1)).has_value()) << "message " << key;
        }
        // The file-name messages and the summary show every argument they are given.
        for (int index = 0; index < count && (key == 2 || key == 3 || key == 15); ++index)
            EXPECT_NE(text->find("<" + std::to_string(index) + ">"), std::string::npos) << key << " " << index;
    }
    EXPECT_TRUE(Format(Texts.Tray_Hint_Format, Arguments(1)).has_value());
    EXPECT_FALSE(Format(Texts.Tray_Hint_Format, Arguments(0)).has_value());
    // The settings dialog's refusals show the name or the pattern they refuse.
    for (const char* key : {"21", "22"})
    {
        const std::optional<std::string> text = Format(Read_Language_Text(Path, "Setup_Form", key), Arguments(1));
        ASSERT_TRUE(text.has_value()) << key;
        EXPECT_NE(text->find("<0>"), std::string::npos) << key;
    }
}

TEST_P(Shipped_Language_File, SaveWarningTextsAreTheFilesOwnAndFitTheirArguments)
{
    const Ini_File ini(Path);
    for (int key = 1; key <= 4; ++key)
    {
        const std::optional<std::string> value = ini.Read_Value("Save_Warning", std::to_string(key));
        EXPECT_TRUE(value && !value->empty() && value->size() <= 255) << key;
    }
    EXPECT_EQ(Texts.Save_Failed_Message, ini.Read_Value("Save_Warning", "1").value_or(""));
    for (const auto& [pattern, count] :
         {std::pair{Texts.Save_Failed_Message, 1}, std::pair{Texts.Other_Failure_Reason, 2}})
    {
        EXPECT_TRUE(Format(pattern, Arguments(count)).has_value()) << pattern;
        EXPECT_FALSE(Format(pattern, Arguments(count - 1)).has_value()) << pattern;
    }
    EXPECT_TRUE(Format(Texts.Disk_Full_Reason, {}).has_value());
    EXPECT_TRUE(Format(Texts.Access_Denied_Reason, {}).has_value());
}

TEST(Shipped_Language_Files, ALanguageFileWithoutTheSaveWarningGetsReadableTextsNotKeys)
{
    Test_Temporary_Directory directory;
    directory.Write("Old.lng", "[Message_Strings]\r\n1=x\r\n");
    const Language_Texts texts = Load_Language_Texts(directory.File("Old.lng"));
    for (const std::string& text :
         {texts.Save_Failed_Message, texts.Disk_Full_Reason, texts.Access_Denied_Reason, texts.Other_Failure_Reason})
        EXPECT_GT(text.size(), 10u) << text;
    EXPECT_NE(Format(texts.Save_Failed_Message, {"<reason>"}).value_or("").find("<reason>"), std::string::npos);
}

TEST_P(Shipped_Language_File, ButtonsOfOneDialogStartWithDifferentLetters)
{
    const auto first_letter = [&](int button) {
        return Cp1250_To_Utf8(Texts.Message_Buttons[button].substr(0, 1));
    };
    for (const auto& [first, second] : {std::pair{2, 3}, std::pair{4, 6}, std::pair{5, 6}})
        EXPECT_NE(first_letter(first), first_letter(second)) << first << " " << second;
}

INSTANTIATE_TEST_SUITE_P(Data, Shipped_Language_File, ::testing::Values("Czech.lng", "English.lng"));

TEST(Shipped_Language_Files, CzechFileHasCzechDayNamesAndEveryDataFileIsCp1250WithCrLf)
{
    const Language_Texts texts = Load_Language_Texts(Data_File("Czech.lng"));
    EXPECT_TRUE(texts.Is_Czech_Language);
    EXPECT_EQ(std::tuple(texts.Day_Names[1], texts.Day_Names[2], texts.Day_Names[7]),
              std::tuple(Utf8_To_Cp1250("Neděle"), Utf8_To_Cp1250("Pondělí"), "Sobota"));

    for (const char* name : {"Czech.lng", "English.lng", "Work_Type_List", "Setup.ini"})
    {
        const std::string bytes = Test_Temporary_Directory::Read_File(Data_File(name));
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t index = bytes.find('\n'); index != std::string::npos; index = bytes.find('\n', index + 1))
            ASSERT_TRUE(index > 0 && bytes[index - 1] == '\r') << name << " at " << index;
        EXPECT_EQ(Utf8_To_Cp1250(Cp1250_To_Utf8(bytes)), bytes) << name;  // no undefined CP1250 bytes
        EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << name << " looks like UTF-8";
    }
}

}  // namespace
