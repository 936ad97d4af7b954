#pragma once
// The note an export leaves beside the day-log file before it appends to the target log:
// which target, how long it was and which stored day is being added. After a crash at any
// instant the next start can tell a block that already is whole in the target log (it is
// not added again) from a torn one (it is cut away and written anew). The note is removed
// once the new day has replaced the exported one on disk.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

inline constexpr const char* Export_Journal_Suffix = ".export";

struct Export_Journal_Entry
{
    std::string Target_File_Name;
    std::uint64_t Length_Before = 0;  // of the target log before the block
    std::uint64_t Day_Identity = 0;   // Stored_Day_Identity of the day being added
    bool operator==(const Export_Journal_Entry&) const = default;
};

// Tells stored days apart: the same records give the same number, another day (its date
// is in its Day_Row) a different one.
std::uint64_t Stored_Day_Identity(const std::vector<Work_Record>& stored_records);

// The entry on disk; none when there is no note or it cannot be read.
std::optional<Export_Journal_Entry> Read_Export_Journal(Work_Log_Context& context);
// Stores the entry atomically and durably; false when it could not, with the errno in
// error_number.
bool Write_Export_Journal(Work_Log_Context& context, const Export_Journal_Entry& entry, int& error_number);
void Remove_Export_Journal(Work_Log_Context& context);
