#include "history/History_Period.h"

#include <utility>

#include "history/Calendar.h"

History_Period History_Period_Containing(History_Period_Kind kind, const Calendar_Date& day)
{
    History_Period period;
    period.Kind = kind;
    switch (kind)
    {
    case History_Period_Kind::Week:
        period.From = Add_Days(day, 1 - Iso_Day_Of_Week(day));
        period.To = Add_Days(period.From, 6);
        break;
    case History_Period_Kind::Month:
        period.From = {day.Year, day.Month, 1};
        period.To = {day.Year, day.Month, Days_In_Month(day.Year, day.Month)};
        break;
    case History_Period_Kind::Year:
        period.From = {day.Year, 1, 1};
        period.To = {day.Year, 12, 31};
        break;
    case History_Period_Kind::All:
        period.From = {1, 1, 1};
        period.To = {9999, 12, 31};
        break;
    case History_Period_Kind::Custom:
        period.From = day;
        period.To = day;
        break;
    }
    return period;
}

History_Period Custom_History_Period(const Calendar_Date& from, const Calendar_Date& to)
{
    History_Period period{History_Period_Kind::Custom, from, to};
    if (period.To < period.From) std::swap(period.From, period.To);
    return period;
}

namespace
{
History_Period Moved_Period(const History_Period& period, int direction)
{
    switch (period.Kind)
    {
    case History_Period_Kind::Week: return History_Period_Containing(period.Kind, Add_Days(period.From, 7 * direction));
    case History_Period_Kind::Month: {
        int month = period.From.Month + direction;
        int year = period.From.Year;
        if (month < 1) month = 12, --year;
        if (month > 12) month = 1, ++year;
        return History_Period_Containing(period.Kind, {year, month, 1});
    }
    case History_Period_Kind::Year: return History_Period_Containing(period.Kind, {period.From.Year + direction, 1, 1});
    case History_Period_Kind::All: return period;
    case History_Period_Kind::Custom: {
        const long long length = Days_Since_Epoch(period.To) - Days_Since_Epoch(period.From) + 1;
        return {period.Kind, Add_Days(period.From, length * direction), Add_Days(period.To, length * direction)};
    }
    }
    return period;
}
}  // namespace

History_Period Previous_History_Period(const History_Period& period) { return Moved_Period(period, -1); }
History_Period Next_History_Period(const History_Period& period) { return Moved_Period(period, 1); }
