#pragma once
// The protocol of a run: lines added in order, never changed, written to Error_Log.log
// empty at start and whole at the end.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

class Error_List
{
public:
    Error_List(const Clock& clock, std::string long_time_pattern);

    // Adds the current time in the long time format followed directly by the text.
    void Add(std::string_view text);
    // Adds a line without a time stamp (the names of missing files).
    void Add_Bare(std::string_view line);

    const std::vector<std::string>& Lines() const { return List_Lines; }

private:
    const Clock& List_Clock;
    std::string Long_Time_Pattern;
    std::vector<std::string> List_Lines;
};

// Writes the lines (CP1250 bytes) each followed by CR LF, replacing the file.
// False when the file could not be created or written.
bool Write_Error_Log(const std::string& path, const std::vector<std::string>& lines);

// Reads File_List: one name per line, CR LF, LF or CR alone end a line.
enum class File_List_Status
{
    Read,
    Missing,
    Empty,
    Too_Long
};
File_List_Status Read_File_List(const std::string& path, std::vector<std::string>& names);

// True when every name is a regular file under the program directory; the names that are
// not (exactly as written, an empty line included) go to missing in list order.
bool Check_File_Availability(const std::string& program_directory, const std::vector<std::string>& names,
                             std::vector<std::string>& missing);
