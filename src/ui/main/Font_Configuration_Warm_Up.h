#pragma once
// Fontconfig reads its whole configuration on first use, and the first text layout waits
// for it; reading it on another thread while the application connects to the display
// takes that wait off the start-up path.
#include <thread>

class Font_Configuration_Warm_Up
{
public:
    Font_Configuration_Warm_Up();
    // Waits for the reading to end, so the program never ends while it runs.
    ~Font_Configuration_Warm_Up();
    // Waits for the reading to end; the first text layout after it finds it done.
    void Wait();

private:
    std::thread Worker;
};
