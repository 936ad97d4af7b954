#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "support/Fake_Clock.h"

TEST(Clock, WeekdaysCountFromSundayAndDatesKnowLeapYears)
{
    const std::pair<Date_Time, int> weekdays[] = {
        {{2026, 12, 6}, 1}, {{2026, 12, 7}, 2}, {{2000, 2, 29}, 3}, {{1970, 1, 1}, 5}, {{2024, 3, 2}, 7}};
    for (const auto& [date, weekday] : weekdays) EXPECT_EQ(Day_Of_Week(date), weekday) << date.Year;
    EXPECT_TRUE(Is_Valid_Date(2024, 2, 29));
    EXPECT_TRUE(Is_Valid_Date(2000, 2, 29));
    for (const auto& [year, month, day] : {std::tuple{1900, 2, 29}, std::tuple{2026, 2, 29}, std::tuple{2026, 4, 31},
                                           std::tuple{2026, 13, 1}, std::tuple{2026, 0, 1}, std::tuple{2026, 1, 0}})
        EXPECT_FALSE(Is_Valid_Date(year, month, day)) << year << "-" << month << "-" << day;
}

TEST(Clock, FakeClockAdvancesAcrossDaysMonthsAndYears)
{
    Fake_Clock clock(Date_Time{2026, 12, 31, 23, 50, 7});
    clock.Advance_Minutes(15);
    const Date_Time next_year = clock.Now();
    EXPECT_TRUE(next_year.Same_Date({2027, 1, 1}));
    EXPECT_EQ(std::tuple(next_year.Hour, next_year.Minute, next_year.Second), std::tuple(0, 5, 7));

    clock.Set({2024, 2, 28, 12, 0});
    clock.Advance_Minutes(2 * 1440);
    EXPECT_TRUE(clock.Now().Same_Date({2024, 3, 1}));
    clock.Advance_Minutes(-1440 - 12 * 60 - 1);
    EXPECT_TRUE(clock.Now().Same_Date({2024, 2, 28}));
    EXPECT_EQ(std::tuple(clock.Now().Hour, clock.Now().Minute), std::tuple(23, 59));
}

TEST(Clock, SystemClockGivesAPlausibleLocalTime)
{
    const Date_Time now = System_Clock().Now();
    EXPECT_TRUE(Is_Valid_Date(now.Year, now.Month, now.Day));
    EXPECT_GE(now.Year, 2020);
    EXPECT_LT(now.Hour, 24);
    EXPECT_LT(now.Millisecond, 1000);
}

TEST(Date_Time_Patterns, DatesAndTimesFollowThePatternLetters)
{
    const Date_Time value{2026, 3, 5, 14, 7, 9, 42};
    const Date_Time after_midnight{2026, 3, 5, 0, 5};
    EXPECT_EQ(Format_Date(value, "dd.MM.yyyy"), "05.03.2026");
    EXPECT_EQ(Format_Date(value, "d.M.yyyy"), "5.3.2026");
    EXPECT_EQ(Format_Date(value, "M/d/yy"), "3/5/26");
    EXPECT_EQ(Format_Date(value, "yyyy-MM-dd 'd' ''"), "2026-03-05 d '");
    EXPECT_EQ(Format_Time(value, "HH:mm:ss"), "14:07:09");
    EXPECT_EQ(Format_Time(value, "H:mm:ss.zzz"), "14:07:09.042");
    EXPECT_EQ(Format_Time(value, "h:mm:ss AP"), "2:07:09 PM");
    EXPECT_EQ(Format_Time(after_midnight, "hh:mm ap"), "12:05 am");
    EXPECT_EQ(Format_Time(after_midnight, "h:mm"), "0:05");  // no day-half marker: 24 hours
}

TEST(Date_Time_Patterns, ParsingIsStrict)
{
    const std::optional<Date_Time> parsed = Parse_Date("05.03.2026", "dd.MM.yyyy");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(parsed->Same_Date({2026, 3, 5}));
    EXPECT_EQ(parsed->Hour, 0);
    EXPECT_TRUE(Parse_Date("5.3.2026", "d.M.yyyy").has_value());
    EXPECT_TRUE(Parse_Date("29.2.2024", "d.M.yyyy").has_value());
    EXPECT_EQ(Parse_Date("3/5/26", "M/d/yy").value_or(Date_Time{}).Year, 2026);

    for (const char* bad : {"5.3.2026", "05.03.26", "05.03.2026 ", " 05.03.2026", "05-03-2026", "31.04.2026",
                            "29.02.2026", "00.01.2026", "01.13.2026", "aa.bb.cccc", "", "05.03.20261"})
        EXPECT_FALSE(Parse_Date(bad, "dd.MM.yyyy").has_value()) << bad;
    EXPECT_FALSE(Parse_Date("12:00", "HH:mm").has_value());
}

TEST(Date_Time_Patterns, AFieldNamedTwiceMustReadTheSameValue)
{
    EXPECT_TRUE(Parse_Date("05.03.2026 (05)", "dd.MM.yyyy (dd)").has_value());
    EXPECT_FALSE(Parse_Date("05.03.2026 (06)", "dd.MM.yyyy (dd)").has_value());
    const std::optional<Date_Time> both_years = Parse_Date("1999 99-1-2", "yyyy yy-M-d");
    ASSERT_TRUE(both_years.has_value());
    EXPECT_EQ(both_years->Year, 1999);
    EXPECT_FALSE(Parse_Date("1999 98-1-2", "yyyy yy-M-d").has_value());
    // Adjacent fields of varying width: a date must come back as it was written, or not at all.
    const std::string pattern = "ddM.yydM.yyyy";
    for (const char* text : {"061.440112.0425", "0112.25112.0425"})
    {
        if (const std::optional<Date_Time> read = Parse_Date(text, pattern))
        {
            EXPECT_EQ(Parse_Date(Format_Date(*read, pattern), pattern).value_or(Date_Time{}).Day, read->Day) << text;
        }
    }
}

TEST(Date_Time_Patterns, LocalePatternsAreWidenedAndLoseTheirTimeZone)
{
    const std::pair<const char*, const char*> widened[] = {{"d/M/yy", "d/M/yyyy"},
                                                           {"dd.MM.yy", "dd.MM.yyyy"},
                                                           {"yyyy-MM-dd", "yyyy-MM-dd"},
                                                           {"dd 'yy' yy", "dd 'yy' yyyy"}};
    for (const auto& [pattern, expected] : widened) EXPECT_EQ(Widen_Short_Date_Pattern(pattern), expected);
    const std::pair<const char*, const char*> stripped[] = {
        {"H:mm:ss t", "H:mm:ss"}, {"h:mm:ss AP t", "h:mm:ss AP"},          {"t HH:mm:ss", "HH:mm:ss"},
        {"HH:mm:ss", "HH:mm:ss"}, {"HH:mm:ss 'at' tttt", "HH:mm:ss 'at'"}, {"H:mm:ss (t)", "H:mm:ss"}};
    for (const auto& [pattern, expected] : stripped) EXPECT_EQ(Strip_Time_Zone_From_Pattern(pattern), expected);
}
