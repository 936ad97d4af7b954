#pragma once
// The records of one day. Row 0 is the Day_Row; row 1 the Unassigned_Row while the day
// has user records; the User_Rows follow. Never more than Max_Day_Log_Records rows, and
// never exactly two.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "worklog/Time_Values.h"

inline constexpr std::size_t Max_Day_Log_Records = 16;
inline constexpr std::size_t Work_Record_Field_Count = 6;

enum Work_Record_Field : std::size_t
{
    Day_Name_Field = 0,
    Date_Field = 1,
    Time_Span_Field = 2,
    Work_Type_Field = 3,
    Duration_Field = 4,
    Remark_Field = 5,
};

// Six short strings (CP1250, at most 255 bytes each).
struct Work_Record
{
    std::array<std::string, Work_Record_Field_Count> Fields;

    std::string& operator[](std::size_t field) { return Fields[field]; }
    const std::string& operator[](std::size_t field) const { return Fields[field]; }
    bool operator==(const Work_Record&) const = default;
};

struct Day_Log
{
    std::vector<Work_Record> Records;
    Minute_Of_Day Day_Start_Minute = 0;
    Minute_Of_Day Current_Minute = 0;
    Minute_Of_Day Recorded_Minutes = 0;  // sum of the User_Rows' durations

    // Current_Minute - Day_Start_Minute, as an unsigned 16-bit difference.
    Minute_Of_Day Elapsed_Minutes() const { return static_cast<Minute_Of_Day>(Current_Minute - Day_Start_Minute); }
    int Unassigned_Minutes() const { return int(Elapsed_Minutes()) - int(Recorded_Minutes); }

    std::size_t Size() const { return Records.size(); }
    bool Has_User_Rows() const { return Records.size() > 2; }

    // Copies the record first, so a record of this log may be passed. A full log
    // (Max_Day_Log_Records) takes nothing more and gives false.
    bool Append_Record(const Work_Record& record);
    // 1 <= index <= last index; later records move one place down. Any other index
    // changes nothing: the Day_Row stays.
    void Delete_Record(std::uint8_t index);
};
