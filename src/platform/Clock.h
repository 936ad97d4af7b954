#pragma once
// The clock is passed in, so that no decision depends on the real time in tests.
#include <cstdint>

struct Date_Time
{
    int Year = 2000;
    int Month = 1;  // 1..12
    int Day = 1;    // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;

    bool Same_Date(const Date_Time& other) const
    {
        return Year == other.Year && Month == other.Month && Day == other.Day;
    }
};

// 1 for Sunday, 2 for Monday, ... 7 for Saturday.
int Day_Of_Week(const Date_Time& value);

// False for dates that do not exist (31.2., month 13, ...).
bool Is_Valid_Date(int year, int month, int day);

class Clock
{
public:
    virtual ~Clock() = default;
    virtual Date_Time Now() const = 0;
};

// Local time of the machine.
class System_Clock final : public Clock
{
public:
    Date_Time Now() const override;
};
