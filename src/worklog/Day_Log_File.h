#pragma once
// Actual_Work_Log.log: records of 1536 bytes without header, count or trailer, each six
// 256-byte fields of a length byte and up to 255 CP1250 characters. A trailing partial
// record is never read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

inline constexpr std::size_t Work_Record_Field_Size = 256;
inline constexpr std::size_t Work_Record_Size = Work_Record_Field_Size * Work_Record_Field_Count;  // 1536

// The 1536 bytes of a record; the bytes after a field's characters are zero.
std::string Encode_Work_Record(const Work_Record& record);
// Reads a record from exactly Work_Record_Size bytes; bytes after a field's characters
// are ignored.
Work_Record Decode_Work_Record(std::string_view bytes);
// The whole records of a day log's bytes, at most max_records of them; a trailing partial
// record is left out.
std::vector<Work_Record> Decode_Work_Records(std::string_view bytes, std::size_t max_records = SIZE_MAX);

// What Open_Actual_Work_Log read of the file: its whole records, at most as many as asked
// for (by default Max_Day_Log_Records + 1: one more shows that the file holds too many).
struct Stored_Day_Log
{
    std::vector<Work_Record> Records;
    std::uint64_t Whole_Record_Count = 0;    // of the whole file
    std::uint64_t Partial_Record_Bytes = 0;  // after the last whole record, never read
    int Failure = 0;                         // the errno of an open that failed
};

// Opens the existing day-log file for reading and writing and reads its records. A file
// whose mode has no write bit is refused (code 5) as the read-write open always was. Each
// failure adds its RESET line and gives false.
bool Open_Actual_Work_Log(Work_Log_Context& context, Stored_Day_Log& stored,
                          std::uint64_t max_records = Max_Day_Log_Records + 1);

// Replaces the day-log file with the records of the day log, atomically: a failed or
// interrupted save leaves the previous file whole. A symbolic link stays a link to the
// rewritten file, which keeps its mode; a new file is not writable by others. Each
// failure adds its REWRITE or WRITE line and gives false; the caller adds the success line.
bool Save_Actual_Work_Log(Work_Log_Context& context, const Day_Log& day_log);

// The same atomic save without any protocol line, for the saves after each change. An
// empty day log (none loaded yet) is never written, so it cannot wipe a stored day. A file
// that already holds exactly these records is not written again. A failure's lines go to
// failure_lines and its errno to error_number when they are given.
bool Checkpoint_Day_Log(Work_Log_Context& context, const Day_Log& day_log, Error_List* failure_lines = nullptr,
                        int* error_number = nullptr);
