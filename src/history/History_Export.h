#pragma once
// The day an export has just put safely into the target log goes into the history as
// well. Nothing here can stop the day start: a failure is one protocol line.
#include <vector>

#include "config/Program_Paths.h"
#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

// Replaces the day of the stored records in Work_History.sqlite in one transaction, so a
// repeated export counts the day once. A missing database stays missing: the first
// report reads the whole target log, this day included.
void Record_Exported_Day_In_History(Work_Log_Context& context, const std::vector<Work_Record>& stored_records);

// Once the day has ended, a moment nobody waits on: when the history's write-ahead log has
// grown past a few days of exports, its pages go into the database file and the log begins
// afresh, so the exports to come keep costing one sync. A failure changes nothing and is
// not told: the log then stays as it was, and the next export says what is wrong.
void Checkpoint_History_When_Due(const Program_Paths& paths);
