#include "ui/report/Report_Format.h"

#include <cstdio>

std::string Report_Minutes_Text(long long minutes)
{
    const bool negative = minutes < 0;
    // Unsigned, so the most negative value has a magnitude too.
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(minutes)
                                                  : static_cast<unsigned long long>(minutes);
    char text[40];
    std::snprintf(text, sizeof text, "%s%02llu:%02llu", negative ? "-" : "", magnitude / 60, magnitude % 60);
    return text;
}

std::string Report_Share_Text(long long part, long long whole)
{
    if (whole <= 0) return "0.0 %";
    // In tenths of a per cent, rounded half up.
    const long double tenths = static_cast<long double>(part) * 1000.0L / static_cast<long double>(whole);
    const long long rounded = static_cast<long long>(tenths + (tenths < 0 ? -0.5L : 0.5L));
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%lld %%", rounded < 0 ? "-" : "", (rounded < 0 ? -rounded : rounded) / 10,
                  (rounded < 0 ? -rounded : rounded) % 10);
    return text;
}

long long Report_Day_Number(const Calendar_Date& date)
{
    // Howard Hinnant's days_from_civil.
    const long long year = date.Year - (date.Month <= 2 ? 1 : 0);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long year_of_era = year - era * 400;
    const long long month = date.Month;
    const long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + date.Day - 1;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

int Report_Week_Day(const Calendar_Date& date)
{
    // 1970-01-01 was a Thursday.
    const long long number = Report_Day_Number(date);
    return int(((number % 7) + 7 + 4) % 7);
}

Calendar_Date Report_Date_Of_Day_Number(long long day_number)
{
    // Howard Hinnant's civil_from_days.
    const long long shifted = day_number + 719468;
    const long long era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const long long day_of_era = shifted - era * 146097;
    const long long year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long month_index = (5 * day_of_year + 2) / 153;
    Calendar_Date date;
    date.Day = int(day_of_year - (153 * month_index + 2) / 5 + 1);
    date.Month = int(month_index < 10 ? month_index + 3 : month_index - 9);
    date.Year = int(year_of_era + era * 400 + (date.Month <= 2 ? 1 : 0));
    return date;
}
