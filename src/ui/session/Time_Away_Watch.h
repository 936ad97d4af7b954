#pragma once
// Follows the user's presence from the platform's watch and asks once about time away,
// after the day change had its turn: a new date reached meanwhile ends the old day first.
#include <QObject>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/Presence_Watch.h"
#include "worklog/Away_Time.h"

struct Settings;

class Time_Away_Watch : public QObject
{
public:
    struct Hooks
    {
        std::function<void()> Check_Day;  // the minute's work: a new date first
        std::function<bool()> May_Ask;    // no dialog open, the day running
        std::function<void(const Away_Period&)> Ask;
    };

    // The watch starts listening here.
    Time_Away_Watch(std::unique_ptr<Presence_Watch> watch, const Clock& clock, const Settings& settings,
                    const Day_Log& day, Hooks hooks);

    // At each tick of the minute timer on the current day: the input idleness is polled,
    // and the question asked when it is due.
    void Tick();

private:
    void Changed(Presence_Change change);

    std::unique_ptr<Presence_Watch> Watch;
    const Clock& Time_Source;
    const Settings& Setup;
    const Day_Log& Day;
    Hooks Calls;
    Away_Tracker Tracker;
    bool Asking = false;
};
