#pragma once
// Which days carry the full-time target: the work days of the week, less the days off
// (holidays, leave) that the user lists. Work on any other day is overtime whole.
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "history/History_Report.h"

struct Full_Time_Calendar
{
    long long Minutes = 480;
    // Indexed by ISO weekday, 1 Monday .. 7 Sunday; index 0 unused.
    std::array<bool, 8> Work_Days{false, true, true, true, true, true, false, false};
    std::vector<Calendar_Date> Days_Off;  // oldest first

    // The target of the date: Minutes on a work day that is no day off, else 0.
    long long Target_Of(const Calendar_Date& date) const;
};

// "1,2,3,4,5": ISO weekdays separated by commas (blanks allowed); none when the text holds
// anything else or no weekday at all.
std::optional<std::array<bool, 8>> Parse_Work_Days(std::string_view text);

// One YYYY-MM-DD a line, any text after a blank; other lines (empty, comments, dates
// that do not exist) name no day off. Oldest first, each once.
std::vector<Calendar_Date> Parse_Days_Off(std::string_view text);
