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
    if (sum != day_log.Recorded_Minutes())
        return "Recorded_Minutes " + std::to_string(day_log.Recorded_Minutes()) + " but the User_Rows hold " +
               std::to_string(sum);
    return {};
}

void Day_Log::Check_Invariants() const { assert(Day_Log_Invariant_Fault(*this).empty()); }

void Day_Log::Append_Record(const Work_Record& record)
{
    Work_Record copy = record;
    Rows.push_back(std::move(copy));
}

void Day_Log::Start_Day(const Work_Record& day_row, Minute_Of_Day day_start_minute)
{
    Rows.assign(1, day_row);
    Start_Minute = day_start_minute;
    Now_Minute = day_start_minute;
    Recorded = 0;
    Check_Invariants();
}

void Day_Log::Continue_Day(std::vector<Work_Record> records, Minute_Of_Day day_start_minute)
{
    if (records.size() > Max_Day_Log_Records) records.resize(Max_Day_Log_Records);
    Rows = std::move(records);
    Start_Minute = day_start_minute;
    Recorded = 0;
    for (std::size_t row = First_User_Row_Index; row < Rows.size(); ++row)
        Recorded = static_cast<Minute_Of_Day>(Recorded + Record_Minutes(Rows[row]));
    if (Rows.size() == 2) Fold_Back_Into_Day_Row();
    Check_Invariants();
}

bool Day_Log::Add_User_Record(const Work_Record& record, const std::string& day_row_label)
{
    const std::size_t rows_needed = Has_User_Rows() ? 1 : 2;
    if (Rows.empty() || Rows.size() + rows_needed > Max_Day_Log_Records) return false;
    const Work_Record user_row = Typed_Fields(record);
    if (!Has_User_Rows())
    {
        Work_Record unassigned;
        unassigned[Work_Type_Field] = Rows[Day_Row][Work_Type_Field];
        unassigned[Remark_Field] = Rows[Day_Row][Remark_Field];
        Append_Record(unassigned);
        Rows[Day_Row][Work_Type_Field] = day_row_label;
        Rows[Day_Row][Remark_Field].clear();
    }
    Append_Record(user_row);
    Recorded = static_cast<Minute_Of_Day>(Recorded + Record_Minutes(user_row));
    Refresh_Summary_Rows(Now_Minute);
    return true;
}

void Day_Log::Set_Day_Name(const std::string& day_name)
{
    if (!Rows.empty()) Rows[Day_Row][Day_Name_Field] = day_name;
}

bool Day_Log::Replace_Record(std::size_t row, const Work_Record& record)
{
    if (row >= Rows.size()) return false;
    if (row == Day_Row || row == Unassigned_Row)
    {
        Rows[row][Work_Type_Field] = record[Work_Type_Field];
        Rows[row][Remark_Field] = record[Remark_Field];
        Check_Invariants();
        return true;
    }
    const Minute_Of_Day present = Record_Minutes(Rows[row]);
    Rows[row] = Typed_Fields(record);
    Recorded = static_cast<Minute_Of_Day>(Recorded - present + Record_Minutes(Rows[row]));
    Refresh_Summary_Rows(Now_Minute);
    return true;
}

bool Day_Log::Set_Duration(std::size_t row, Minute_Of_Day duration)
{
    if (!Is_User_Row(row) || duration > Last_Minute_Of_Day) return false;
    Work_Record record = Rows[row];
    record[Duration_Field] = Minute_Of_Day_To_Text(duration);
    return Replace_Record(row, record);
}

bool Day_Log::Delete_User_Record(std::size_t row)
{
    if (!Is_User_Row(row)) return false;
    // Folding follows the last User_Row, also when it was stored with 00:00.
    if (Rows.size() == First_User_Row_Index + 1)
    {
        Fold_Back_Into_Day_Row();
    }
    else
    {
        Recorded = static_cast<Minute_Of_Day>(Recorded - Record_Minutes(Rows[row]));
        Rows.erase(Rows.begin() + static_cast<std::ptrdiff_t>(row));
    }
    Refresh_Summary_Rows(Now_Minute);
    return true;
}

bool Day_Log::Clear_User_Records()
{
    if (!Has_User_Rows()) return false;
    Fold_Back_Into_Day_Row();
    Refresh_Summary_Rows(Now_Minute);
    return true;
}

void Day_Log::Fold_Back_Into_Day_Row()
{
    // The Unassigned_Row gives its work type and remark back to the Day_Row.
    if (Rows.size() >= 2)
    {
        Rows[Day_Row][Work_Type_Field] = Rows[Unassigned_Row][Work_Type_Field];
        Rows[Day_Row][Remark_Field] = Rows[Unassigned_Row][Remark_Field];
    }
    Rows.resize(std::min<std::size_t>(Rows.size(), 1));
    Recorded = 0;
}

void Day_Log::Refresh_Summary_Rows(Minute_Of_Day current_minute)
{
    Now_Minute = current_minute;
    if (Rows.empty()) return;
    Work_Record& day_row = Rows[Day_Row];
    day_row[Time_Span_Field] = Minute_Of_Day_To_Text(Start_Minute) + " - " + Minute_Of_Day_To_Text(Now_Minute);
    // Past midnight the elapsed time wraps and shows no text.
    day_row[Duration_Field] = Minute_Of_Day_To_Text(Elapsed_Minutes());
    if (Rows.size() > Unassigned_Row)
    {
        const auto unassigned = static_cast<std::int16_t>(Elapsed_Minutes() - Recorded);
        Rows[Unassigned_Row][Duration_Field] = unassigned < 0 ? "- " + Minute_Of_Day_To_Text(Minute_Of_Day(-unassigned))
                                                              : Minute_Of_Day_To_Text(Minute_Of_Day(unassigned));
    }
    Check_Invariants();
}
