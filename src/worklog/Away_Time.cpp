#include "worklog/Away_Time.h"

#include <algorithm>

namespace
{

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t Days_From_Civil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int year_of_era = int(year - era * 400);
    const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

std::int64_t Seconds_Of(const Date_Time& value)
{
    return Days_From_Civil(value.Year, value.Month, value.Day) * 86400 + value.Hour * 3600 + value.Minute * 60 +
           value.Second;
}

Date_Time Date_Time_Of(std::int64_t seconds)
{
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int second_of_day = int(seconds - days * 86400);
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const int day_of_era = int(shifted - era * 146097);
    const int year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int month_index = (5 * day_of_year + 2) / 153;
    Date_Time value;
    value.Day = day_of_year - (153 * month_index + 2) / 5 + 1;
    value.Month = month_index < 10 ? month_index + 3 : month_index - 9;
    value.Year = int(year_of_era + era * 400) + (value.Month <= 2 ? 1 : 0);
    value.Hour = second_of_day / 3600;
    value.Minute = second_of_day / 60 % 60;
    value.Second = second_of_day % 60;
    return value;
}

std::int64_t Minute_Start(std::int64_t seconds) { return seconds - ((seconds % 60) + 60) % 60; }

}  // namespace

void Away_Tracker::User_Left(const Date_Time& at)
{
    if (!Left_At) Left_At = Seconds_Of(at);
}

void Away_Tracker::User_Back(const Date_Time& at)
{
    Idle_Away = false;
    if (!Left_At) return;
    // A second period before the first was asked about joins it.
    if (!Returned_From) Returned_From = Left_At;
    Back_At = std::max(Seconds_Of(at), *Left_At);
    Left_At.reset();
}

void Away_Tracker::Input_Idle(const Date_Time& now, std::int64_t idle_milliseconds, int away_minutes)
{
    const std::int64_t idle_seconds = std::max<std::int64_t>(idle_milliseconds, 0) / 1000;
    if (Idle_Away && idle_milliseconds < Last_Idle) User_Back(Date_Time_Of(Seconds_Of(now) - idle_seconds));
    else if (!Idle_Away && away_minutes > 0 && idle_milliseconds >= std::int64_t(away_minutes) * 60000)
    {
        User_Left(Date_Time_Of(Seconds_Of(now) - idle_seconds));
        Idle_Away = true;
    }
    Last_Idle = idle_milliseconds;
}

std::optional<Away_Period> Away_Tracker::Take_Question(const Day_Log& day, const Date_Time& now, int away_minutes)
{
    if (Left_At || !Back_At || !Returned_From) return std::nullopt;
    std::int64_t began = Minute_Start(*Returned_From);
    const std::int64_t ended = Minute_Start(*Back_At);
    Returned_From.reset();
    Back_At.reset();
    if (away_minutes <= 0 || day.Empty()) return std::nullopt;
    // The day began at the last time its first minute showed on the clock: no day runs
    // for 24 hours, a new date ends it first.
    const int now_minute = now.Hour * 60 + now.Minute;
    const int since_day_start = (now_minute - int(day.Day_Start_Minute()) + 1440) % 1440;
    began = std::max(began, Minute_Start(Seconds_Of(now)) - std::int64_t(since_day_start) * 60);
    const std::int64_t minutes = (ended - began) / 60;
    if (minutes < away_minutes) return std::nullopt;
    return Away_Period{Date_Time_Of(began), Date_Time_Of(ended), static_cast<Minute_Of_Day>(minutes)};
}

Record_Verdict Book_Away_Time(Day_Rules& rules, const Away_Period& period, const std::string& work_type,
                              const std::string& remark, bool overtime_confirmed)
{
    const Day_Log& day = rules.Log();
    Record_Input input{day.Size(), work_type, remark, true, period.Minutes};
    const std::optional<std::uint8_t> row = rules.Row_With_Work_Type(work_type);
    if (row && day.Is_User_Row(*row))
    {
        const int total = int(Record_Minutes(day[*row])) + int(period.Minutes);
        input = Record_Input{*row, day[*row][Work_Type_Field], remark.empty() ? day[*row][Remark_Field] : remark,
                             total <= int(Last_Minute_Of_Day), static_cast<Minute_Of_Day>(std::min(total, 1439))};
    }
    return rules.Store_Record(input, overtime_confirmed);
}
