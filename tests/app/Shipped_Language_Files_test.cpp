// Guards the language files that come with the program: every key is defined, and every
// pattern formats with exactly the arguments the program passes to it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "app/Language_File.h"
#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "platform/Ini_File.h"

namespace
{

struct Section_Keys
{
    const char* Section;
    int First;
    int Last;
};

constexpr Section_Keys Required_Keys[] = {
    {"Main_Form", 1, 4},       {"Day_Names", 1, 7},        {"Column_Names", 0, 6},
    {"Tray_Icon", 1, 3},       {"Message_Strings", 1, 19}, {"Message_Buttons", 1, 6},
    {"Setup_Form", 1, 19},     {"Update_Record_Form", 1, 7},
};

// Arguments each message pattern is formatted with; messages not listed take none.
const std::map<int, int> Message_Argument_Counts = {{2, 1}, {3, 1}, {11, 2}, {15, 6}, {16, 1}, {17, 1}};

std::vector<std::string> Arguments(int count)
{
    std::vector<std::string> arguments;
    for (int index = 0; index < count; ++index) arguments.push_back("<" + std::to_string(index) + ">");
    return arguments;
}

std::string Without_Hashes(std::string text)
{
    std::erase(text, '#');
    return text;
}

class Shipped_Language_File : public ::testing::TestWithParam<const char*>
{
protected:
    std::string Path = std::string(ZL_SOURCE_DATA_DIR) + "/" + GetParam();
};

TEST_P(Shipped_Language_File, DefinesEveryKeyWithAText)
{
    const Ini_File ini(Path);
    for (const Section_Keys& keys : Required_Keys)
    {
        for (int key = keys.First; key <= keys.Last; ++key)
        {
            const std::optional<std::string> value = ini.Read_Value(keys.Section, std::to_string(key));
            ASSERT_TRUE(value.has_value()) << keys.Section << " " << key;
            EXPECT_FALSE(value->empty()) << keys.Section << " " << key;
            EXPECT_LE(value->size(), 255u) << keys.Section << " " << key;
        }
    }
}

TEST_P(Shipped_Language_File, LoadingFindsEveryTextInsteadOfItsFallback)
{
    const Language_Texts texts = Load_Language_Texts(Path);
    auto is_fallback = [](const std::string& text, int key) {
        return text == std::to_string(key) || text == std::to_string(key) + "#";
    };
    for (int key = 1; key <= 4; ++key) EXPECT_FALSE(is_fallback(texts.Main_Form_Captions[key], key)) << key;
    for (int key = 1; key <= 7; ++key) EXPECT_FALSE(is_fallback(texts.Day_Names[key], key)) << key;
    for (int key = 0; key <= 5; ++key) EXPECT_FALSE(is_fallback(texts.Column_Names[key], key)) << key;
    EXPECT_FALSE(is_fallback(texts.Day_Row_Label, 6));
    EXPECT_FALSE(is_fallback(texts.Tray_Hint_Format, 1));
    EXPECT_FALSE(is_fallback(texts.Tray_Text_2, 2));
    EXPECT_FALSE(is_fallback(texts.Tray_Text_3, 3));
    EXPECT_EQ(texts.Tray_Text_3.find('#'), std::string::npos);
    for (int key = 1; key <= 19; ++key) EXPECT_FALSE(is_fallback(texts.Message_Strings[key], key)) << key;
    for (int key = 1; key <= 6; ++key) EXPECT_FALSE(is_fallback(texts.Message_Buttons[key], key)) << key;
    for (int key = 1; key <= 19; ++key)
        EXPECT_NE(Read_Language_Text(Path, "Setup_Form", std::to_string(key)), std::to_string(key)) << key;
    for (int key = 1; key <= 7; ++key)
        EXPECT_NE(Read_Language_Text(Path, "Update_Record_Form", std::to_string(key)), std::to_string(key)) << key;
}

TEST_P(Shipped_Language_File, EveryPatternFitsExactlyItsArguments)
{
    const Language_Texts texts = Load_Language_Texts(Path);
    for (int key = 1; key <= 19; ++key)
    {
        const auto found = Message_Argument_Counts.find(key);
        const int count = found == Message_Argument_Counts.end() ? 0 : found->second;
        // The summary fragments lose their "#" before formatting, the dialog's texts turn them into breaks.
        const std::string pattern = key >= 16 && key <= 18 ? Without_Hashes(texts.Message_Strings[key])
                                                           : texts.Message_Strings[key];
        EXPECT_TRUE(Format(pattern, Arguments(count)).has_value()) << "message " << key;
        if (count > 0)
        {
            EXPECT_FALSE(Format(pattern, Arguments(count - 1)).has_value()) << "message " << key;
        }
    }
    EXPECT_TRUE(Format(texts.Tray_Hint_Format, Arguments(1)).has_value());
    EXPECT_FALSE(Format(texts.Tray_Hint_Format, Arguments(0)).has_value());
    // The file-name messages and the summary show every argument they are given.
    for (int key : {2, 3, 15})
    {
        const std::string text = *Format(texts.Message_Strings[key], Arguments(Message_Argument_Counts.at(key)));
        for (int index = 0; index < Message_Argument_Counts.at(key); ++index)
            EXPECT_NE(text.find("<" + std::to_string(index) + ">"), std::string::npos) << key << " " << index;
    }
}

TEST_P(Shipped_Language_File, ButtonsOfOneDialogStartWithDifferentLetters)
{
    const Language_Texts texts = Load_Language_Texts(Path);
    for (const auto& [first, second] : {std::pair{2, 3}, std::pair{4, 6}, std::pair{5, 6}})
    {
        const std::string first_letter = Cp1250_To_Utf8(texts.Message_Buttons[first].substr(0, 1));
        const std::string second_letter = Cp1250_To_Utf8(texts.Message_Buttons[second].substr(0, 1));
        EXPECT_NE(first_letter, second_letter) << first << " " << second;
    }
}

INSTANTIATE_TEST_SUITE_P(Data, Shipped_Language_File, ::testing::Values("Czech.lng", "English.lng"));

TEST(Shipped_Language_Files, CzechFileIsCp1250WithCrLfAndCzechDayNames)
{
    const std::string path = std::string(ZL_SOURCE_DATA_DIR) + "/Czech.lng";
    const Language_Texts texts = Load_Language_Texts(path);
    EXPECT_TRUE(texts.Is_Czech_Language);
    EXPECT_EQ(texts.Day_Names[1], Utf8_To_Cp1250("Neděle"));
    EXPECT_EQ(texts.Day_Names[2], Utf8_To_Cp1250("Pondělí"));
    EXPECT_EQ(texts.Day_Names[7], Utf8_To_Cp1250("Sobota"));

    for (const char* name : {"Czech.lng", "English.lng", "Work_Type_List", "Setup.ini"})
    {
        std::ifstream stream(std::string(ZL_SOURCE_DATA_DIR) + "/" + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t index = 0; index < bytes.size(); ++index)
        {
            if (bytes[index] == '\n')
            {
                ASSERT_TRUE(index > 0 && bytes[index - 1] == '\r') << name << " at " << index;
            }
        }
        EXPECT_EQ(Utf8_To_Cp1250(Cp1250_To_Utf8(bytes)), bytes) << name;  // no undefined CP1250 bytes
        EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << name << " looks like UTF-8";
    }
}

}  // namespace
