#include "history/History_Records.h"

#include <algorithm>
#include <string_view>

#include "history/Calendar.h"
#include "platform/Code_Page.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Log_File.h"

namespace
{

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

History_Records_Reading Read_History_Records(const History_Settings& settings, const Calendar_Date& from,
                                             const Calendar_Date& to)
{
    History_Records_Reading reading;
    Target_Log_Format format = Format_With_Known_Patterns(settings);
    format.Records_Between = {from, to};
    Target_Log_Reading target_log;
    bool missing = false;
    bool stopped = false;
    if (!Read_Target_Log_File(settings.Target_Log_File_Name, format, {}, target_log, reading.Problem, missing, stopped))
    {
        reading.Unreadable = !missing;
        if (missing) reading.Problem.clear();
    }
    else if (!target_log.Pattern_Problem.empty())
    {
        reading.Problem = target_log.Pattern_Problem;
        return reading;
    }
    reading.Reading_Problems = target_log.Problems_Text();
    reading.Records = std::move(target_log.Records);

    // Today's day as the day log holds it, in place of any block of its date.
    const std::vector<Work_Record> day_log = Day_Log_Records(settings);
    if (day_log.empty()) return reading;
    const std::optional<Date_Time> date = Parse_Date(day_log[0][Date_Field], settings.Format.Short_Date_Pattern);
    if (!date) return reading;
    const Calendar_Date today = Calendar_Date_Of(*date);
    std::erase_if(reading.Records, [&](const History_Record& record) { return record.Date == today; });
    if (today < from || to < today) return reading;
    std::vector<History_Record> today_records;
    Count_Day_Lines(today, std::vector<std::optional<Work_Record>>(day_log.begin(), day_log.end()), &today_records);
    const auto after =
        std::upper_bound(reading.Records.begin(), reading.Records.end(), today,
                         [](const Calendar_Date& day, const History_Record& record) { return day < record.Date; });
    reading.Records.insert(after, today_records.begin(), today_records.end());
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
        auto same = std::find_if(day.By_Work_Type.begin(), day.By_Work_Type.end(), [&](const Work_Type_Minutes& entry) {
            return Same_Work_Type(entry.Work_Type, record.Work_Type);
        });
        if (same == day.By_Work_Type.end()) day.By_Work_Type.push_back({record.Work_Type, record.Minutes});
        else same->Minutes += record.Minutes;
    }
    return days;
}
