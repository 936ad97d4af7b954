#pragma once
// The first widget that reports to the accessibility bridge makes Qt connect to the
// desktop bus and wait for it (without a bus, for a failed attempt to start one);
// connecting on another thread while the start-up goes on takes that wait off its path.
// Needs the application object.
#include <thread>

class Desktop_Bus_Warm_Up
{
public:
    Desktop_Bus_Warm_Up();
    // Waits for the connection attempt to end, so the program never ends while it runs.
    ~Desktop_Bus_Warm_Up();
    void Wait();

private:
    std::thread Worker;
};
