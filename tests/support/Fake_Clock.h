#pragma once
// A clock that shows what it is told.
#include "platform/Clock.h"

class Fake_Clock final : public Clock
{
public:
    explicit Fake_Clock(Date_Time value = {}) : Value(value) {}
    Date_Time Now() const override { return Value; }
    void Set(const Date_Time& value) { Value = value; }
    void Advance_Minutes(int minutes);  // crosses midnight into the next date

private:
    Date_Time Value;
};
