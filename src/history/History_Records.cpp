#include "history/History_Records.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <string_view>

#include "history/Calendar.h"
#include "platform/Code_Page.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Log_File.h"

namespace
{

// Minutes of "HH:MM", or -1 ("- HH:MM" and anything that is not a time).
long long Duration_Minutes(std::string_view text)
{
    if (text.size() != 5) return -1;
    const Minute_Of_Day_Result minutes = Text_To_Minute_Of_Day(text);
    return minutes.Valid ? static_cast<long long>(minutes.Value) : -1;
}

std::string_view Without_Trailing_Blanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string Lower_Case(std::string_view cp1250_text)
{
    std::string lower(cp1250_text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Cp1250_To_Lower);
    return lower;
}

std::vector<Work_Record> Day_Log_Records(const History_Settings& settings)
{
    std::string content;
    if (!Read_Whole_File(settings.Day_Log_Path(), content)) return {};
    return Decode_Work_Records(content, Max_Day_Log_Records);
}

}  // namespace

std::vector<History_Record> Counted_Records(const Calendar_Date& date, const std::vector<Work_Record>& records)
{
    std::vector<History_Record> counted;
    const auto add = [&](const Work_Record& row) {
        const long long minutes = Duration_Minutes(row[Duration_Field]);
        if (minutes > 0)
            counted.push_back({date, row[Time_Span_Field], row[Work_Type_Field], minutes, row[Remark_Field]});
    };
    if (records.empty()) return counted;
    if (records.size() < First_User_Row_Index + 1)
    {
        add(records[0]);
        return counted;
    }
    for (std::size_t index = 1; index < records.size(); ++index) add(records[index]);
    return counted;
}

History_Records_Reading Read_History_Records(const History_Settings& settings, const Calendar_Date& from,
                                             const Calendar_Date& to)
{
    History_Records_Reading reading;
    const Compiled_Target_Log_Pattern compiled = Compile_Target_Log_Pattern(settings.Format.Line_Pattern);
    if (!compiled.Pattern)
    {
        reading.Problem = compiled.Problem;
        return reading;
    }
    std::optional<Calendar_Date> today;
    const std::vector<Work_Record> day_log = Day_Log_Records(settings);
    if (!day_log.empty())
        if (const std::optional<Date_Time> date =
                Parse_Date(day_log[0][Date_Field], settings.Format.Short_Date_Pattern))
            today = Calendar_Date_Of(*date);

    std::map<Calendar_Date, std::vector<History_Record>> by_date;
    const auto close_block = [&](const Calendar_Date& date, std::vector<Work_Record>& block) {
        if (!block.empty() && date != today && !(date < from) && !(to < date))
        {
            std::vector<History_Record> counted = Counted_Records(date, block);
            std::vector<History_Record>& records = by_date[date];
            records.insert(records.end(), counted.begin(), counted.end());
        }
        block.clear();
    };

    std::string content;
    int error_number = 0;
    if (!Read_Whole_File(settings.Target_Log_File_Name, content, error_number))
    {
        reading.Unreadable = error_number != ENOENT;
        if (reading.Unreadable) reading.Problem = "target log " + settings.Target_Log_File_Name + " cannot be read";
    }
    const std::string_view text = content;
    Calendar_Date block_date;
    std::vector<Work_Record> block;
    std::size_t position = 0;
    while (position < text.size())
    {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(position, end - position);
        position =
            end + (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        if (line.empty() || line == settings.Format.Separator) continue;
        std::optional<Work_Record> record =
            Parse_Target_Log_Line(*compiled.Pattern, line, settings.Format.Short_Date_Pattern);
        if (!record)
        {
            // A damaged line spoils only itself.
            ++reading.Left_Out_Lines;
            continue;
        }
        if (!(*record)[Date_Field].empty())
        {
            close_block(block_date, block);
            block_date = Calendar_Date_Of(*Parse_Date((*record)[Date_Field], settings.Format.Short_Date_Pattern));
        }
        else if (block.empty()) continue;  // rows before the first day belong to no day
        block.push_back(std::move(*record));
    }
    close_block(block_date, block);
    if (today && !(*today < from) && !(to < *today)) by_date[*today] = Counted_Records(*today, day_log);
    for (auto& [date, records] : by_date) reading.Records.insert(reading.Records.end(), records.begin(), records.end());
    return reading;
}

bool History_Record_Filter::Matches(const History_Record& record) const
{
    if (!Work_Types.empty() && std::none_of(Work_Types.begin(), Work_Types.end(), [&](const std::string& work_type) {
            return Cp1250_Equal_Ignoring_Case(Without_Trailing_Blanks(work_type),
                                              Without_Trailing_Blanks(record.Work_Type));
        }))
        return false;
    return Remark_Text.empty() || Lower_Case(record.Remark).find(Lower_Case(Remark_Text)) != std::string::npos;
}

std::vector<History_Day> Days_Of_Records(const std::vector<History_Record>& records)
{
    std::vector<History_Day> days;
    for (const History_Record& record : records)
    {
        if (days.empty() || days.back().Date != record.Date) days.push_back({record.Date, 0, {}});
        History_Day& day = days.back();
        day.Worked_Minutes += record.Minutes;
        auto same = std::find_if(day.By_Work_Type.begin(), day.By_Work_Type.end(),
                                 [&](const Work_Type_Minutes& entry) { return entry.Work_Type == record.Work_Type; });
        if (same == day.By_Work_Type.end()) day.By_Work_Type.push_back({record.Work_Type, record.Minutes});
        else same->Minutes += record.Minutes;
    }
    return days;
}
