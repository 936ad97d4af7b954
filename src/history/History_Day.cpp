#include "history/History_Day.h"

#include <string_view>

#include "platform/Code_Page.h"

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
        if (Same_Work_Type(entry.Work_Type, work_type))
        {
            entry.Minutes += minutes;
            return;
        }
    }
    by_type.push_back({work_type, minutes});
}

// Past midnight the elapsed time wraps and the Day_Row's duration is written empty.
bool Ran_Past_Midnight(const Work_Record& day_row) { return day_row[Duration_Field].empty(); }

}  // namespace

std::string Work_Type_Key(std::string_view work_type)
{
    while (!work_type.empty() && work_type.back() == ' ') work_type.remove_suffix(1);
    std::string key(work_type);
    for (char& character : key) character = Cp1250_To_Lower(character);
    return key;
}

bool Same_Work_Type(std::string_view first, std::string_view second)
{
    while (!first.empty() && first.back() == ' ') first.remove_suffix(1);
    while (!second.empty() && second.back() == ' ') second.remove_suffix(1);
    if (first.size() != second.size()) return false;
    for (std::size_t index = 0; index < first.size(); ++index)
        if (Cp1250_To_Lower(first[index]) != Cp1250_To_Lower(second[index])) return false;
    return true;
}

std::optional<long long> Day_Row_Worked_Minutes(const Work_Record& day_row)
{
    if (!Ran_Past_Midnight(day_row))
    {
        const Row_Minutes worked = Read_Duration(day_row[Duration_Field]);
        if (!worked.Valid || worked.Minutes < 0) return std::nullopt;
        return worked.Minutes;
    }
    const std::string_view span = day_row[Time_Span_Field];
    if (span.size() != 13 || span.substr(5, 3) != " - ") return std::nullopt;
    const Minute_Of_Day_Result start = Text_To_Minute_Of_Day(span.substr(0, 5));
    const Minute_Of_Day_Result end = Text_To_Minute_Of_Day(span.substr(8, 5));
    // Only a span across midnight leaves the duration empty.
    if (!start.Valid || !end.Valid || end.Value >= start.Value) return std::nullopt;
    return static_cast<long long>(end.Value) + 24 * 60 - start.Value;
}

Counted_Day Count_Day_Lines(const Calendar_Date& date, const std::vector<std::optional<Work_Record>>& lines,
                            std::vector<History_Record>* records)
{
    if (lines.empty() || !lines[0]) return {std::nullopt, Day_Count_Problem::No_Records};
    const Work_Record& day_row = *lines[0];
    const std::optional<long long> worked = Day_Row_Worked_Minutes(day_row);
    if (!worked) return {std::nullopt, Day_Count_Problem::Day_Row_Duration};

    History_Day day;
    day.Date = date;
    day.Worked_Minutes = *worked;
    std::vector<History_Record> counted;
    const auto add = [&](const Work_Record& row, long long minutes) {
        Add_Minutes(day.By_Work_Type, row[Work_Type_Field], minutes);
        if (records && minutes > 0)
            counted.push_back({date, row[Time_Span_Field], row[Work_Type_Field], minutes, row[Remark_Field]});
    };
    const auto done = [&] {
        if (records) records->insert(records->end(), counted.begin(), counted.end());
        return Counted_Day{std::move(day), Day_Count_Problem::None};
    };
    if (lines.size() == 1 || (lines.size() == 2 && lines[1]))
    {
        // No User_Row (a lone Unassigned_Row is what an export cut short leaves): the
        // whole day under the Day_Row's work type.
        add(day_row, *worked);
        return done();
    }
    long long booked = 0;
    for (std::size_t index = 2; index < lines.size(); ++index)
    {
        if (!lines[index]) continue;
        const Row_Minutes minutes = Read_Duration((*lines[index])[Duration_Field]);
        if (!minutes.Valid || minutes.Minutes < 0) return {std::nullopt, Day_Count_Problem::User_Row_Duration};
        booked += minutes.Minutes;
    }
    if (lines[1])
    {
        // Past midnight the Unassigned_Row's wrapped text means nothing: the unbooked time
        // is what the span leaves over.
        const Row_Minutes unassigned = Ran_Past_Midnight(day_row) ? Row_Minutes{true, *worked - booked}
                                                                  : Read_Duration((*lines[1])[Duration_Field]);
        if (unassigned.Valid) add(*lines[1], unassigned.Minutes);
    }
    for (std::size_t index = 2; index < lines.size(); ++index)
    {
        if (lines[index]) add(*lines[index], Read_Duration((*lines[index])[Duration_Field]).Minutes);
    }
    return done();
}

Counted_Day Count_Day_Records(const Calendar_Date& date, const std::vector<Work_Record>& records)
{
    return Count_Day_Lines(date, std::vector<std::optional<Work_Record>>(records.begin(), records.end()));
}

bool Is_Whole_Day_Block(const std::vector<Work_Record>& records)
{
    if (records.size() == 1) return true;
    if (records.size() < 3) return false;
    const std::optional<long long> worked = Day_Row_Worked_Minutes(records[0]);
    if (!worked) return false;
    long long booked = 0;
    for (std::size_t index = 2; index < records.size(); ++index)
    {
        const Row_Minutes minutes = Read_Duration(records[index][Duration_Field]);
        if (!minutes.Valid) return false;
        booked += minutes.Minutes;
    }
    if (Ran_Past_Midnight(records[0])) return true;
    const Row_Minutes unassigned = Read_Duration(records[1][Duration_Field]);
    return unassigned.Valid && unassigned.Minutes + booked == *worked;
}
