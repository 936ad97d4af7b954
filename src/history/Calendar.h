#pragma once
// Whole-day arithmetic on Calendar_Date (proleptic Gregorian), and the YYYY-MM-DD text
// that the database and the command line use.
#include <optional>
#include <string>
#include <string_view>

#include "history/History_Report.h"
#include "platform/Clock.h"

bool Is_Valid_Calendar_Date(const Calendar_Date& date);
// The date of a clock reading, and a reading at midnight of a date (for the date patterns).
Calendar_Date Calendar_Date_Of(const Date_Time& value);
Date_Time Date_Time_Of(const Calendar_Date& date);
// Days since 1970-01-01 (negative before it).
long long Days_Since_Epoch(const Calendar_Date& date);
Calendar_Date Date_From_Days_Since_Epoch(long long days);
Calendar_Date Add_Days(const Calendar_Date& date, long long days);
// 1 for Monday ... 7 for Sunday.
int Iso_Day_Of_Week(const Calendar_Date& date);
int Days_In_Month(int year, int month);

std::string Iso_Date_Text(const Calendar_Date& date);
// Exactly YYYY-MM-DD naming a date that exists; no value otherwise.
std::optional<Calendar_Date> Parse_Iso_Date(std::string_view text);
