#pragma once
// The start of a day: the stored day log is continued when it is today's, exported to the
// target log when it is of another date, and replaced by a new day when it is missing,
// unopenable or invalid and the user agrees.
#include <functional>
#include <vector>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

enum class Day_Log_Outcome
{
    Valid,       // today's log continued
    Missing,     // no file: a new day
    Unopenable,  // the file could not be opened: a new day
    Invalid,     // the file held no usable day: a new day
    Past_Day,    // another date: exported, then a new day
};

struct Load_Day_Log_Result
{
    Day_Log_Outcome Outcome = Day_Log_Outcome::Missing;
    // The user chose to end the program: the caller saves the protocol, ends the program
    // and stops the start-up. The day log is then empty and must not be saved.
    bool Terminate_Requested = false;
};

// Fills the day log (emptied first) with Day_Start_Minute and Recorded_Minutes from
// Actual_Work_Log.log, asking the user through the context's dialogs where the rules say.
// A file that was unopenable or invalid (a directory in its place included) is kept as
// Actual_Work_Log.log.invalid once the user chooses a new day (unless it is read-only,
// which no save replaces); so is a file that lost something when it was read (a record
// without a time, a partial record at its end), and the loaded day is saved in its place.
// A past day, however many records it holds, goes to the target log exactly once, even
// across a crash at any instant (see Export_Journal.h); the splash screen, when enabled,
// comes before the new day is built, which is stored at once. The caller must still call
// Checkpoint_Day_Log after its first Refresh_Summary_Rows.
// exported_day is given each past day once the target log holds it, before the new day
// replaces it on disk, so a kill between the two repeats the call at the next start rather
// than skip it. The program passes the history's Record_Exported_Day_In_History.
using Exported_Day_Sink = std::function<void(Work_Log_Context&, const std::vector<Work_Record>&)>;
Load_Day_Log_Result Load_Day_Log(Work_Log_Context& context, Day_Log& day_log,
                                 const Exported_Day_Sink& exported_day = {});

// A day that begins now: one Day_Row with today's name and date, the span from now to
// now, the default work type and remark, duration 00:00.
void Start_New_Day(Work_Log_Context& context, Day_Log& day_log);
