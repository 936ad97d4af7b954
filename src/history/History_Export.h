#pragma once
// The day an export has just put safely into the target log goes into the history as
// well. Nothing here can stop the day start: a failure is one protocol line.
#include <vector>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

// Replaces the day of the stored records in Work_History.sqlite in one transaction, so a
// repeated export counts the day once. A missing database stays missing: the first
// report reads the whole target log, this day included.
void Record_Exported_Day_In_History(Work_Log_Context& context, const std::vector<Work_Record>& stored_records);
