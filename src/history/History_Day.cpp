#include "history/History_Day.h"

#include <string_view>

namespace
{

struct Row_Minutes
{
    bool Valid = false;
    long long Minutes = 0;  // negative for "- HH:MM"
};

Row_Minutes Read_Duration(std::string_view text)
{
    bool negative = false;
    if (text.size() > 5 && text.substr(0, 2) == "- ")
    {
        negative = true;
        text.remove_prefix(2);
    }
    if (text.size() != 5) return {};
    const Minute_Of_Day_Result minutes = Text_To_Minute_Of_Day(text);
    if (!minutes.Valid) return {};
    return {true, negative ? -static_cast<long long>(minutes.Value) : static_cast<long long>(minutes.Value)};
}

void Add_Minutes(std::vector<Work_Type_Minutes>& by_type, const std::string& work_type, long long minutes)
{
    if (minutes <= 0) return;
    for (Work_Type_Minutes& entry : by_type)
    {
        if (entry.Work_Type == work_type)
        {
            entry.Minutes += minutes;
            return;
        }
    }
    by_type.push_back({work_type, minutes});
}

}  // namespace

Counted_Day Count_Day_Records(const Calendar_Date& date, const std::vector<Work_Record>& records)
{
    if (records.empty()) return {std::nullopt, Day_Count_Problem::No_Records};
    const Row_Minutes worked = Read_Duration(records[0][Duration_Field]);
    if (!worked.Valid || worked.Minutes < 0) return {std::nullopt, Day_Count_Problem::Day_Row_Duration};

    History_Day day;
    day.Date = date;
    day.Worked_Minutes = worked.Minutes;
    if (records.size() < 3)
    {
        // No User_Row (a lone Unassigned_Row is what an export cut short leaves): the
        // whole day under the Day_Row's work type.
        Add_Minutes(day.By_Work_Type, records[0][Work_Type_Field], worked.Minutes);
        return {day, Day_Count_Problem::None};
    }
    // The Unassigned_Row is computed, never typed: one that does not read (a day past
    // midnight) stands for no unbooked time.
    const Row_Minutes unassigned = Read_Duration(records[1][Duration_Field]);
    if (unassigned.Valid) Add_Minutes(day.By_Work_Type, records[1][Work_Type_Field], unassigned.Minutes);
    for (std::size_t index = 2; index < records.size(); ++index)
    {
        const Row_Minutes minutes = Read_Duration(records[index][Duration_Field]);
        if (!minutes.Valid || minutes.Minutes < 0) return {std::nullopt, Day_Count_Problem::User_Row_Duration};
        Add_Minutes(day.By_Work_Type, records[index][Work_Type_Field], minutes.Minutes);
    }
    return {day, Day_Count_Problem::None};
}

bool Is_Whole_Day_Block(const std::vector<Work_Record>& records)
{
    if (records.size() == 1) return true;
    if (records.size() < 3) return false;
    const Row_Minutes worked = Read_Duration(records[0][Duration_Field]);
    const Row_Minutes unassigned = Read_Duration(records[1][Duration_Field]);
    if (!worked.Valid || !unassigned.Valid) return false;
    long long booked = 0;
    for (std::size_t index = 2; index < records.size(); ++index)
    {
        const Row_Minutes minutes = Read_Duration(records[index][Duration_Field]);
        if (!minutes.Valid) return false;
        booked += minutes.Minutes;
    }
    return unassigned.Minutes + booked == worked.Minutes;
}
