#pragma once
// The report as UTF-8 CSV (RFC 4180 quoting, one line feed per row), as the command line
// prints it and the report window saves it.
#include <string>

#include "history/History_Report.h"

// "work_type,minutes", a row per work type (most minutes first), then "total,<minutes>",
// and "booked_beyond_worked,<minutes>" when days booked more than they worked.
std::string Work_Type_Csv(const History_Report& report);
// "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state", a row per
// day; the state is "stored", or "in_progress" for the day log's day.
std::string Days_Csv(const History_Report& report);
// A field quoted when it holds a comma, a quote or a line break; quotes doubled.
std::string History_Csv_Field(const std::string& utf8_text);
// Minutes as [-]H:MM with at least two hour digits (hours are not limited to a day).
std::string Minutes_As_Hours_Text(long long minutes);
