#pragma once
// One day as the history keeps it, and the rules that count a day's records: the worked
// time is the Day_Row's duration (or, past midnight, where the duration wrapped and shows
// nothing, the time span's length); the User_Rows' durations count under their work types;
// a positive Unassigned_Row counts under its own work type (the day's unbooked time); a
// day without User_Rows counts whole under the Day_Row's work type.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/History_Report.h"
#include "worklog/Day_Log.h"

struct History_Day
{
    Calendar_Date Date;
    long long Worked_Minutes = 0;
    std::vector<Work_Type_Minutes> By_Work_Type;  // one entry per work type, in row order
    // The day log's day, not yet in the target log: it carries no full-time target yet.
    bool In_Progress = false;
    bool operator==(const History_Day&) const = default;
};

// One record that carries some of a day's time, as a listing shows it.
struct History_Record
{
    Calendar_Date Date;
    std::string Time_Span;  // CP1250, as written
    std::string Work_Type;  // CP1250
    long long Minutes = 0;
    std::string Remark;  // CP1250
    bool operator==(const History_Record&) const = default;
};

// Why the records of a day cannot be counted.
enum class Day_Count_Problem
{
    None,
    No_Records,
    Day_Row_Duration,   // the Day_Row's duration is not HH:MM, nor empty past midnight
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

// The same for a block of the target log in which some lines could not be read (none in
// their place): they count nothing, and the rows around them count as they are. Only a
// Day_Row with nothing after it, or with a lone Unassigned_Row, counts under its own type.
// When records is given, the rows that carry time are added to it as counted.
Counted_Day Count_Day_Lines(const Calendar_Date& date, const std::vector<std::optional<Work_Record>>& lines,
                            std::vector<History_Record>* records = nullptr);

// The Day_Row's worked minutes: its duration, or past midnight (an empty duration) the
// span "HH:MM - HH:MM" across midnight; none when neither reads.
std::optional<long long> Day_Row_Worked_Minutes(const Work_Record& day_row);

// The whole block as a finished export leaves it: a Day_Row alone, or a Day_Row, an
// Unassigned_Row and at least one User_Row whose durations add up to the Day_Row's (past
// midnight the Unassigned_Row holds no time, so only the rows' presence counts). A block
// that an interrupted export cut short fails this.
bool Is_Whole_Day_Block(const std::vector<Work_Record>& records);

// The key under which work types count as one: letter case and trailing blanks do not tell
// two types apart.
std::string Work_Type_Key(std::string_view work_type);
// The same comparison without making the keys.
bool Same_Work_Type(std::string_view first, std::string_view second);
