#include "platform/Clock.h"

#include <sys/time.h>

#include <ctime>

namespace
{

bool Is_Leap_Year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int Days_In_Month(int year, int month)
{
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    if (month == 2 && Is_Leap_Year(year)) return 29;
    return Days[month - 1];
}

// Days since 1 January of year 1 in the proleptic Gregorian calendar (day 0 is a Monday).
long long Day_Number(int year, int month, int day)
{
    // Counting March as the first month puts the leap day at the end of the year.
    const long long shifted_year = month <= 2 ? year - 1 : year;
    const long long shifted_month = month <= 2 ? month + 9 : month - 3;
    return 365 * shifted_year + shifted_year / 4 - shifted_year / 100 + shifted_year / 400 +
           (153 * shifted_month + 2) / 5 + day - 307;
}

}  // namespace

bool Is_Valid_Date(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    return day <= Days_In_Month(year, month);
}

int Day_Of_Week(const Date_Time& value)
{
    const long long days = Day_Number(value.Year, value.Month, value.Day);
    // Day 0 (1 January of year 1) was a Monday, which is 2 in the Sunday-first numbering.
    const long long weekday_from_monday = ((days % 7) + 7) % 7;
    return static_cast<int>((weekday_from_monday + 1) % 7) + 1;
}

Date_Time System_Clock::Now() const
{
    timeval now{};
    ::gettimeofday(&now, nullptr);
    const std::time_t seconds = now.tv_sec;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    Date_Time value;
    value.Year = local.tm_year + 1900;
    value.Month = local.tm_mon + 1;
    value.Day = local.tm_mday;
    value.Hour = local.tm_hour;
    value.Minute = local.tm_min;
    value.Second = local.tm_sec;
    value.Millisecond = static_cast<int>(now.tv_usec / 1000);
    return value;
}
