#pragma once
// The periods a report covers: a week (Monday to Sunday), a month, a year, all stored
// days, or days chosen by the user; with the period before and after.
#include "history/History_Report.h"

enum class History_Period_Kind
{
    Week,
    Month,
    Year,
    All,     // every stored day; the report narrows From and To to the first and last of them
    Custom,  // From and To as given
};

struct History_Period
{
    History_Period_Kind Kind = History_Period_Kind::Week;
    Calendar_Date From;  // inclusive
    Calendar_Date To;    // inclusive
    bool operator==(const History_Period&) const = default;
};

// The week, month or year that holds the day; All covers every possible date.
History_Period History_Period_Containing(History_Period_Kind kind, const Calendar_Date& day);
// From and To as given (swapped when To comes first).
History_Period Custom_History_Period(const Calendar_Date& from, const Calendar_Date& to);
// The period of the same kind just before or after; All stays All, and a custom period
// moves by its own length.
History_Period Previous_History_Period(const History_Period& period);
History_Period Next_History_Period(const History_Period& period);
