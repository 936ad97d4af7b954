#pragma once
// Times of day and durations within one day, in whole minutes, and their text forms.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

using Minute_Of_Day = std::uint16_t;  // 0..1439; also a duration within a day

struct Hour_Minute
{
    bool Valid = false;
    std::uint8_t Hours = 0;
    std::uint8_t Minutes = 0;
};

struct Minute_Of_Day_Result
{
    bool Valid = false;
    Minute_Of_Day Value = 0;
};

Minute_Of_Day_Result Encode_Minute_Of_Day(std::uint8_t hours, std::uint8_t minutes);
Minute_Of_Day Time_To_Minute_Of_Day(const Date_Time& time);
Hour_Minute Decode_Minute_Of_Day(Minute_Of_Day value);
std::uint16_t Whole_Hours(std::uint16_t minute_count);
std::uint16_t Remaining_Minutes(std::uint16_t minute_count);

// The date a day is dated by when its day ends at day_boundary (a minute of the clock):
// a reading before the boundary belongs to the date before.
Date_Time Working_Date(const Date_Time& time, Minute_Of_Day day_boundary);
// Minutes from a day's start to the last minute before its boundary; with the boundary at
// midnight that is up to 23:59.
int Minutes_Until_Day_Boundary(Minute_Of_Day day_start_minute, Minute_Of_Day day_boundary);

// HH:MM: characters 1-2 are the hours, 4-5 the minutes; character 3 and anything after
// the fifth are not looked at.
Hour_Minute Text_To_Hour_Minute(std::string_view text);
Minute_Of_Day_Result Text_To_Minute_Of_Day(std::string_view text);
Minute_Of_Day Text_To_Minute_Of_Day_Or_Zero(std::string_view text);
// "HH:MM" with leading zeros; empty for 1440 and above.
std::string Minute_Of_Day_To_Text(Minute_Of_Day value);

// Czech word forms (CP1250). Case 1 is the nominative; any other value the accusative.
std::string Hour_Word(std::uint8_t grammatical_case, std::uint8_t count);
std::string Minute_Word(std::uint8_t grammatical_case, std::uint8_t count);
// "8 hodin a 30 minut"; empty when both are 0.
std::string Duration_Phrase(std::uint16_t hours, std::uint16_t minutes, std::uint8_t grammatical_case);
