#include "server/History_Server_Sender.h"

#include <sys/stat.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Code_Page.h"
#include "server/History_Server_Schema.h"
#include "server/History_Server_Upload.h"

struct History_Server_Sender::State
{
    History_Server_Settings Server;
    std::string Store_Path;
    std::function<void(const std::string&)> Protocol;
    Timing Pauses;
    std::mutex Guard;
    std::condition_variable Changed;
    bool Woken = true;  // what waits from an earlier run goes at start
    bool Stopping = false;
    int Sent = 0;
};

namespace
{
// Never after the owner is gone: its destructor takes the lock to say so.
void Tell(History_Server_Sender::State& state, const std::string& line)
{
    const std::lock_guard lock(state.Guard);
    if (!state.Stopping) state.Protocol(line);
}

// The history file as the system knows it: a history read in anew is another file.
std::optional<std::pair<dev_t, ino_t>> Store_Identity(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return std::pair{status.st_dev, status.st_ino};
}

void Run_Sender(const std::shared_ptr<History_Server_Sender::State>& state)
{
    std::optional<Pg_Connection> connection;
    // The history whose days were last compared with the server's: one that was replaced
    // since (its outbox possibly lost with a damaged file) is compared again; at the start,
    // only one made after this PC's latest day reached the server.
    std::optional<std::pair<dev_t, ino_t>> compared;
    bool failing = false;
    int sent_while_failing = 0;
    std::chrono::milliseconds pause = state->Pauses.First_Pause;
    for (;;)
    {
        {
            std::unique_lock lock(state->Guard);
            if (failing) state->Changed.wait_for(lock, pause, [&] { return state->Stopping; });
            else state->Changed.wait(lock, [&] { return state->Stopping || state->Woken; });
            if (state->Stopping) return;
            state->Woken = false;
        }
        std::string failure;
        Outbox_Send_Result result;
        if (!connection || !connection->Connected())
        {
            connection.emplace(state->Server.Connection, state->Pauses.Connect_Timeout_Seconds,
                               state->Pauses.Statement_Timeout_Milliseconds);
            if (!connection->Connected()) failure = connection->Failure();
            else if (const History_Server_Schema_Check schema = Prepare_History_Server_Schema(*connection);
                     schema.State != History_Server_Schema_State::Ready)
                failure = schema.Detail;
        }
        if (const std::optional<std::pair<dev_t, ino_t>> identity = Store_Identity(state->Store_Path);
            failure.empty() && identity && identity != compared &&
            Queue_Days_Missing_On_Server(*connection, state->Server, state->Store_Path, !compared, failure) >= 0)
            compared = identity;
        if (failure.empty())
        {
            result = Send_Outbox(*connection, state->Server, state->Store_Path);
            failure = result.Failure;
            const std::lock_guard lock(state->Guard);
            state->Sent += result.Sent;
        }
        if (!failure.empty()) connection.reset();  // a fresh connection at the next try
        sent_while_failing += result.Sent;
        if (failure.empty())
        {
            if (failing) Tell(*state, Sending_Works_Again_Protocol_Text(sent_while_failing));
            failing = false;
            pause = state->Pauses.First_Pause;
            continue;
        }
        if (!failing) Tell(*state, Sending_Failed_Protocol_Text(failure));
        else pause = std::min(pause * 2, state->Pauses.Longest_Pause);
        if (!failing) sent_while_failing = 0;
        failing = true;
    }
}
}  // namespace

std::string Sending_Failed_Protocol_Text(const std::string& reason)
{
    return " - SEND_WORK_HISTORY - SERVER - " + Utf8_To_Cp1250(reason) +
           "; the days wait in the local history and are sent when the server takes them";
}

std::string Sending_Works_Again_Protocol_Text(int days_sent)
{
    return " - SEND_WORK_HISTORY - OK - the history server takes the days again, " + std::to_string(days_sent) +
           " day(s) sent";
}

History_Server_Sender::History_Server_Sender(History_Server_Settings server, std::string store_path,
                                             std::function<void(const std::string&)> protocol)
    : History_Server_Sender(std::move(server), std::move(store_path), std::move(protocol), Timing{})
{
}

History_Server_Sender::History_Server_Sender(History_Server_Settings server, std::string store_path,
                                             std::function<void(const std::string&)> protocol, Timing timing)
    : Shared(std::make_shared<State>())
{
    Shared->Server = std::move(server);
    Shared->Store_Path = std::move(store_path);
    Shared->Protocol = std::move(protocol);
    Shared->Pauses = timing;
    // The thread holds its own share of the state, so it may outlive this object.
    std::thread(Run_Sender, Shared).detach();
}

History_Server_Sender::~History_Server_Sender()
{
    {
        const std::lock_guard lock(Shared->Guard);
        Shared->Stopping = true;
    }
    Shared->Changed.notify_all();
}

void History_Server_Sender::Wake()
{
    {
        const std::lock_guard lock(Shared->Guard);
        Shared->Woken = true;
    }
    Shared->Changed.notify_all();
}

int History_Server_Sender::Days_Sent() const
{
    const std::lock_guard lock(Shared->Guard);
    return Shared->Sent;
}
