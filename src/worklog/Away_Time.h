#pragma once
// Time the user was away from the computer (the session locked, the machine asleep, the
// screen saver on, no input for a while), followed from what the platform reports, asked
// about once the user is back, and booked to the day through the day's rules.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "worklog/Day_Rules.h"

struct Away_Period
{
    Date_Time Began;
    Date_Time Ended;
    Minute_Of_Day Minutes = 0;
};

class Away_Tracker
{
public:
    // The user left at that moment; while away, a later signal of leaving changes nothing.
    void User_Left(const Date_Time& at);
    // The user is back: the time since leaving waits to be asked about.
    void User_Back(const Date_Time& at);
    // The display's input idleness, polled: idleness of at least away_minutes means the
    // user left at the last input; a shorter one afterwards means back at the first new input.
    void Input_Idle(const Date_Time& now, std::int64_t idle_milliseconds, int away_minutes);
    bool Away() const { return Left_At.has_value(); }

    // The period to ask about, once: none while the user is still away, none shorter than
    // away_minutes (0 never asks). A day that began while the user was away (a new date
    // reached meanwhile) counts the period from its start.
    std::optional<Away_Period> Take_Question(const Day_Log& day, const Date_Time& now, int away_minutes);

private:
    std::optional<std::int64_t> Left_At;  // seconds on the tracker's own count
    std::optional<std::int64_t> Back_At;
    std::optional<std::int64_t> Returned_From;
    bool Idle_Away = false;
    std::int64_t Last_Idle = 0;
};

// Books the period to the work type: a row that has it already grows by the period, else
// a record is added. The day's rules decide as for the record editor (overtime, the room
// left in the day, the limit of records); an empty remark keeps the row's own.
Record_Verdict Book_Away_Time(Day_Rules& rules, const Away_Period& period, const std::string& work_type,
                              const std::string& remark, bool overtime_confirmed = false);
