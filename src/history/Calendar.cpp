#include "history/Calendar.h"

#include <cstdio>

namespace
{
bool Is_Leap_Year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
}  // namespace

int Days_In_Month(int year, int month)
{
    static constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && Is_Leap_Year(year) ? 29 : Lengths[month - 1];
}

bool Is_Valid_Calendar_Date(const Calendar_Date& date)
{
    return date.Year >= 1 && date.Year <= 9999 && date.Day >= 1 && date.Day <= Days_In_Month(date.Year, date.Month);
}

// Howard Hinnant's days_from_civil / civil_from_days.
long long Days_Since_Epoch(const Calendar_Date& date)
{
    const long long year = date.Month <= 2 ? date.Year - 1 : date.Year;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long year_of_era = year - era * 400;
    const long long month = date.Month;
    const long long day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + date.Day - 1;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

Calendar_Date Date_From_Days_Since_Epoch(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long day_of_era = days - era * 146097;
    const long long year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long month_piece = (5 * day_of_year + 2) / 153;
    Calendar_Date date;
    date.Day = static_cast<int>(day_of_year - (153 * month_piece + 2) / 5 + 1);
    date.Month = static_cast<int>(month_piece < 10 ? month_piece + 3 : month_piece - 9);
    date.Year = static_cast<int>(year_of_era + era * 400 + (date.Month <= 2 ? 1 : 0));
    return date;
}

Calendar_Date Add_Days(const Calendar_Date& date, long long days)
{
    return Date_From_Days_Since_Epoch(Days_Since_Epoch(date) + days);
}

int Iso_Day_Of_Week(const Calendar_Date& date)
{
    // 1970-01-01 was a Thursday.
    const long long days = Days_Since_Epoch(date);
    const long long monday_based = ((days + 3) % 7 + 7) % 7;
    return static_cast<int>(monday_based) + 1;
}

std::string Iso_Date_Text(const Calendar_Date& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

std::optional<Calendar_Date> Parse_Iso_Date(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto number = [&](std::size_t from, std::size_t length, int& value) {
        value = 0;
        for (std::size_t index = from; index < from + length; ++index)
        {
            if (text[index] < '0' || text[index] > '9') return false;
            value = value * 10 + (text[index] - '0');
        }
        return true;
    };
    Calendar_Date date;
    if (!number(0, 4, date.Year) || !number(5, 2, date.Month) || !number(8, 2, date.Day)) return std::nullopt;
    if (!Is_Valid_Calendar_Date(date)) return std::nullopt;
    return date;
}

Calendar_Date Calendar_Date_Of(const Date_Time& value) { return {value.Year, value.Month, value.Day}; }

Date_Time Date_Time_Of(const Calendar_Date& date)
{
    Date_Time value;
    value.Year = date.Year;
    value.Month = date.Month;
    value.Day = date.Day;
    return value;
}
