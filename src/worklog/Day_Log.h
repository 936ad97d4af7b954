#pragma once
// The records of one day. Row 0 is the Day_Row; row 1 the Unassigned_Row while the day
// has user records; the User_Rows follow. The log keeps its own invariants: never more
// than Max_Day_Log_Records rows, never exactly two, and Recorded_Minutes the sum of the
// User_Rows' durations. Every operation below leaves them kept.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "worklog/Time_Values.h"

inline constexpr std::size_t Max_Day_Log_Records = 16;
inline constexpr std::size_t Work_Record_Field_Count = 6;
inline constexpr std::size_t First_User_Row_Index = 2;
// 23:59: no record of the day may run past it.
inline constexpr Minute_Of_Day Last_Minute_Of_Day = 1439;

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

class Day_Log
{
public:
    const std::vector<Work_Record>& Records() const { return Rows; }
    const Work_Record& operator[](std::size_t row) const { return Rows[row]; }
    std::size_t Size() const { return Rows.size(); }
    bool Empty() const { return Rows.empty(); }
    bool Has_User_Rows() const { return Rows.size() > First_User_Row_Index; }
    bool Is_User_Row(std::size_t row) const { return row >= First_User_Row_Index && row < Rows.size(); }

    Minute_Of_Day Day_Start_Minute() const { return Start_Minute; }
    Minute_Of_Day Current_Minute() const { return Now_Minute; }
    Minute_Of_Day Recorded_Minutes() const { return Recorded; }
    // From Day_Start_Minute on to Current_Minute; a day that runs past midnight (a later day
    // boundary) goes on counting: 23:00 to 01:00 is two hours.
    Minute_Of_Day Elapsed_Minutes() const
    {
        if (Now_Minute >= Start_Minute || Start_Minute >= 1440)
            return static_cast<Minute_Of_Day>(Now_Minute - Start_Minute);
        return static_cast<Minute_Of_Day>(Now_Minute + 1440 - Start_Minute);
    }
    int Unassigned_Minutes() const { return int(Elapsed_Minutes()) - int(Recorded); }

    // A day of one Day_Row that begins at day_start_minute, which is also now.
    void Start_Day(const Work_Record& day_row, Minute_Of_Day day_start_minute);
    // A stored day taken up again: the Day_Row first, then the rows as they were stored.
    // A lone Unassigned_Row folds back into the Day_Row; rows past the limit are dropped.
    void Continue_Day(std::vector<Work_Record> records, Minute_Of_Day day_start_minute);

    // Appends a User_Row. The day's first one splits the Unassigned_Row off the Day_Row,
    // which takes day_row_label as its work type. Gives false, changing nothing, when the
    // log has no room or holds no Day_Row.
    bool Add_User_Record(const Work_Record& record, const std::string& day_row_label);
    // The Day_Row and the Unassigned_Row take only the work type and the remark; their
    // other fields are computed. A User_Row takes the work type, duration and remark.
    bool Replace_Record(std::size_t row, const Work_Record& record);
    // The day row's day name, as another language names the same day.
    void Set_Day_Name(const std::string& day_name);
    bool Set_Duration(std::size_t row, Minute_Of_Day duration);
    // Removes a User_Row; the last one takes the Unassigned_Row with it, whose work type
    // and remark return to the Day_Row.
    bool Delete_User_Record(std::size_t row);
    bool Clear_User_Records();

    // Now is current_minute: rewrites the Day_Row's span and duration and the
    // Unassigned_Row's duration ("- HH:MM" when more is recorded than has elapsed).
    void Refresh_Summary_Rows(Minute_Of_Day current_minute);

private:
    // Copies the record first, so a record of this log may be passed.
    void Append_Record(const Work_Record& record);
    void Fold_Back_Into_Day_Row();
    void Check_Invariants() const;

    std::vector<Work_Record> Rows;
    Minute_Of_Day Start_Minute = 0;
    Minute_Of_Day Now_Minute = 0;
    Minute_Of_Day Recorded = 0;  // sum of the User_Rows' durations
};

// The duration a User_Row counts with: its HH:MM, or 0 when that is not a time.
Minute_Of_Day Record_Minutes(const Work_Record& record);

// Empty when the log keeps its invariants; otherwise what is broken. One checker for the
// debug assertion after each operation and for the fuzz target.
std::string Day_Log_Invariant_Fault(const Day_Log& day_log);
