#pragma once
// A periodic timer that owns no object of its own in the Qt tree: every timer of the
// process ticks through one hidden QObject that lives exactly as long as some timer does.
#include <cstdint>
#include <functional>

class QObject;

class TLightTimer
{
public:
    using Tick_Handler_Type = std::function<void(TLightTimer* sender)>;

    // Period 1000 ms, no handler, idle.
    TLightTimer();
    TLightTimer(std::int32_t period_ms, Tick_Handler_Type tick_handler);
    // Stops the ticks before the timer goes; a tick still queued for it is ignored.
    ~TLightTimer();

    TLightTimer(const TLightTimer&) = delete;
    TLightTimer& operator=(const TLightTimer&) = delete;

    bool Is_Running() const { return Running; }
    std::int32_t Period_Ms() const { return Period; }

    void Set_Running(bool running);
    // A different period restarts a running timer now; 0 pauses it but keeps it marked running.
    void Set_Period(std::int32_t period_ms);
    void Set_Tick_Handler(Tick_Handler_Type tick_handler);

    // True when the system timer was created; a running timer is restarted.
    bool Begin_Ticking();
    // True when a system timer was removed.
    bool End_Ticking(bool clear_running);

    // The shared hidden object, or nullptr when no timer exists; and its number of users.
    static const QObject* Shared_Timer_Window();
    static std::uint32_t Timer_Users();

private:
    friend class TLightTimerHandler;

    void Attach_Timer();
    void Detach_Timer();
    void Deliver_Tick();

    std::uint64_t Timer_Key = 0;  // never reused within the process
    bool Running = false;
    std::int32_t Period = 1000;
    Tick_Handler_Type Tick_Handler;
};
