#include "config/Language_File.h"

#include <gtest/gtest.h>

#include "support/Test_Temporary_Directory.h"

TEST(Language_File, MissingFileGivesTheKeysAndMessagesTheKeyWithALineBreak)
{
    Test_Temporary_Directory directory;
    const Language_Texts texts = Load_Language_Texts(directory.File("Missing.lng"));
    for (int key = 1; key <= 7; ++key)
    {
        const std::string name = std::to_string(key);
        if (key <= 4)
        {
            EXPECT_EQ(texts.Main_Form_Captions[key], name);
        }
        EXPECT_EQ(texts.Day_Names[key], name);
        if (key <= 6)
        {
            EXPECT_EQ(texts.Message_Buttons[key], name);
        }
    }
    for (int key = 0; key <= 5; ++key) EXPECT_EQ(texts.Column_Names[key], std::to_string(key));
    for (int key = 1; key <= 19; ++key) EXPECT_EQ(texts.Message_Strings[key], std::to_string(key) + "#");
    EXPECT_EQ(std::tuple(texts.Day_Row_Label, texts.Tray_Hint_Format, texts.Tray_Text_2, texts.Tray_Text_3),
              std::tuple("6", "1", "2", "3"));
    EXPECT_EQ(Read_Language_Text(directory.File("Missing.lng"), "Setup_Form", "12"), "12");
    EXPECT_FALSE(texts.Is_Czech_Language);
}

TEST(Language_File, TextsAreCutHashesReplacedAndEmptyValuesKept)
{
    Test_Temporary_Directory directory;
    const std::string long_text(300, 'L');
    const std::string cut(255, 'L');
    directory.Write("Texts.lng", "[Message_Strings]\r\n2=" + long_text +
                                     "\r\n3=\r\n4=a#b\r\n"
                                     "[Tray_Icon]\r\n1=" +
                                     long_text + "#%0:s\r\n2=" + long_text + "\r\n3=first#second#" + long_text +
                                     "\r\n[Column_Names]\r\n6=\r\n[Main_Form]\r\n1=Add\r\n"
                                     "[Setup_Form]\r\n1=\r\n2=" +
                                     long_text + "\r\n");
    const std::string path = directory.File("Texts.lng");
    const Language_Texts texts = Load_Language_Texts(path);
    // "#" in messages stays: the dialog turns it into line breaks at use.
    EXPECT_EQ(std::tuple(texts.Message_Strings[2], texts.Message_Strings[3], texts.Message_Strings[4]),
              std::tuple(cut, "", "a#b"));
    EXPECT_EQ(std::tuple(texts.Tray_Hint_Format, texts.Tray_Text_2, texts.Tray_Text_3),
              std::tuple(long_text + "#%0:s", cut, "first\rsecond\r" + long_text));
    EXPECT_EQ(std::tuple(texts.Day_Row_Label, texts.Main_Form_Captions[1], texts.Main_Form_Captions[2]),
              std::tuple("", "Add", "2"));
    EXPECT_EQ(Read_Language_Text(path, "Setup_Form", "1"), "");
    EXPECT_EQ(Read_Language_Text(path, "setup_form", "2"), long_text);
    EXPECT_EQ(Read_Language_Text(path, "Update_Record_Form", "7"), "7");
}

TEST(Language_File, OnlyTheExactNameCzechLngIsCzech)
{
    for (const char* path : {"/opt/zl/Czech.lng", "Czech.lng", "/opt/zl/lang/Czech.lng"})
        EXPECT_TRUE(Is_Czech_Language_File(path)) << path;
    for (const char* path : {"/opt/zl/czech.lng", "/opt/zl/CZECH.LNG", "/opt/zl/Czech.lng.bak",
                             "/opt/Czech.lng/English.lng", "/opt/zl/English.lng", ""})
        EXPECT_FALSE(Is_Czech_Language_File(path)) << path;
    Test_Temporary_Directory directory;
    EXPECT_TRUE(Load_Language_Texts(directory.File("Czech.lng")).Is_Czech_Language);
    EXPECT_FALSE(Load_Language_Texts(directory.File("czech.lng")).Is_Czech_Language);
}
