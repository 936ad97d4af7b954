#pragma once
// How the report window writes its figures: durations of any length as H:MM (at least
// two digits of hours, a minus sign when negative), shares with one decimal.
#include <string>

#include "history/History_Report.h"

std::string Report_Minutes_Text(long long minutes);

// The share of part in whole as "37.5 %"; "0.0 %" when the whole is not positive.
std::string Report_Share_Text(long long part, long long whole);

// Days since 1970-01-01 (proleptic Gregorian), for placing days on the chart's axis.
long long Report_Day_Number(const Calendar_Date& date);

// 0 Sunday .. 6 Saturday.
int Report_Week_Day(const Calendar_Date& date);

// The date of a day number of Report_Day_Number.
Calendar_Date Report_Date_Of_Day_Number(long long day_number);
