#pragma once
// A day on its way to the history server. The export puts it into the outbox of
// Work_History.sqlite in the transaction that stores the day, so a day the history holds
// is a day the server will get; the sender removes it only after the server's commit.
#include <functional>
#include <string>
#include <vector>

#include "history/History_Day.h"

struct Outbox_Record
{
    std::string Time_Span;          // as the target log holds it (CP1250)
    std::string Work_Type;          // CP1250
    long long Minutes = 0;          // the record's own duration ("- HH:MM" is negative)
    long long Counted_Minutes = 0;  // what the day's count gives this record for its work type
    std::string Remark;             // CP1250
    bool operator==(const Outbox_Record&) const = default;
};

struct Outbox_Day
{
    long long Id = 0;  // the outbox's row; 0 before it is queued
    Calendar_Date Date;
    long long Worked_Minutes = 0;
    long long Full_Time_Minutes = 0;
    std::string Fingerprint;  // of the counted day: the same day gives the same one from anywhere
    std::vector<Outbox_Record> Records;
    bool operator==(const Outbox_Day&) const = default;
};

// The counted day's fingerprint (date, worked minutes, minutes per work type), 16 hex digits.
std::string History_Day_Fingerprint(const History_Day& day);

// The day with its records as the export stored them (Day_Row first).
Outbox_Day Outbox_Day_Of_Records(const History_Day& day, const std::vector<Work_Record>& records,
                                 long long full_time_minutes);
// A stored day whose records are gone: one record per work type, without time span or remark.
Outbox_Day Outbox_Day_Of_History(const History_Day& day, long long full_time_minutes);

// The process's sender, told after each day queued (from the exporting thread). Set once
// by the program before the first export; empty when there is no server.
void Set_Outbox_Listener(std::function<void()> listener);
void Notify_Outbox_Listener();
