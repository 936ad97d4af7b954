#include "platform/Format.h"

#include <gtest/gtest.h>

namespace
{

struct Format_Case
{
    const char* Pattern;
    std::vector<std::string> Arguments;
    const char* Expected;
};

TEST(Format, SpecifiersTakeTheirArgumentsWithWidthPrecisionAndAlignment)
{
    const Format_Case cases[] = {
        {"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s",
         {"Po", "07.12.2026", "08:00 - 16:30", "vývoj", "08:30", "r"},
         "Po;07.12.2026;08:00 - 16:30;vývoj;08:30;r"},
        {"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", {"", "", "", "work", "00:30", ""}, ";;;work;00:30;"},
        // An unindexed specifier takes the argument after the one used last.
        {"%s|%s|%s", {"a", "b", "c"}, "a|b|c"},
        {"%2:s %s %0:s %s", {"a", "b", "c", "d"}, "c d a b"},
        {"%1:s%1:s", {"a", "b"}, "bb"},
        {"no placeholders", {}, "no placeholders"},
        {"", {}, ""},
        {"unused %0:s", {"x", "y", "z"}, "unused x"},
        {"[%5s]", {"ab"}, "[   ab]"},
        {"[%-5s]", {"ab"}, "[ab   ]"},
        {"[%0:-5s]", {"ab"}, "[ab   ]"},
        {"[%.2s]", {"abcdef"}, "[ab]"},
        {"[%1:6.3s]", {"x", "abcdef"}, "[   abc]"},
        {"[%2s]", {"abcdef"}, "[abcdef]"},
        {"100%% %s", {"done"}, "100% done"},
        {"%S", {"upper"}, "upper"},
        {"#%0:s#", {"a#b"}, "#a#b#"},
    };
    for (const Format_Case& test : cases)
        EXPECT_EQ(Format(test.Pattern, test.Arguments), test.Expected) << test.Pattern;
    EXPECT_EQ(Format("%4096s", {"x"}), std::string(4095, ' ') + "x");  // the largest accepted width
}

TEST(Format, PatternsThatDoNotFitTheirArgumentsFail)
{
    for (const char* pattern :
         {"%d",   "%0:d",  "%x",          "%f",    "%u", "%p",  "%*s",  "%0:*s", "%.*s",
          "%",    "abc%",  "%0:",         "%-",    "%5", "%.3", "%1:s", "%s%s",  "%99999999999999999999:s",
          "%5-s", "%-0:s", "%999999999s", "%4097s"})
        EXPECT_FALSE(Format(pattern, {"only"}).has_value()) << pattern;
    EXPECT_FALSE(Format("%s", {}).has_value());
    EXPECT_FALSE(Format("%0:s;%1:s;%2:s;%3:s;%4:s;%5:s;%6:s", std::vector<std::string>(6, "x")).has_value());
}

}  // namespace
