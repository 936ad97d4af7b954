#include "platform/Code_Page.h"

#include <gtest/gtest.h>

TEST(Code_Page, EveryDefinedByteSurvivesARoundTripAndTheUndefinedOnesDoNot)
{
    for (int byte = 0; byte < 256; ++byte)
    {
        const std::string single(1, static_cast<char>(byte));
        const std::string utf8 = Cp1250_To_Utf8(single);
        const bool undefined = byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
        EXPECT_EQ(utf8 == "\xEF\xBF\xBD", undefined) << byte;
        EXPECT_EQ(Utf8_To_Cp1250(utf8), undefined ? "?" : single) << byte;
    }
}

TEST(Code_Page, CzechLettersMapToTheirCp1250Bytes)
{
    const std::string utf8 = "Příliš žluťoučký kůň úpěl ďábelské ódy ĚŠČŘŽÝÁÍÉŮÚŤĎŇ €";
    const std::string cp1250 =
        "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y "
        "\xCC\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xD9\xDA\x8D\xCF\xD2 \x80";
    EXPECT_EQ(Utf8_To_Cp1250(utf8), cp1250);
    EXPECT_EQ(Cp1250_To_Utf8(cp1250), utf8);
}

TEST(Code_Page, UnmappableAndMalformedInputBecomesQuestionMarks)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\xE2\x86\x96z", "a?z"},  // an arrow has no CP1250 byte
        {"\xF0\x9F\x98\x80", "?"},  // nor has an emoji
        {"\xC5", "?"},              // cut sequence
        {"\xC0\xAF", "??"},         // overlong form
        {"\xED\xA0\x80", "???"},    // surrogate
        {"\xFFx", "?x"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\xC2\x81", "?"},  // U+0081 is not the undefined byte 0x81
    };
    for (const auto& [utf8, cp1250] : cases) EXPECT_EQ(Utf8_To_Cp1250(utf8), cp1250);
}

TEST(Code_Page, CzechCapitalsEqualTheirSmallLettersIgnoringCase)
{
    EXPECT_TRUE(
        Cp1250_Equal_Ignoring_Case(Utf8_To_Cp1250("ĚŠČŘŽÝÁÍÉŮÚŤĎŇ Ł Ą Ż Ľ"), Utf8_To_Cp1250("ěščřžýáíéůúťďň ł ą ż ľ")));
}

TEST(Code_Page, SignsBesideTheLettersAreNoPairs)
{
    EXPECT_FALSE(Cp1250_Equal_Ignoring_Case(Utf8_To_Cp1250("×"), Utf8_To_Cp1250("÷")));
    EXPECT_FALSE(Cp1250_Equal_Ignoring_Case("@", "`"));
    EXPECT_FALSE(Cp1250_Equal_Ignoring_Case("ab", "abc"));
}
