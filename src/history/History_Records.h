#pragma once
// The single records of the history, for a listing and for a report of only some of the
// work: what the target log's blocks hold (and the day log's day in place of a block of
// its date), counted by the day's rules, each with its date, span and remark.
#include <cstdint>
#include <string>
#include <vector>

#include "history/History_Access.h"

struct History_Records_Reading
{
    std::vector<History_Record> Records;  // oldest date first, in the order written
    std::string Problem;                  // English; why the target log or its pattern could not be read
    bool Unreadable = false;              // a target log exists but could not be read
    std::string Reading_Problems;         // English, as the reports tell them; empty when clean
};

// The records dated from .. to (inclusive), by the reports' rules: a damaged line is left
// out alone, a day past midnight counts its span, a date's blocks from different exports
// all count and an export written again counts once. The day log's day stands in place of
// the target log's blocks of its date.
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
// part of the work cannot be measured against), for Compute_History_Report. Work types
// that differ only in letter case or trailing blanks are one.
std::vector<History_Day> Days_Of_Records(const std::vector<History_Record>& records);
