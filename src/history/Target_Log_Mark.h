#pragma once
// What the history database remembers of the target log it was read from: its size, its
// last change, and fingerprints of its head and of the bytes before its end. A log that
// grew behind unchanged head and end bytes was appended to (its new part is read alone);
// any other difference is an edit, and the whole log is read again.
#include <cstdint>
#include <optional>
#include <string>

struct Target_Log_Mark
{
    std::uint64_t Size = 0;
    std::int64_t Modified_Nanoseconds = 0;
    std::uint64_t Lines = 0;         // lines read, so that the new part's lines are numbered on
    std::string Head_Fingerprint;    // of the first bytes
    std::string Ending_Fingerprint;  // of the last bytes before Size
    bool operator==(const Target_Log_Mark&) const = default;
};

// The mark of the file as it is now (Lines left 0); none when it cannot be read.
std::optional<Target_Log_Mark> Mark_Target_Log(const std::string& path);
// The mark of its first size bytes (the part a reading took), the last change as it is now.
std::optional<Target_Log_Mark> Mark_Target_Log_Part(const std::string& path, std::uint64_t size);

// The log still begins with the part the mark was taken of, which ended with a line: it is
// no shorter, and the head and the bytes before the mark's end read as they did.
bool Target_Log_Grew_From(const std::string& path, const Target_Log_Mark& mark);

// Same size and last change: nothing to read.
bool Target_Log_Unchanged(const Target_Log_Mark& stored, const Target_Log_Mark& now);
