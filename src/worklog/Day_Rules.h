#pragma once
// The rules of a working day in one place: what may be added, replaced, deleted and
// cleared, the wheel's steps, and the summary rows for the current minute. Where the user
// must be asked first, a command gives the question instead of acting; the caller asks
// and calls again with the answer. Nothing here opens a dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/Language_Texts.h"
#include "config/Settings.h"
#include "worklog/Day_Log.h"

enum class Day_Verdict
{
    Done,
    Refused,              // nothing to act on, or no room left
    Ask_Overtime_Adding,  // more recorded than has elapsed: ask, then call again confirmed
    Ask_Overtime_Editing,
    Ask_Before_Deleting,
    Ask_Before_Clearing,
    Tell_Empty_Work_Type,  // the record editor's input cannot be stored as it is
    Tell_Duplicate_Work_Type,
    Tell_Duration_Too_Long,  // not a time, or longer than the minutes available
    Tell_Zero_Duration,
};

// What the record editor offers to store. Row is the edited row; the log's size (or
// more) adds a record.
struct Record_Input
{
    std::size_t Row = 0;
    std::string Work_Type;  // CP1250
    std::string Remark;
    bool Duration_Valid = true;  // hours at most 23, minutes at most 59
    Minute_Of_Day Duration = 0;
};

struct Record_Verdict
{
    Day_Verdict Verdict = Day_Verdict::Done;
    std::uint8_t Duplicate_Row = 0;       // with Tell_Duplicate_Work_Type: the row that has it
    Minute_Of_Day Available_Minutes = 0;  // with Tell_Duration_Too_Long
};

class Day_Rules
{
public:
    // The settings may change while the day runs (the settings dialog); the texts give
    // the Day_Row's label once the day has user records.
    Day_Rules(Day_Log& day_log, const Settings& settings, const Language_Texts& texts);

    const Day_Log& Log() const { return Day; }

    // Questions the ui asks before it acts.
    bool May_Add_Record() const;
    // Minutes left in the day for the row (the log's size for a new record); an edited
    // User_Row's own duration counts as available. Never below 0.
    Minute_Of_Day Available_Minutes(std::size_t row) const;
    // The first row whose work type equals the text, letter case aside.
    std::optional<std::uint8_t> Row_With_Work_Type(std::string_view work_type) const;
    // Whether the row taking the duration would record more than has elapsed.
    bool Would_Exceed_Elapsed(std::size_t row, Minute_Of_Day duration) const;
    bool Work_Type_Editable(std::size_t row) const;
    bool Duration_Editable(std::size_t row) const;
    // The minute in which the elapsed time reaches the full working time, when its hint is on.
    bool Full_Time_Reached() const;
    // The tray's hint: its format ("#" a line break) with the elapsed time; empty when the
    // format does not take one text.
    std::string Tray_Hint() const;

    // Commands. Each leaves the summary rows refreshed for the current minute.
    Record_Verdict Store_Record(const Record_Input& input, bool overtime_confirmed = false);
    Day_Verdict Delete_User_Row(std::size_t row, bool confirmed);
    Day_Verdict Clear_User_Rows(bool confirmed);
    // One wheel step of Time_Scroll_Resolution minutes on a User_Row. Shortening to
    // nothing gives Ask_Before_Deleting: the caller then offers to delete.
    Day_Verdict Lengthen_Record(std::size_t row, bool overtime_confirmed);
    Day_Verdict Shorten_Record(std::size_t row);

    void Refresh_Summary_Rows(Minute_Of_Day now);
    // Refreshes only when the minute has changed; gives whether it had.
    bool Refresh_For_Minute(Minute_Of_Day now);

private:
    // Minutes from the day's start to the last minute before its boundary.
    int Day_Room() const;

    Day_Log& Day;
    const Settings& Setup;
    const Language_Texts& Texts;
};
