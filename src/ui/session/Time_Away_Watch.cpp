#include "ui/session/Time_Away_Watch.h"

#include <QTimer>

#include "config/Settings.h"

Time_Away_Watch::Time_Away_Watch(std::unique_ptr<Presence_Watch> watch, const Clock& clock, const Settings& settings,
                                 const Day_Log& day, Hooks hooks)
    : Watch(std::move(watch)), Time_Source(clock), Setup(settings), Day(day), Calls(std::move(hooks))
{
    Watch->Start([this](Presence_Change change) { Changed(change); });
}

void Time_Away_Watch::Changed(Presence_Change change)
{
    if (change == Presence_Change::Left)
    {
        Tracker.User_Left(Time_Source.Now());
        return;
    }
    Tracker.User_Back(Time_Source.Now());
    // After the signal's delivery, not inside it: a new date, then the question.
    QTimer::singleShot(0, this, [this] { Calls.Check_Day(); });
}

void Time_Away_Watch::Tick()
{
    const Date_Time now = Time_Source.Now();
    if (const std::optional<std::int64_t> idle = Watch->Input_Idle_Milliseconds())
        Tracker.Input_Idle(now, *idle, Setup.Away_Minutes);
    if (Asking || !Calls.May_Ask()) return;
    const std::optional<Away_Period> period = Tracker.Take_Question(Day, now, Setup.Away_Minutes);
    if (!period) return;
    Asking = true;
    Calls.Ask(*period);
    Asking = false;
}
