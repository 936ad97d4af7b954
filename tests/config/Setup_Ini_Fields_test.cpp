#include "config/Setup_Ini_Fields.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <tuple>

#include "support/Test_Temporary_Directory.h"

namespace
{

bool Same_Name_As_The_File_Compares_It(std::string_view left, std::string_view right)
{
    if (left.size() != right.size()) return false;
    for (std::size_t index = 0; index < left.size(); ++index)
        if (std::tolower(static_cast<unsigned char>(left[index])) !=
            std::tolower(static_cast<unsigned char>(right[index])))
            return false;
    return true;
}

// A value for each key that is not its default and not any other key's value.
std::int32_t Other_Number(std::size_t index) { return 1000 + static_cast<std::int32_t>(index); }
std::string Other_Text(std::size_t index) { return "value " + std::to_string(index); }

class Setup_Ini_Fields_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Directory;
    std::string Setup_Path = Directory.File("Setup.ini");
};

TEST(Setup_Ini_Keys, EveryKeyHasANameOfItsOwnAndADefaultOfItsKind)
{
    for (std::size_t index = 0; index < std::size(Setup_Keys); ++index)
    {
        const Setup_Key_Entry& entry = Setup_Keys[index];
        SCOPED_TRACE(entry.Name);
        for (std::size_t other = 0; other < index; ++other)
            EXPECT_FALSE(Same_Name_As_The_File_Compares_It(entry.Name, Setup_Keys[other].Name));
        switch (entry.Kind)
        {
        case Setup_Kind::Marker:
        case Setup_Kind::Bool:
            EXPECT_TRUE(entry.Number == 0 || entry.Number == 1);
            EXPECT_TRUE(entry.Text.empty());
            break;
        case Setup_Kind::Integer: EXPECT_TRUE(entry.Text.empty()); break;
        case Setup_Kind::Color:
            EXPECT_TRUE(entry.Number >= 0 && entry.Number <= 0x00FFFFFF);
            EXPECT_TRUE(entry.Text.empty());
            break;
        case Setup_Kind::String:
        case Setup_Kind::File_Name: EXPECT_EQ(entry.Number, 0); break;
        }
    }
}

TEST_F(Setup_Ini_Fields_Test, AMissingFileGivesEveryDefault)
{
    const Ini_File ini(Setup_Path);
    for (const Setup_Key_Entry& entry : Setup_Keys)
    {
        SCOPED_TRACE(entry.Name);
        switch (entry.Kind)
        {
        case Setup_Kind::Marker: EXPECT_FALSE(Setup_Key_Exists(ini, entry.Key)); break;
        case Setup_Kind::Bool: EXPECT_EQ(Read_Setup_Bool(ini, entry.Key), entry.Number != 0); break;
        case Setup_Kind::Integer: EXPECT_EQ(Read_Setup_Integer(ini, entry.Key), entry.Number); break;
        case Setup_Kind::Color: EXPECT_EQ(Read_Setup_Color(ini, entry.Key), entry.Number); break;
        case Setup_Kind::String:
        case Setup_Kind::File_Name:
            EXPECT_EQ(Read_Setup_Text(ini, entry.Key), entry.Text);
            EXPECT_FALSE(Read_Setup_File_Name(ini, entry.Key));
            break;
        }
    }
}

