#pragma once
// What a report shows for one period of the history: minutes per work type, one entry per
// stored day, and the period's worked time against the full-time target. Plain values, no
// Qt, so the report window, the command line and the tests share one computation.
#include <string>
#include <vector>

struct Calendar_Date
{
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31
    // The analyser reads the defaulted comparison's literal zero as a null pointer.
    friend auto operator<=>(const Calendar_Date&, const Calendar_Date&) = default;  // NOLINT(modernize-use-nullptr)
};

struct Work_Type_Minutes
{
    std::string Work_Type;  // CP1250, as the target log holds it
    long long Minutes = 0;
    friend bool operator==(const Work_Type_Minutes&, const Work_Type_Minutes&) = default;
};

struct History_Report_Day
{
    Calendar_Date Date;
    long long Worked_Minutes = 0;                 // the Day_Row's duration
    long long Full_Time_Minutes = 0;              // Full_Time_Value in minutes
    long long Overtime_Minutes = 0;               // Worked_Minutes - Full_Time_Minutes (may be negative)
    long long Balance_Minutes = 0;                // running sum of Overtime_Minutes from the period's start
    std::vector<Work_Type_Minutes> By_Work_Type;  // this day's minutes per work type
    bool In_Progress = false;                     // the day log's day: no target yet
};

struct History_Report
{
    Calendar_Date From;                           // first day of the period, inclusive
    Calendar_Date To;                             // last day of the period, inclusive
    std::vector<Work_Type_Minutes> By_Work_Type;  // most minutes first; only types with time
    std::vector<History_Report_Day> Days;         // stored days in the period, oldest first
    long long Worked_Minutes = 0;
    long long Full_Time_Minutes = 0;
    long long Overtime_Balance_Minutes = 0;
    // What days booked beyond their worked time, added up (the types' total exceeds the
    // worked time by this much).
    long long Booked_Beyond_Worked_Minutes = 0;
};
