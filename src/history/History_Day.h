#pragma once
// One day as the history keeps it, and the rules that count a day's records: the worked
// time is the Day_Row's duration; the User_Rows' durations count under their work types;
// a positive Unassigned_Row counts under its own work type (the day's unbooked time); a
// day without User_Rows counts whole under the Day_Row's work type.
#include <optional>
#include <string>
#include <vector>

#include "history/History_Report.h"
#include "worklog/Day_Log.h"

struct History_Day
{
    Calendar_Date Date;
    long long Worked_Minutes = 0;
    std::vector<Work_Type_Minutes> By_Work_Type;  // one entry per work type, in row order
    bool operator==(const History_Day&) const = default;
};

// Why the records of a day cannot be counted.
enum class Day_Count_Problem
{
    None,
    No_Records,
    Day_Row_Duration,   // the Day_Row's duration is not HH:MM
    User_Row_Duration,  // a User_Row's duration is not HH:MM
};

struct Counted_Day
{
    std::optional<History_Day> Day;  // none when Problem is not None
    Day_Count_Problem Problem = Day_Count_Problem::None;
};

// Counts the records of one day (Day_Row first) dated as given. The Unassigned_Row may
// read "- HH:MM" (more booked than elapsed): it then counts nothing.
Counted_Day Count_Day_Records(const Calendar_Date& date, const std::vector<Work_Record>& records);

// The whole block as a finished export leaves it: a Day_Row alone, or a Day_Row, an
// Unassigned_Row and at least one User_Row whose durations add up to the Day_Row's. A
// block that an interrupted export cut short fails this.
bool Is_Whole_Day_Block(const std::vector<Work_Record>& records);
