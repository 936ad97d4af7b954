#pragma once
// Work that the first window would wait for, started on another thread while the start-up
// goes on. The object waits for it when it goes, so the program never ends while it runs.
#include <functional>
#include <thread>

class Start_Up_Warm_Up
{
public:
    explicit Start_Up_Warm_Up(std::function<void()> work) : Worker(std::move(work)) {}
    ~Start_Up_Warm_Up() { Wait(); }
    // Waits for the work to end; what needs its result comes after.
    void Wait()
    {
        if (Worker.joinable()) Worker.join();
    }
    Start_Up_Warm_Up(const Start_Up_Warm_Up&) = delete;
    Start_Up_Warm_Up& operator=(const Start_Up_Warm_Up&) = delete;

private:
    std::thread Worker;
};

// The first widget that reports to the accessibility bridge makes Qt connect to the
// desktop bus and wait for it (without a bus, for a failed attempt to start one). Needs
// the application object.
void Warm_Up_Desktop_Bus();