// Each key written by the table into a new file lands in its own section under its own
// name, and reads back as written.
TEST_F(Setup_Ini_Fields_Test, EveryKeyIsWrittenAndReadInItsSectionUnderItsName)
{
    Ini_File ini(Setup_Path);
    std::string expected_main = "[Main_Setup]\r\n";
    std::string expected_visual = "[Visual_Setup]\r\n";
    for (std::size_t index = 0; index < std::size(Setup_Keys); ++index)
    {
        const Setup_Key_Entry& entry = Setup_Keys[index];
        std::string line = std::string(entry.Name) + "=";
        switch (entry.Kind)
        {
        case Setup_Kind::Marker:
        case Setup_Kind::Bool:
            ASSERT_TRUE(Write_Setup_Value(ini, entry.Key, entry.Number == 0));
            line += entry.Number == 0 ? "1" : "0";
            break;
        case Setup_Kind::Integer:
        case Setup_Kind::Color:
            ASSERT_TRUE(Write_Setup_Value(ini, entry.Key, Other_Number(index)));
            line += std::to_string(Other_Number(index));
            break;
        case Setup_Kind::String:
        case Setup_Kind::File_Name:
            ASSERT_TRUE(Write_Setup_Value(ini, entry.Key, std::string_view(Other_Text(index))));
            line += Other_Text(index);
            break;
        }
        (entry.Section == Setup_Section::Main_Setup ? expected_main : expected_visual) += line + "\r\n";
    }
    EXPECT_EQ(Directory.Read("Setup.ini"), expected_main + expected_visual);

    for (std::size_t index = 0; index < std::size(Setup_Keys); ++index)
    {
        const Setup_Key_Entry& entry = Setup_Keys[index];
        SCOPED_TRACE(entry.Name);
        switch (entry.Kind)
        {
        case Setup_Kind::Marker:
            EXPECT_TRUE(Setup_Key_Exists(ini, entry.Key));
            EXPECT_TRUE(Delete_Setup_Key(ini, entry.Key));
            EXPECT_FALSE(Setup_Key_Exists(ini, entry.Key));
            break;
        case Setup_Kind::Bool: EXPECT_EQ(Read_Setup_Bool(ini, entry.Key), entry.Number == 0); break;
        case Setup_Kind::Integer: EXPECT_EQ(Read_Setup_Integer(ini, entry.Key), Other_Number(index)); break;
        case Setup_Kind::Color: EXPECT_EQ(Read_Setup_Color(ini, entry.Key), std::uint32_t(Other_Number(index))); break;
        case Setup_Kind::String:
        case Setup_Kind::File_Name: EXPECT_EQ(Read_Setup_Text(ini, entry.Key), Other_Text(index)); break;
        }
    }
}

struct Sample
{
    bool Switch = Setup_Default<bool>(Setup_Key::Title_Bold);
    std::uint8_t Narrow = Setup_Default<std::uint8_t>(Setup_Key::Main_Form_Transparency);
    std::uint32_t Colour = Setup_Default<std::uint32_t>(Setup_Key::Header_Row_Text_Color);
    std::string Text{Setup_Default<std::string_view>(Setup_Key::Default_Work_Type)};
};
constexpr Setup_Field<Sample> Sample_Fields[] = {
    Setup_Field_Of<&Sample::Text>(Setup_Key::Default_Work_Type),
    Setup_Field_Of<&Sample::Switch>(Setup_Key::Title_Bold),
    Setup_Field_Of<&Sample::Narrow>(Setup_Key::Main_Form_Transparency),
    Setup_Field_Of<&Sample::Colour>(Setup_Key::Header_Row_Text_Color),
};

TEST_F(Setup_Ini_Fields_Test, AListOfFieldsIsWrittenInItsOrderAndReadBackNarrowFieldsKeepingTheirLowBits)
{
    const Sample written{true, 200, 0x00123456, "Programov\xE1n\xED"};
    Ini_File ini(Setup_Path);
    ASSERT_TRUE(Write_Setup_Fields(ini, Sample_Fields, written));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Main_Setup]\r\nDefault_Work_Type=Programov\xE1n\xED\r\n"
              "[Visual_Setup]\r\nTitle_Bold=1\r\nMain_Form_Transparency=200\r\n"
              "Header_Row_Text_Color=1193046\r\n");
    Sample read;
    Read_Setup_Fields(Ini_File(Setup_Path), Sample_Fields, read);
    EXPECT_EQ(std::tuple(read.Switch, int(read.Narrow), read.Colour, read.Text),
              std::tuple(true, 200, 0x00123456u, "Programov\xE1n\xED"));

    Directory.Write("Setup.ini", "[Visual_Setup]\r\nMain_Form_Transparency=$1FF\r\nHeader_Row_Text_Color=clRed\r\n");
    read = Sample{};
    Read_Setup_Fields(Ini_File(Setup_Path), Sample_Fields, read);
    EXPECT_EQ(std::tuple(read.Switch, int(read.Narrow), read.Colour, read.Text),
              std::tuple(false, 255, 0x000000FFu, "DEFAULT"));
}

}  // namespace
