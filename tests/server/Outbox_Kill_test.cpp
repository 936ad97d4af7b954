// The sender killed with SIGKILL at random instants of its sending: every day reaches the
// server exactly once, whatever moment the kill hit (before the server's commit, between it
// and the outbox's removal, in the middle of either).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "Pg_Test_Server.h"
#include "history/Calendar.h"
#include "history/History_Store.h"
#include "server/History_Server_Schema.h"
#include "server/History_Server_Upload.h"
#include "support/Test_Temporary_Directory.h"

TEST(Outbox_Kill, SenderKilledAtRandomInstantsLosesAndDoublesNoDay)
{
    Pg_Test_Server server;
    ASSERT_TRUE(server.Started);
    server.Admin("CREATE ROLE alice LOGIN; CREATE DATABASE alice OWNER alice");
    const History_Server_Settings alice{server.Connection("alice", "alice"), "alice", "pc"};
    Test_Temporary_Directory directory;
    const std::string store_path = directory.File(History_Store_File_Name);
    std::string failure;
    ASSERT_TRUE(History_Store::Write_New(store_path, {}, failure)) << failure;
    {
        Pg_Connection connection(alice.Connection);
        ASSERT_EQ(Prepare_History_Server_Schema(connection).State, History_Server_Schema_State::Ready);
    }

    std::mt19937 random(20261208);
    int kills = 0;
    int queued = 0;
    for (int round = 0; round < 400 && kills < 60; ++round)
    {
        // Whenever the outbox ran dry, more days: each a date of its own, three records.
        if (round % 10 == 0)
        {
            History_Store store(store_path, History_Store::Mode::Read_Write);
            for (int day = 0; day < 40; ++day, ++queued)
            {
                const History_Day counted{Add_Days({2020, 1, 1}, queued), 480, {{"Coding", 300}, {"Meeting", 180}}};
                ASSERT_TRUE(store.Replace_Day(counted, Outbox_Day_Of_History(counted, 480), failure)) << failure;
            }
        }
        // The kill falls within the sending: the child says when it is connected.
        int connected[2];
        ASSERT_EQ(::pipe(connected), 0);
        const pid_t sender = ::fork();
        ASSERT_GE(sender, 0);
        if (sender == 0)
        {
            Pg_Connection connection(alice.Connection);
            (void)!::write(connected[1], "c", 1);
            Send_Outbox(connection, alice, store_path);
            ::_exit(0);
        }
        ::close(connected[1]);
        char byte = 0;
        (void)!::read(connected[0], &byte, 1);
        ::close(connected[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 30000)(random)));
        ::kill(sender, SIGKILL);
        int status = 0;
        ::waitpid(sender, &status, 0);
        if (WIFSIGNALED(status)) ++kills;
    }
    EXPECT_GE(kills, 50);

    Pg_Connection connection(alice.Connection);
    const Outbox_Send_Result rest = Send_Outbox(connection, alice, store_path);
    ASSERT_TRUE(rest.Emptied) << rest.Failure;
    const Pg_Result counts = connection.Execute(
        "SELECT count(*), count(DISTINCT day), coalesce(max(per_day), 0), (SELECT count(*) FROM zentavo_records)"
        " FROM (SELECT day, count(*) AS per_day FROM zentavo_days GROUP BY day) AS days");
    ASSERT_TRUE(counts.Ok()) << counts.Error();
    EXPECT_EQ(counts.Integer(0, 0), queued);      // no day lost
    EXPECT_EQ(counts.Integer(0, 2), 1);           // none doubled
    EXPECT_EQ(counts.Integer(0, 3), 2 * queued);  // each with its records
    std::printf("%d kills, %d days queued, %d left for the last sender\n", kills, queued, rest.Sent);
}
