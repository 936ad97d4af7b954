#include "app/Language_File.h"

#include <gtest/gtest.h>

#include "platform/Test_Temporary_Directory.h"

namespace
{

TEST(Language_File, MissingFileGivesTheKeysAndMessagesTheKeyWithALineBreak)
{
    Test_Temporary_Directory directory;
    const Language_Texts texts = Load_Language_Texts(directory.File("Missing.lng"));
    for (int key = 1; key <= 4; ++key) EXPECT_EQ(texts.Main_Form_Captions[key], std::to_string(key));
    for (int key = 1; key <= 7; ++key) EXPECT_EQ(texts.Day_Names[key], std::to_string(key));
    for (int key = 0; key <= 5; ++key) EXPECT_EQ(texts.Column_Names[key], std::to_string(key));
    EXPECT_EQ(texts.Day_Row_Label, "6");
    EXPECT_EQ(texts.Tray_Hint_Format, "1");
    EXPECT_EQ(texts.Tray_Text_2, "2");
    EXPECT_EQ(texts.Tray_Text_3, "3");
    for (int key = 1; key <= 19; ++key) EXPECT_EQ(texts.Message_Strings[key], std::to_string(key) + "#");
    for (int key = 1; key <= 6; ++key) EXPECT_EQ(texts.Message_Buttons[key], std::to_string(key));
    EXPECT_EQ(Read_Language_Text(directory.File("Missing.lng"), "Setup_Form", "12"), "12");
    EXPECT_FALSE(texts.Is_Czech_Language);
}

TEST(Language_File, TextsAreCutHashesReplacedAndEmptyValuesKept)
{
    Test_Temporary_Directory directory;
    const std::string long_text(300, 'L');
    directory.Write("Texts.lng", "[Message_Strings]\r\n2=" + long_text + "\r\n3=\r\n4=a#b\r\n"
                                 "[Tray_Icon]\r\n1=" + long_text + "#%0:s\r\n2=" + long_text + "\r\n3=first#second#" +
                                     long_text + "\r\n"
                                 "[Column_Names]\r\n6=\r\n"
                                 "[Main_Form]\r\n1=Add\r\n"
                                 "[Setup_Form]\r\n1=\r\n2=" + long_text + "\r\n");
    const std::string path = directory.File("Texts.lng");
    const Language_Texts texts = Load_Language_Texts(path);
    EXPECT_EQ(texts.Message_Strings[2], std::string(255, 'L'));
    EXPECT_EQ(texts.Message_Strings[3], "");
    EXPECT_EQ(texts.Message_Strings[4], "a#b");  // the dialog turns these into line breaks at use
    EXPECT_EQ(texts.Tray_Hint_Format, long_text + "#%0:s");
    EXPECT_EQ(texts.Tray_Text_2, std::string(255, 'L'));
    EXPECT_EQ(texts.Tray_Text_3, "first\rsecond\r" + long_text);
    EXPECT_EQ(texts.Day_Row_Label, "");
    EXPECT_EQ(texts.Main_Form_Captions[1], "Add");
    EXPECT_EQ(texts.Main_Form_Captions[2], "2");
    EXPECT_EQ(Read_Language_Text(path, "Setup_Form", "1"), "");
    EXPECT_EQ(Read_Language_Text(path, "setup_form", "2"), long_text);
    EXPECT_EQ(Read_Language_Text(path, "Update_Record_Form", "7"), "7");
}

TEST(Language_File, OnlyTheExactNameCzechLngIsCzech)
{
    EXPECT_TRUE(Is_Czech_Language_File("/opt/zl/Czech.lng"));
    EXPECT_TRUE(Is_Czech_Language_File("Czech.lng"));
    EXPECT_TRUE(Is_Czech_Language_File("/opt/zl/lang/Czech.lng"));
    EXPECT_FALSE(Is_Czech_Language_File("/opt/zl/czech.lng"));
    EXPECT_FALSE(Is_Czech_Language_File("/opt/zl/CZECH.LNG"));
    EXPECT_FALSE(Is_Czech_Language_File("/opt/zl/Czech.lng.bak"));
    EXPECT_FALSE(Is_Czech_Language_File("/opt/Czech.lng/English.lng"));
    EXPECT_FALSE(Is_Czech_Language_File("/opt/zl/English.lng"));
    EXPECT_FALSE(Is_Czech_Language_File(""));

    Test_Temporary_Directory directory;
    EXPECT_TRUE(Load_Language_Texts(directory.File("Czech.lng")).Is_Czech_Language);
    EXPECT_FALSE(Load_Language_Texts(directory.File("czech.lng")).Is_Czech_Language);
}

}  // namespace
