#pragma once
// Date and time texts follow the patterns of the user's locale, taken once at start.
// Pattern letters: d dd M MM yy yyyy (date), h hh H HH m mm s ss z zzz AP ap (time);
// text in single quotes is literal ('' is one quote); other characters are copied.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

struct Date_Time_Patterns
{
    std::string Short_Date = "dd.MM.yyyy";
    std::string Long_Time = "HH:mm:ss";
};

std::string Format_Date(const Date_Time& value, std::string_view pattern);
std::string Format_Time(const Date_Time& value, std::string_view pattern);

// Reads a date written with the same pattern; no value when the text does not fit it
// or names a date that does not exist. The time fields of the result are zero.
std::optional<Date_Time> Parse_Date(std::string_view text, std::string_view pattern);

// A locale's short date pattern with a two-digit year widened to four digits.
std::string Widen_Short_Date_Pattern(std::string_view pattern);
// A locale's long time pattern without its time-zone field.
std::string Strip_Time_Zone_From_Pattern(std::string_view pattern);
