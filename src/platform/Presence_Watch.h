#pragma once
// What the desktop tells about the user's presence: the session locked or unlocked, the
// machine going to sleep or back, the screen saver on or off, and how long no input came.
// Each source is optional; the program follows what the platform has.
#include <cstdint>
#include <functional>
#include <optional>

enum class Presence_Change
{
    Left,     // locked, asleep, the screen saver on
    Back,     // unlocked, the screen saver off
    Resumed,  // back from sleep: the clock may show another date
};

class Presence_Watch
{
public:
    virtual ~Presence_Watch() = default;
    // Begins to listen; each change arrives through the function, in the program's own thread.
    virtual void Start(std::function<void(Presence_Change)> changed) = 0;
    // Milliseconds since the last input, where that is followed by input idleness; empty otherwise.
    virtual std::optional<std::int64_t> Input_Idle_Milliseconds() = 0;
};
