#include "platform/Format.h"

#include <gtest/gtest.h>

namespace
{

const std::vector<std::string> Six = {"Po", "07.12.2026", "08:00 - 16:30", "vývoj", "08:30", "remark"};

TEST(Format, DefaultTargetLogPatternJoinsTheSixFields)
{
    EXPECT_EQ(Format("%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", Six),
              "Po;07.12.2026;08:00 - 16:30;vývoj;08:30;remark");
    EXPECT_EQ(Format("%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", {"", "", "", "work", "00:30", ""}), ";;;work;00:30;");
}

TEST(Format, UnindexedSpecifiersTakeTheArgumentAfterTheOneUsedLast)
{
    EXPECT_EQ(Format("%s|%s|%s", {"a", "b", "c"}), "a|b|c");
    EXPECT_EQ(Format("%2:s %s %0:s %s", {"a", "b", "c", "d"}), "c d a b");
    EXPECT_EQ(Format("%1:s%1:s", {"a", "b"}), "bb");
    EXPECT_EQ(Format("no placeholders", {}), "no placeholders");
    EXPECT_EQ(Format("", {}), "");
    EXPECT_EQ(Format("unused %0:s", {"x", "y", "z"}), "unused x");
}

TEST(Format, WidthPrecisionAlignmentAndPercent)
{
    EXPECT_EQ(Format("[%5s]", {"ab"}), "[   ab]");
    EXPECT_EQ(Format("[%-5s]", {"ab"}), "[ab   ]");
    EXPECT_EQ(Format("[%0:-5s]", {"ab"}), "[ab   ]");
    EXPECT_EQ(Format("[%.2s]", {"abcdef"}), "[ab]");
    EXPECT_EQ(Format("[%1:6.3s]", {"x", "abcdef"}), "[   abc]");
    EXPECT_EQ(Format("[%2s]", {"abcdef"}), "[abcdef]");
    EXPECT_EQ(Format("100%% %s", {"done"}), "100% done");
    EXPECT_EQ(Format("%S", {"upper"}), "upper");
    EXPECT_EQ(Format("#%0:s#", {"a#b"}), "#a#b#");
}

TEST(Format, PatternsThatDoNotFitTheirArgumentsFail)
{
    for (const char* pattern : {"%d", "%0:d", "%x", "%f", "%u", "%p", "%*s", "%0:*s", "%.*s", "%", "abc%", "%0:",
                                "%-", "%5", "%.3", "%1:s", "%s%s", "%99999999999999999999:s", "%5-s", "%-0:s",
                                "%999999999s", "%4097s"})
    {
        EXPECT_FALSE(Format(pattern, {"only"}).has_value()) << pattern;
    }
    EXPECT_FALSE(Format("%s", {}).has_value());
    EXPECT_FALSE(Format("%0:s;%1:s;%2:s;%3:s;%4:s;%5:s;%6:s", Six).has_value());
}

TEST(Format, TheLargestAcceptedWidthStillWorks)
{
    const std::optional<std::string> text = Format("%4096s", {"x"});
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), 4096u);
    EXPECT_EQ(text->back(), 'x');
}

}  // namespace
