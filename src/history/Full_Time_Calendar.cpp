#include "history/Full_Time_Calendar.h"

#include <algorithm>

#include "history/Calendar.h"

long long Full_Time_Calendar::Target_Of(const Calendar_Date& date) const
{
    if (!Work_Days[static_cast<std::size_t>(Iso_Day_Of_Week(date))]) return 0;
    return std::binary_search(Days_Off.begin(), Days_Off.end(), date) ? 0 : Minutes;
}

std::optional<std::array<bool, 8>> Parse_Work_Days(std::string_view text)
{
    std::array<bool, 8> days{};
    bool any = false;
    bool digit_expected = true;
    for (const char character : text)
    {
        if (character == ' ' || character == '\t') continue;
        if (digit_expected && character >= '1' && character <= '7')
        {
            days[static_cast<std::size_t>(character - '0')] = true;
            any = true;
            digit_expected = false;
        }
        else if (!digit_expected && character == ',') digit_expected = true;
        else return std::nullopt;
    }
    if (!any || digit_expected) return std::nullopt;
    return days;
}

std::vector<Calendar_Date> Parse_Days_Off(std::string_view text)
{
    std::vector<Calendar_Date> days;
    while (!text.empty())
    {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.size() > 10 && line[10] != ' ' && line[10] != '\t') continue;
        if (const std::optional<Calendar_Date> date = Parse_Iso_Date(line.substr(0, 10))) days.push_back(*date);
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}
