#pragma once
// The thread that empties the outbox into the history server while the program runs. It
// starts at once and waits for nothing the window waits for: it connects on its own
// thread, sends what waits, then sleeps until the next export wakes it. When sending
// fails it tries again after growing pauses; the protocol gets one line when sending
// starts failing and one when it works again.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "history/History_Server_Settings.h"

class History_Server_Sender
{
public:
    struct Timing
    {
        std::chrono::milliseconds First_Pause{2000};
        std::chrono::milliseconds Longest_Pause{std::chrono::minutes(5)};
        int Connect_Timeout_Seconds = 5;
        int Statement_Timeout_Milliseconds = 5000;
    };

    // protocol receives the lines (CP1250, without the time stamp), from the sender's thread.
    History_Server_Sender(History_Server_Settings server, std::string store_path,
                          std::function<void(const std::string&)> protocol, Timing timing);
    History_Server_Sender(History_Server_Settings server, std::string store_path,
                          std::function<void(const std::string&)> protocol);
    // Does not wait for a server that is slow to answer: the thread is left to end by itself.
    ~History_Server_Sender();
    History_Server_Sender(const History_Server_Sender&) = delete;
    History_Server_Sender& operator=(const History_Server_Sender&) = delete;

    // Something was queued: send now rather than after the pause.
    void Wake();
    // The days sent so far, for the tests.
    int Days_Sent() const;

    struct State;

private:
    std::shared_ptr<State> Shared;
};

// The protocol lines of the sender, also used by the command line.
std::string Sending_Failed_Protocol_Text(const std::string& reason);
std::string Sending_Works_Again_Protocol_Text(int days_sent);
