#include "support/Fake_Clock.h"

namespace
{

int Days_Of_Month(int year, int month)
{
    int days = 31;
    while (days > 28 && !Is_Valid_Date(year, month, days)) --days;
    return days;
}

}  // namespace

void Fake_Clock::Advance_Minutes(int minutes)
{
    long long total = static_cast<long long>(Value.Hour) * 60 + Value.Minute + minutes;
    long long day_shift = total / 1440;
    total %= 1440;
    if (total < 0)
    {
        total += 1440;
        --day_shift;
    }
    Value.Hour = static_cast<int>(total / 60);
    Value.Minute = static_cast<int>(total % 60);
    for (; day_shift > 0; --day_shift)
    {
        if (++Value.Day > Days_Of_Month(Value.Year, Value.Month))
        {
            Value.Day = 1;
            if (++Value.Month > 12)
            {
                Value.Month = 1;
                ++Value.Year;
            }
        }
    }
    for (; day_shift < 0; ++day_shift)
    {
        if (--Value.Day < 1)
        {
            if (--Value.Month < 1)
            {
                Value.Month = 12;
                --Value.Year;
            }
            Value.Day = Days_Of_Month(Value.Year, Value.Month);
        }
    }
}
