#include "worklog/Day_Log.h"

#include <cassert>

namespace
{

constexpr std::size_t Day_Row = 0;
constexpr std::size_t Unassigned_Row = 1;

// Only the fields that a user types; the others of a row are computed or stay empty.
Work_Record Typed_Fields(const Work_Record& record)
{
    Work_Record typed;
    typed[Work_Type_Field] = record[Work_Type_Field];
    typed[Duration_Field] = record[Duration_Field];
    typed[Remark_Field] = record[Remark_Field];
    return typed;
}

}  // namespace

Minute_Of_Day Record_Minutes(const Work_Record& record)
{
    return Text_To_Minute_Of_Day_Or_Zero(record[Duration_Field]);
}

std::string Day_Log_Invariant_Fault(const Day_Log& day_log)
{
    const std::size_t size = day_log.Size();
    if (size > Max_Day_Log_Records) return "more than " + std::to_string(Max_Day_Log_Records) + " rows";
    if (size == 2) return "an Unassigned_Row without a User_Row";
    unsigned sum = 0;
    for (std::size_t row = First_User_Row_Index; row < size; ++row) sum += Record_Minutes(day_log[row]);
    if (sum != day_log.Recorded_Minutes)
        return "Recorded_Minutes " + std::to_string(day_log.Recorded_Minutes) + " but the User_Rows hold " +
               std::to_string(sum);
    return {};
}

void Day_Log::Check_Invariants() const
{
    assert(Day_Log_Invariant_Fault(*this).empty());
}

bool Day_Log::Append_Record(const Work_Record& record)
{
    if (Records.size() >= Max_Day_Log_Records) return false;
    Work_Record copy = record;
    Records.push_back(std::move(copy));
    return true;
}

void Day_Log::Delete_Record(std::uint8_t index)
{
    if (index == 0 || index >= Records.size()) return;
    Records.erase(Records.begin() + index);
}

void Day_Log::Start_Day(const Work_Record& day_row, Minute_Of_Day day_start_minute)
{
    Records.assign(1, day_row);
    Day_Start_Minute = day_start_minute;
    Current_Minute = day_start_minute;
    Recorded_Minutes = 0;
    Check_Invariants();
}

void Day_Log::Continue_Day(std::vector<Work_Record> records, Minute_Of_Day day_start_minute)
{
    if (records.size() > Max_Day_Log_Records) records.resize(Max_Day_Log_Records);
    Records = std::move(records);
    Day_Start_Minute = day_start_minute;
    Recorded_Minutes = 0;
    for (std::size_t row = First_User_Row_Index; row < Records.size(); ++row)
        Recorded_Minutes = static_cast<Minute_Of_Day>(Recorded_Minutes + Record_Minutes(Records[row]));
    if (Records.size() == 2) Fold_Back_Into_Day_Row();
    Check_Invariants();
}

bool Day_Log::Add_User_Record(const Work_Record& record, const std::string& day_row_label)
{
    const std::size_t rows_needed = Has_User_Rows() ? 1 : 2;
    if (Records.empty() || Records.size() + rows_needed > Max_Day_Log_Records) return false;
    const Work_Record user_row = Typed_Fields(record);
    if (!Has_User_Rows())
    {
        Work_Record unassigned;
        unassigned[Work_Type_Field] = Records[Day_Row][Work_Type_Field];
        unassigned[Remark_Field] = Records[Day_Row][Remark_Field];
        Append_Record(unassigned);
        Records[Day_Row][Work_Type_Field] = day_row_label;
        Records[Day_Row][Remark_Field].clear();
    }
    Append_Record(user_row);
    Recorded_Minutes = static_cast<Minute_Of_Day>(Recorded_Minutes + Record_Minutes(user_row));
    Refresh_Summary_Rows(Current_Minute);
    return true;
}

bool Day_Log::Replace_Record(std::size_t row, const Work_Record& record)
{
    if (row >= Records.size()) return false;
    if (row == Day_Row || row == Unassigned_Row)
    {
        Records[row][Work_Type_Field] = record[Work_Type_Field];
        Records[row][Remark_Field] = record[Remark_Field];
        Check_Invariants();
        return true;
    }
    const Minute_Of_Day present = Record_Minutes(Records[row]);
    Records[row] = Typed_Fields(record);
    Recorded_Minutes = static_cast<Minute_Of_Day>(Recorded_Minutes - present + Record_Minutes(Records[row]));
    Refresh_Summary_Rows(Current_Minute);
    return true;
}

bool Day_Log::Set_Duration(std::size_t row, Minute_Of_Day duration)
{
    if (!Is_User_Row(row) || duration > Last_Minute_Of_Day) return false;
    Work_Record record = Records[row];
    record[Duration_Field] = Minute_Of_Day_To_Text(duration);
    return Replace_Record(row, record);
}

bool Day_Log::Delete_User_Record(std::size_t row)
{
    if (!Is_User_Row(row)) return false;
    // Folding follows the last User_Row, also when it was stored with 00:00.
    if (Records.size() == First_User_Row_Index + 1)
    {
        Fold_Back_Into_Day_Row();
    }
    else
    {
        Recorded_Minutes = static_cast<Minute_Of_Day>(Recorded_Minutes - Record_Minutes(Records[row]));
        Delete_Record(static_cast<std::uint8_t>(row));
    }
    Refresh_Summary_Rows(Current_Minute);
    return true;
}

bool Day_Log::Clear_User_Records()
{
    if (!Has_User_Rows()) return false;
    Fold_Back_Into_Day_Row();
    Refresh_Summary_Rows(Current_Minute);
    return true;
}

void Day_Log::Fold_Back_Into_Day_Row()
{
    // The Unassigned_Row gives its work type and remark back to the Day_Row.
    if (Records.size() >= 2)
    {
        Records[Day_Row][Work_Type_Field] = Records[Unassigned_Row][Work_Type_Field];
        Records[Day_Row][Remark_Field] = Records[Unassigned_Row][Remark_Field];
    }
    Records.resize(std::min<std::size_t>(Records.size(), 1));
    Recorded_Minutes = 0;
}

void Day_Log::Refresh_Summary_Rows(Minute_Of_Day current_minute)
{
    Current_Minute = current_minute;
    if (Records.empty()) return;
    Work_Record& day_row = Records[Day_Row];
    day_row[Time_Span_Field] = Minute_Of_Day_To_Text(Day_Start_Minute) + " - " + Minute_Of_Day_To_Text(Current_Minute);
    // Past midnight the elapsed time wraps and shows no text.
    day_row[Duration_Field] = Minute_Of_Day_To_Text(Elapsed_Minutes());
    if (Records.size() > Unassigned_Row)
    {
        const auto unassigned = static_cast<std::int16_t>(Elapsed_Minutes() - Recorded_Minutes);
        Records[Unassigned_Row][Duration_Field] = unassigned < 0
                                                      ? "- " + Minute_Of_Day_To_Text(Minute_Of_Day(-unassigned))
                                                      : Minute_Of_Day_To_Text(Minute_Of_Day(unassigned));
    }
    Check_Invariants();
}
