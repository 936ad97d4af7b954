#include "ui/tray/TLightTimer.h"

#include <QObject>
#include <QTimerEvent>
#include <unordered_map>

// The one hidden object that receives the ticks of every light timer.
class TLightTimerHandler final : public QObject
{
public:
    std::uint32_t Timer_Users = 0;
    int Delivering = 0;  // ticks being handled now, during which the object must not be deleted

    // Maps a Qt timer id to the key of the light timer that owns it, and a key to its timer;
    // a tick whose id or key is no longer known belongs to a timer that has gone.
    std::unordered_map<int, std::uint64_t> Key_Of_System_Timer;
    std::unordered_map<std::uint64_t, int> System_Timer_Of_Key;
    std::unordered_map<std::uint64_t, TLightTimer*> Timer_Of_Key;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        const auto key = Key_Of_System_Timer.find(event->timerId());
        if (key == Key_Of_System_Timer.end()) return;
        const auto timer = Timer_Of_Key.find(key->second);
        if (timer == Timer_Of_Key.end()) return;
        ++Delivering;
        timer->second->Deliver_Tick();
        --Delivering;
        if (Delivering == 0 && Orphaned) deleteLater();
    }

public:
    bool Orphaned = false;  // its last timer went while a tick was being handled
};

namespace
{
TLightTimerHandler* Shared_Timer_Handler = nullptr;
std::uint64_t Last_Timer_Key = 0;
}  // namespace

TLightTimer::TLightTimer() : TLightTimer(1000, nullptr) {}

TLightTimer::TLightTimer(std::int32_t period_ms, Tick_Handler_Type tick_handler)
    : Timer_Key(++Last_Timer_Key), Period(period_ms), Tick_Handler(std::move(tick_handler))
{
    Attach_Timer();
}

TLightTimer::~TLightTimer()
{
    if (Running) End_Ticking(true);
    Detach_Timer();
}

void TLightTimer::Attach_Timer()
{
    if (Shared_Timer_Handler == nullptr) Shared_Timer_Handler = new TLightTimerHandler;
    ++Shared_Timer_Handler->Timer_Users;
    Shared_Timer_Handler->Timer_Of_Key[Timer_Key] = this;
}

void TLightTimer::Detach_Timer()
{
    if (Shared_Timer_Handler == nullptr) return;
    // A paused timer (period 0) or one whose removal failed still must not leave a
    // system timer behind that would tick into a stranger.
    End_Ticking(false);
    Shared_Timer_Handler->Timer_Of_Key.erase(Timer_Key);
    if (Shared_Timer_Handler->Timer_Users > 0) --Shared_Timer_Handler->Timer_Users;
    if (Shared_Timer_Handler->Timer_Users == 0)
    {
        // A tick handler that destroys the last timer runs inside the handler's own event.
        if (Shared_Timer_Handler->Delivering > 0) Shared_Timer_Handler->Orphaned = true;
        else delete Shared_Timer_Handler;
        Shared_Timer_Handler = nullptr;
    }
}

void TLightTimer::Set_Running(bool running)
{
    if (running) Begin_Ticking();
    else End_Ticking(true);
}

void TLightTimer::Set_Period(std::int32_t period_ms)
{
    if (period_ms == Period) return;
    Period = period_ms;
    if (!Running) return;
    if (period_ms != 0) Begin_Ticking();
    else End_Ticking(false);
}

void TLightTimer::Set_Tick_Handler(Tick_Handler_Type tick_handler) { Tick_Handler = std::move(tick_handler); }

bool TLightTimer::Begin_Ticking()
{
    if (Period == 0) return false;
    if (Running) End_Ticking(true);
    // A negative period cannot tick; Qt would refuse it too.
    if (Period < 0 || Shared_Timer_Handler == nullptr) return false;
    const int system_timer = Shared_Timer_Handler->startTimer(Period, Qt::PreciseTimer);
    if (system_timer == 0) return false;
    Shared_Timer_Handler->Key_Of_System_Timer[system_timer] = Timer_Key;
    Shared_Timer_Handler->System_Timer_Of_Key[Timer_Key] = system_timer;
    Running = true;
    return true;
}

bool TLightTimer::End_Ticking(bool clear_running)
{
    if (clear_running) Running = false;
    if (Shared_Timer_Handler == nullptr) return false;
    const auto system_timer = Shared_Timer_Handler->System_Timer_Of_Key.find(Timer_Key);
    if (system_timer == Shared_Timer_Handler->System_Timer_Of_Key.end()) return false;
    Shared_Timer_Handler->killTimer(system_timer->second);
    Shared_Timer_Handler->Key_Of_System_Timer.erase(system_timer->second);
    Shared_Timer_Handler->System_Timer_Of_Key.erase(system_timer);
    return true;
}

void TLightTimer::Deliver_Tick()
{
    if (Tick_Handler) Tick_Handler(this);
}

const QObject* TLightTimer::Shared_Timer_Window() { return Shared_Timer_Handler; }

std::uint32_t TLightTimer::Timer_Users()
{
    return Shared_Timer_Handler == nullptr ? 0 : Shared_Timer_Handler->Timer_Users;
}
