#include "worklog/Time_Values.h"

#include <gtest/gtest.h>

TEST(Time_Values, EncodeAcceptsOnlyTimesOfOneDay)
{
    EXPECT_EQ(Encode_Minute_Of_Day(23, 59).Value, 1439);
    EXPECT_TRUE(Encode_Minute_Of_Day(0, 0).Valid);
    for (auto [hours, minutes] : {std::pair{24, 0}, std::pair{0, 60}, std::pair{255, 255}})
    {
        const Minute_Of_Day_Result result = Encode_Minute_Of_Day(hours, minutes);
        EXPECT_FALSE(result.Valid);
        EXPECT_EQ(result.Value, 0);
    }
}

TEST(Time_Values, SecondsAreDroppedNotRounded)
{
    Date_Time time;
    time.Hour = 8;
    time.Minute = 59;
    time.Second = 59;
    time.Millisecond = 999;
    EXPECT_EQ(Time_To_Minute_Of_Day(time), 539);
}

TEST(Time_Values, DecodeRefusesValuesPastTheDay)
{
    const Hour_Minute last = Decode_Minute_Of_Day(1439);
    EXPECT_TRUE(last.Valid);
    EXPECT_EQ(last.Hours, 23);
    EXPECT_EQ(last.Minutes, 59);
    const Hour_Minute past = Decode_Minute_Of_Day(1440);
    EXPECT_FALSE(past.Valid);
    EXPECT_EQ(past.Hours + past.Minutes, 0);
    EXPECT_EQ(Whole_Hours(541), 9);
    EXPECT_EQ(Remaining_Minutes(541), 1);
    EXPECT_EQ(Whole_Hours(65535), 1092);  // no range check on durations
}

TEST(Time_Values, ParsingLooksOnlyAtCharactersOneTwoFourAndFive)
{
    EXPECT_EQ(Text_To_Minute_Of_Day("23:59").Value, 1439);
    EXPECT_EQ(Text_To_Minute_Of_Day("12-30").Value, 750);
    EXPECT_EQ(Text_To_Minute_Of_Day("12:30 and more").Value, 750);
    EXPECT_EQ(Text_To_Minute_Of_Day("12:5").Value, 725);
    EXPECT_EQ(Text_To_Minute_Of_Day(" 7:30").Value, 450);  // a leading blank is allowed
    const Hour_Minute parts = Text_To_Hour_Minute("08:05");
    EXPECT_TRUE(parts.Valid);
    EXPECT_EQ(parts.Hours, 8);
    EXPECT_EQ(parts.Minutes, 5);
}

TEST(Time_Values, InvalidTextsGiveFalseAndZero)
{
    for (const char* text : {"24:00", "12:60", "-1:30", "7:30", "", "12", "12:", "ab:cd", "1 :30", "12:3x", "+:30"})
    {
        SCOPED_TRACE(text);
        const Minute_Of_Day_Result result = Text_To_Minute_Of_Day(text);
        EXPECT_FALSE(result.Valid);
        EXPECT_EQ(result.Value, 0);
        const Hour_Minute parts = Text_To_Hour_Minute(text);
        EXPECT_FALSE(parts.Valid);
        EXPECT_EQ(parts.Hours + parts.Minutes, 0);
    }
    EXPECT_EQ(Text_To_Minute_Of_Day_Or_Zero("00:00"), 0);
    EXPECT_EQ(Text_To_Minute_Of_Day_Or_Zero("letters"), 0);
    EXPECT_EQ(Text_To_Minute_Of_Day_Or_Zero("01:01"), 61);
}

TEST(Time_Values, TextFormHasLeadingZerosAndIsEmptyPastTheDay)
{
    EXPECT_EQ(Minute_Of_Day_To_Text(0), "00:00");
    EXPECT_EQ(Minute_Of_Day_To_Text(605), "10:05");
    EXPECT_EQ(Minute_Of_Day_To_Text(1439), "23:59");
    EXPECT_EQ(Minute_Of_Day_To_Text(1440), "");
    EXPECT_EQ(Minute_Of_Day_To_Text(65535), "");
    for (Minute_Of_Day value = 0; value < 1440; ++value)
        ASSERT_EQ(Text_To_Minute_Of_Day(Minute_Of_Day_To_Text(value)).Value, value);
}

TEST(Time_Values, CzechWordsFollowCountAndCase)
{
    EXPECT_EQ(Hour_Word(1, 1), "hodina");
    EXPECT_EQ(Hour_Word(4, 1), "hodinu");
    EXPECT_EQ(Hour_Word(1, 3), "hodiny");
    EXPECT_EQ(Hour_Word(1, 21), "hodin");
    EXPECT_EQ(Hour_Word(4, 0), "hodin");
    EXPECT_EQ(Minute_Word(1, 4), "minuty");
    EXPECT_EQ(Minute_Word(4, 5), "minut");
    EXPECT_EQ(Minute_Word(1, 1), "minuta");
    EXPECT_EQ(Minute_Word(2, 1), "minutu");
}

TEST(Time_Values, DurationPhraseJoinsOnlyNonZeroParts)
{
    EXPECT_EQ(Duration_Phrase(8, 30, 1), "8 hodin a 30 minut");
    EXPECT_EQ(Duration_Phrase(1, 1, 4), "1 hodinu a 1 minutu");
    EXPECT_EQ(Duration_Phrase(0, 3, 1), "3 minuty");
    EXPECT_EQ(Duration_Phrase(2, 0, 1), "2 hodiny");
    EXPECT_EQ(Duration_Phrase(0, 0, 1), "");
}
