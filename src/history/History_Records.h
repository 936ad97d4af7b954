#pragma once
// The single records of the history, for a listing and for a report of only some of the
// work: what the target log's blocks hold (and the day log's day in place of a block of
// its date), counted by the day's rules, each with its date, span and remark.
#include <cstdint>
#include <string>
#include <vector>

#include "history/History_Access.h"

struct History_Record
{
    Calendar_Date Date;
    std::string Time_Span;  // CP1250, as written
    std::string Work_Type;  // CP1250
    long long Minutes = 0;
    std::string Remark;  // CP1250
    bool operator==(const History_Record&) const = default;
};

// The records of one day (Day_Row first) that carry its time: the User_Rows and a positive
// Unassigned_Row; a day without User_Rows is its Day_Row alone. A row whose duration is
// not a time counts nothing and is left out.
std::vector<History_Record> Counted_Records(const Calendar_Date& date, const std::vector<Work_Record>& records);

struct History_Records_Reading
{
    std::vector<History_Record> Records;  // oldest date first, in the order written
    std::string Problem;                  // English; why the target log or its pattern could not be read
    bool Unreadable = false;              // a target log exists but could not be read
    std::uint64_t Left_Out_Lines = 0;     // lines that neither the separator nor the pattern fits
};

// The records dated from .. to (inclusive). Several blocks of one date all count.
History_Records_Reading Read_History_Records(const History_Settings& settings, const Calendar_Date& from,
                                             const Calendar_Date& to);

// Which records a report counts: work types named in the list (letter case and trailing
// blanks aside), and a remark holding the text (letter case aside). Empty parts let all pass.
struct History_Record_Filter
{
    std::vector<std::string> Work_Types;  // CP1250
    std::string Remark_Text;              // CP1250
    bool Empty() const { return Work_Types.empty() && Remark_Text.empty(); }
    bool Matches(const History_Record& record) const;
};

// The days the records make (worked time = their minutes; no full-time target, which a
// part of the work cannot be measured against), for Compute_History_Report.
std::vector<History_Day> Days_Of_Records(const std::vector<History_Record>& records);
