#include "worklog/Time_Values.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{

auto Parts(const Hour_Minute& value) { return std::tuple(value.Valid, int(value.Hours), int(value.Minutes)); }
auto Parts(const Minute_Of_Day_Result& value) { return std::tuple(value.Valid, int(value.Value)); }

TEST(Time_Values, MinutesOfTheDayAreEncodedAndDecodedOnlyWithinOneDay)
{
    EXPECT_EQ(Parts(Encode_Minute_Of_Day(23, 59)), std::tuple(true, 1439));
    EXPECT_EQ(Parts(Encode_Minute_Of_Day(0, 0)), std::tuple(true, 0));
    for (const auto& [hours, minutes] : {std::pair{24, 0}, std::pair{0, 60}, std::pair{255, 255}})
        EXPECT_EQ(Parts(Encode_Minute_Of_Day(hours, minutes)), std::tuple(false, 0)) << hours << ":" << minutes;
    EXPECT_EQ(Parts(Decode_Minute_Of_Day(1439)), std::tuple(true, 23, 59));
    EXPECT_EQ(Parts(Decode_Minute_Of_Day(1440)), std::tuple(false, 0, 0));
    EXPECT_EQ(std::tuple(Whole_Hours(541), Remaining_Minutes(541)), std::tuple(9, 1));
    EXPECT_EQ(Whole_Hours(65535), 1092);                                           // no range check on durations
    EXPECT_EQ(Time_To_Minute_Of_Day(Date_Time{2026, 1, 1, 8, 59, 59, 999}), 539);  // seconds dropped, not rounded
}

TEST(Time_Values, TextsAreReadFromCharactersOneTwoFourAndFiveOnly)
{
    const std::pair<const char*, int> valid[] = {{"23:59", 1439}, {"12-30", 750}, {"12:30 and more", 750},
                                                 {"12:5", 725},   {" 7:30", 450}, {"08:05", 485}};
    for (const auto& [text, value] : valid)
    {
        EXPECT_EQ(Parts(Text_To_Minute_Of_Day(text)), std::tuple(true, value)) << text;
        EXPECT_EQ(Parts(Text_To_Hour_Minute(text)), std::tuple(true, value / 60, value % 60)) << text;
        EXPECT_EQ(Text_To_Minute_Of_Day_Or_Zero(text), value) << text;
    }
    for (const char* text : {"24:00", "12:60", "-1:30", "7:30", "", "12", "12:", "ab:cd", "1 :30", "12:3x", "+:30"})
    {
        EXPECT_EQ(Parts(Text_To_Minute_Of_Day(text)), std::tuple(false, 0)) << text;
        EXPECT_EQ(Parts(Text_To_Hour_Minute(text)), std::tuple(false, 0, 0)) << text;
        EXPECT_EQ(Text_To_Minute_Of_Day_Or_Zero(text), 0) << text;
    }
}

TEST(Time_Values, TextFormHasLeadingZerosAndIsEmptyPastTheDay)
{
    EXPECT_EQ(Minute_Of_Day_To_Text(0), "00:00");
    EXPECT_EQ(Minute_Of_Day_To_Text(605), "10:05");
    EXPECT_EQ(Minute_Of_Day_To_Text(1440), "");
    EXPECT_EQ(Minute_Of_Day_To_Text(65535), "");
    for (Minute_Of_Day value = 0; value < 1440; ++value)
        ASSERT_EQ(Text_To_Minute_Of_Day(Minute_Of_Day_To_Text(value)).Value, value);
}

TEST(Time_Values, CzechWordsAndPhrasesFollowCountAndCase)
{
    const std::tuple<int, int, const char*, const char*> words[] = {
        {1, 1, "hodina", "minuta"}, {4, 1, "hodinu", "minutu"}, {1, 3, "hodiny", "minuty"},
        {1, 21, "hodin", "minut"},  {4, 0, "hodin", "minut"},   {4, 5, "hodin", "minut"}};
    for (const auto& [grammatical_case, count, hour, minute] : words)
    {
        EXPECT_EQ(Hour_Word(grammatical_case, count), hour) << grammatical_case << " " << count;
        EXPECT_EQ(Minute_Word(grammatical_case, count), minute) << grammatical_case << " " << count;
    }
    EXPECT_EQ(Duration_Phrase(8, 30, 1), "8 hodin a 30 minut");
    EXPECT_EQ(Duration_Phrase(1, 1, 4), "1 hodinu a 1 minutu");
    EXPECT_EQ(Duration_Phrase(0, 3, 1), "3 minuty");
    EXPECT_EQ(Duration_Phrase(2, 0, 1), "2 hodiny");
    EXPECT_EQ(Duration_Phrase(0, 0, 1), "");
}

}  // namespace
