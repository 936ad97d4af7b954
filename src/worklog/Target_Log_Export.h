#pragma once
// The export of a stored day to the target log: a separator line, then one line per
// record formatted with the user's pattern, CP1250, CR LF, appended at the end.
#include <optional>
#include <string>
#include <vector>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

// Appends the block for the stored records to the target file (created when missing) and
// gives true when all of it was written. Each line is handed to the system as soon as it
// is built, so a failure leaves only whole lines; the file is synced before true is given.
// The separator comes from the setting Target_Log_File_Separator. Every failure adds one
// line to the protocol; a pattern that the Format function rejects is such a failure and
// writes nothing, and so is an export note (Export_Journal.h) that cannot be written. The
// success line is the caller's; failure_reason, when given, gets the reason in the
// language's words.
bool Save_Target_Work_Log(Work_Log_Context& context, const std::vector<Work_Record>& stored_records,
                          const std::string& format_text, const std::string& target_file_name,
                          std::string* failure_reason = nullptr);

// The line of one record: the pattern formatted with the six fields; none when the
// pattern does not fit them.
std::optional<std::string> Target_Log_Line(const std::string& format_text, const Work_Record& record);

// Whether the pattern makes the line of a record, tried on a sample record of six texts
// before a pattern is kept: one that does not would make every later export fail.
bool Target_Log_Pattern_Fits(const std::string& format_text);
