// Against a real PostgreSQL server that this test program starts in a folder of its own.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "Pg_Test_Server.h"
#include "history/Calendar.h"
#include "history/History_Export.h"
#include "history/History_Store.h"
#include "server/History_Server_Report.h"
#include "server/History_Server_Schema.h"
#include "server/History_Server_Sender.h"
#include "server/History_Server_Upload.h"
#include "server/Server_Command_Line.h"
#include "worklog/Day_Start.h"
#include "worklog/Work_Log_Test_Support.h"

namespace
{
Pg_Test_Server* Server = nullptr;

class Server_Environment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        Server = new Pg_Test_Server;
        ASSERT_TRUE(Server->Started) << "the test server did not start";
        // A team's database (its owner may create roles), its persons, a reporter, a role
        // with a password, and a person alone with a database of her own.
        Server->Admin(
            "CREATE ROLE team_owner LOGIN CREATEROLE; CREATE DATABASE team OWNER team_owner;"
            "CREATE DATABASE old OWNER team_owner; CREATE ROLE alice LOGIN; CREATE ROLE bob LOGIN;"
            "CREATE ROLE lead LOGIN; CREATE ROLE carol LOGIN; CREATE DATABASE alone OWNER carol;"
            "CREATE ROLE pw_eve LOGIN PASSWORD 'secret'");
        Pg_Connection owner(Server->Connection("team_owner", "team"));
        std::string failure;
        ASSERT_TRUE(Init_History_Server(owner, failure)) << failure;
        Server->Admin("GRANT zentavo_reporter TO lead");
    }
    void TearDown() override { delete Server; }
};
const auto* const Registered = ::testing::AddGlobalTestEnvironment(new Server_Environment);

// The records of a day as the export stores them: the Day_Row, the Unassigned_Row, the User_Rows.
std::vector<Work_Record> Day_Records(const std::string& date, const std::vector<Work_Type_Minutes>& booked)
{
    long long worked = 0;
    for (const Work_Type_Minutes& entry : booked) worked += entry.Minutes;
    const auto hours = [](long long minutes) {
        char text[48];
        std::snprintf(text, sizeof text, "%02lld:%02lld", minutes / 60, minutes % 60);
        return std::string(text);
    };
    std::vector<Work_Record> records{Make_Record("Tuesday", date, "08:00 - 17:00", "Celkem", hours(worked), ""),
                                     Make_Record("", "", "",
                                                 "Nep\xF8i\xF8"
                                                 "azeno",
                                                 "00:00", "")};
    for (const Work_Type_Minutes& entry : booked)
        records.push_back(Make_Record("", "", "09:00 - 10:00", entry.Work_Type, hours(entry.Minutes), "pozn\xE1mka"));
    return records;
}

Outbox_Day Exported(const Calendar_Date& date, const std::vector<Work_Type_Minutes>& booked)
{
    const std::vector<Work_Record> records = Day_Records("01.12.2026", booked);
    const Counted_Day counted = Count_Day_Records(date, records);
    return Outbox_Day_Of_Records(*counted.Day, records, 480);
}

// A program folder: Setup.ini naming the server, a history whose outbox holds the days.
struct Program_Folder
{
    Program_Folder(const std::string& connection, const std::string& person, const std::string& machine)
    {
        Directory.Write("Setup.ini", "[History_Server]\r\nConnection=" + connection + "\r\nPerson=" + person +
                                         "\r\nMachine=" + machine + "\r\n");
        std::string failure;
        EXPECT_TRUE(History_Store::Write_New(Store(), {}, failure)) << failure;
    }
    std::string Store() const { return Directory.File(History_Store_File_Name); }
    History_Server_Settings Server_Settings() const
    {
        return Read_History_Server_Settings(Directory.File("Setup.ini"));
    }
    void Export(const Outbox_Day& day)
    {
        History_Store store(Store(), History_Store::Mode::Read_Write);
        std::string failure;
        History_Day counted{day.Date, day.Worked_Minutes, {}};
        for (const Outbox_Record& record : day.Records)
            if (record.Counted_Minutes > 0) counted.By_Work_Type.push_back({record.Work_Type, record.Counted_Minutes});
        EXPECT_TRUE(store.Replace_Day(counted, day, failure)) << failure;
    }
    std::size_t Waiting()
    {
        History_Store store(Store(), History_Store::Mode::Read_Write);
        std::vector<Outbox_Day> days;
        std::string failure;
        EXPECT_TRUE(store.Read_Outbox(days, 1000, failure)) << failure;
        return days.size();
    }
    void Send()
    {
        const History_Server_Settings server = Server_Settings();
        Pg_Connection connection(server.Connection);
        ASSERT_EQ(Prepare_History_Server_Schema(connection).State, History_Server_Schema_State::Ready);
        const Outbox_Send_Result result = Send_Outbox(connection, server, Store());
        EXPECT_TRUE(result.Emptied) << result.Failure;
    }
    // The command line's output, or its error text after "!".
    std::string Command(const std::vector<std::string>& arguments)
    {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        Server_Command_Line_Environment environment{{2026, 12, 8}, "zentavo-logger", out, err, 5};
        const int status = Run_Server_Command_Line(arguments, environment, [this] {
            History_Settings settings;
            settings.Program_Directory = Directory.Path();
            return settings;
        });
        const auto read = [](std::FILE* file) {
            std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
            std::rewind(file);
            text.resize(std::fread(text.data(), 1, text.size(), file));
            std::fclose(file);
            return text;
        };
        const std::string output = read(out);
        const std::string errors = read(err);
        return status == 0 ? output : "!" + errors;
    }

    Test_Temporary_Directory Directory;
};

struct Protocol
{
    std::mutex Guard;
    std::vector<std::string> Lines;
    std::function<void(const std::string&)> Sink()
    {
        return [this](const std::string& line) {
            const std::lock_guard lock(Guard);
            Lines.push_back(line);
        };
    }
    std::vector<std::string> Copy()
    {
        const std::lock_guard lock(Guard);
        return Lines;
    }
};

template <typename Condition>
bool Within_Seconds(int seconds, Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

long long Server_Count(const std::string& sql)
{
    Pg_Connection admin(Server->Connection("zentavo_admin", "team"));
    const Pg_Result result = admin.Execute(sql);
    return result.Ok() && result.Rows() == 1 ? result.Integer(0, 0) : -1;
}

}  // namespace

TEST(History_Server, TwoPcsOfOnePersonAndAnotherPersonGiveTheHandCountedSums)
{
    const auto team = [](const std::string& role) {
        return Server->Connection(role, "team");
    };
    Program_Folder alice_pc1(team("alice"), "alice", "pc1");
    Program_Folder alice_pc2(team("alice"), "alice", "pc2");
    Program_Folder bob_pc(team("bob"), "bob", "pc1");
    Program_Folder lead_pc(team("lead"), "lead", "pc");
    alice_pc1.Export(Exported({2026, 12, 1}, {{"Coding", 300}, {"Meeting", 180}}));
    alice_pc2.Export(Exported({2026, 12, 1}, {{"Coding", 60}}));
    alice_pc2.Export(Exported({2026, 12, 2}, {{"Support", 420}}));
    bob_pc.Export(Exported({2026, 12, 1}, {{"Coding", 300}, {"Support", 180}}));
    for (Program_Folder* folder : {&alice_pc1, &alice_pc2, &bob_pc}) folder->Send();
    // The same day queued again changes nothing; the day exported anew replaces that PC's.
    alice_pc1.Export(Exported({2026, 12, 1}, {{"Coding", 300}, {"Meeting", 180}}));
    alice_pc1.Export(Exported({2026, 12, 1}, {{"Coding", 240}, {"Meeting", 240}}));
    alice_pc1.Send();
    EXPECT_EQ(alice_pc1.Waiting(), 0U);
    EXPECT_EQ(Server_Count("SELECT count(*) FROM zentavo_days WHERE person = 'alice'"), 3);
    // Texts reach the server in UTF-8: the remark of each booked record.
    EXPECT_EQ(Server_Count("SELECT count(*) FROM zentavo_records WHERE remark = 'pozn\u00e1mka'"), 6);

    // Alice: 12-01 = pc1 (Coding 240, Meeting 240) + pc2 (Coding 60); 12-02 = Support 420.
    EXPECT_EQ(alice_pc1.Command({"--report", "month", "--server"}),
              "work_type,minutes\nSupport,420\nCoding,300\nMeeting,240\ntotal,960\n");
    EXPECT_EQ(alice_pc2.Command({"--report", "month", "--server", "--days"}),
              "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n"
              "2026-12-01,540,480,60,60,stored\n2026-12-02,420,480,-60,0,stored\n");
    EXPECT_EQ(lead_pc.Command({"--report", "month", "--team"}),
              "person,work_type,minutes\nalice,Support,420\nalice,Coding,300\nalice,Meeting,240\nalice,total,960\n"
              "bob,Coding,300\nbob,Support,180\nbob,total,480\n");
    EXPECT_EQ(lead_pc.Command({"--report", "all", "--team", "--person", "bob"}),
              "person,work_type,minutes\nbob,Coding,300\nbob,Support,180\nbob,total,480\n");
    // Without the reporter role, the team is the person alone.
    EXPECT_EQ(bob_pc.Command({"--report", "month", "--team"}),
              "person,work_type,minutes\nbob,Coding,300\nbob,Support,180\nbob,total,480\n");
    EXPECT_EQ(bob_pc.Command({"--report", "month", "--team", "--person", "alice"}), "person,work_type,minutes\n");
}

TEST(History_Server, AnotherPersonsRowsAreRefusedAndOlderTablesAreMigratedByTheirOwner)
{
    Pg_Connection alice(Server->Connection("alice", "team"));
    Pg_Connection bob(Server->Connection("bob", "team"));
    const History_Server_Settings bob_on_pc9{Server->Connection("bob", "team"), "bob", "pc9"};
    std::string failure;
    ASSERT_TRUE(Upload_Days(bob, bob_on_pc9, {Exported({2026, 11, 2}, {{"Coding", 60}})}, failure)) << failure;
    EXPECT_FALSE(Upload_Days(alice, bob_on_pc9, {Exported({2026, 11, 3}, {{"Coding", 60}})}, failure));
    EXPECT_NE(failure.find("row-level security"), std::string::npos) << failure;
    const Pg_Result taken = alice.Execute(
        "WITH gone AS (DELETE FROM zentavo_days WHERE person = 'bob' RETURNING 1)"
        " SELECT (SELECT count(*) FROM gone), (SELECT count(*) FROM zentavo_days"
        " WHERE person = 'bob')");
    ASSERT_TRUE(taken.Ok()) << taken.Error();
    EXPECT_EQ(taken.Text(0, 0) + taken.Text(0, 1), "00");
    EXPECT_EQ(Server_Count("SELECT count(*) FROM zentavo_days WHERE machine = 'pc9'"), 1);

    Server->Admin("CREATE DATABASE migrated OWNER team_owner");
    Pg_Connection owner(Server->Connection("team_owner", "migrated"));
    ASSERT_EQ(Prepare_History_Server_Schema(owner, 1).State, History_Server_Schema_State::Ready);
    Server->Admin("GRANT SELECT ON zentavo_schema_version TO PUBLIC", "migrated");
    Pg_Connection person(Server->Connection("alice", "migrated"));
    const History_Server_Schema_Check older = Prepare_History_Server_Schema(person);
    EXPECT_EQ(older.State, History_Server_Schema_State::Older);
    EXPECT_EQ(older.Server_Version, 1);
    EXPECT_EQ(Prepare_History_Server_Schema(owner).Server_Version, 2);
    EXPECT_EQ(Prepare_History_Server_Schema(person).State, History_Server_Schema_State::Ready);
    EXPECT_EQ(Prepare_History_Server_Schema(owner, 1).State, History_Server_Schema_State::Newer);

    // A person alone, whose role owns the database: the first connection makes the tables.
    Pg_Connection carol(Server->Connection("carol", "alone"));
    EXPECT_EQ(Prepare_History_Server_Schema(carol).State, History_Server_Schema_State::Ready);
    const History_Server_Settings carol_alone{Server->Connection("carol", "alone"), "carol", "pc"};
    EXPECT_TRUE(Upload_Days(carol, carol_alone, {Exported({2026, 11, 2}, {{"Coding", 60}})}, failure)) << failure;
}

// Each failure is one line however often the sender tries again, and the day waits locally.
TEST(History_Server, SenderTellsEachFailureOnceAndKeepsTheDay)
{
    Server->Admin("CREATE DATABASE older OWNER team_owner");
    Pg_Connection owner(Server->Connection("team_owner", "older"));
    ASSERT_EQ(Prepare_History_Server_Schema(owner, 1).State, History_Server_Schema_State::Ready);
    Server->Admin("GRANT SELECT ON zentavo_schema_version TO PUBLIC", "older");
    // A socket that takes the connection and never answers: only the time-out ends the wait.
    Test_Temporary_Directory silent;
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socket_path = silent.File(".s.PGSQL.5432");
    socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);

    const struct
    {
        std::string Connection;
        std::string Person;
        std::string Told;
    } cases[] = {
        {"host=/nonexistent/zl dbname=team user=alice", "alice", "No such file or directory"},
        {Server->Connection("pw_eve", "team") + " password=wrong", "pw_eve", "password authentication failed"},
        {Server->Connection("alice", "older"), "alice", "tables are of version 1, this program needs 2"},
        {"host=" + silent.Path() + " dbname=team user=alice", "alice", "timeout expired"},
    };
    for (const auto& failing : cases)
    {
        Program_Folder folder(failing.Connection, failing.Person, "pc");
        folder.Export(Exported({2026, 12, 3}, {{"Coding", 60}}));
        Protocol protocol;
        History_Server_Sender sender(folder.Server_Settings(), folder.Store(), protocol.Sink(),
                                     {std::chrono::milliseconds(20), std::chrono::milliseconds(40), 1, 1000});
        // The program's start goes on at once: the first try has not ended yet.
        if (failing.Told == "timeout expired")
        {
            EXPECT_TRUE(protocol.Copy().empty());
        }
        ASSERT_TRUE(Within_Seconds(15, [&] { return !protocol.Copy().empty(); })) << failing.Told;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // several tries more
        const std::vector<std::string> lines = protocol.Copy();
        ASSERT_EQ(lines.size(), 1U) << failing.Told;
        EXPECT_EQ(lines[0].rfind(" - SEND_WORK_HISTORY - SERVER - ", 0), 0U) << lines[0];
        EXPECT_NE(lines[0].find(failing.Told), std::string::npos) << lines[0];
        EXPECT_EQ(folder.Waiting(), 1U);
    }
    ::close(listener);
}

namespace
{
class Server_Export : public Work_Log_Test
{
protected:
    Server_Export() { Start_Up.Display_Start_Splash_Screen = false; }
};
}  // namespace

// The start's export queues the day while the server is down; it arrives once when the
// server is back. A history not read in yet is read in by that export, so nothing is missed.
TEST_F(Server_Export, DayExportedWhileTheServerIsDownArrivesOnce)
{
    Write(Paths.File("Setup.ini"), "[History_Server]\r\nConnection=" + Server->Connection("alice", "team") +
                                       "\r\nPerson=alice\r\nMachine=down-pc\r\n");
    Write(Target(), "");
    ASSERT_TRUE(Server->Stop());
    Protocol protocol;
    History_Server_Sender sender(Read_History_Server_Settings(Paths.File("Setup.ini")),
                                 Paths.File(History_Store_File_Name), protocol.Sink(),
                                 {std::chrono::milliseconds(50), std::chrono::milliseconds(200), 2, 2000});
    Set_Outbox_Listener([&sender] { sender.Wake(); });
    Store_Records(Day_Records("04.12.2026", {{"Coding", 330}, {"Meeting", 120}}));
    Day_Log log;
    EXPECT_EQ(Load_Day_Log(Context, log, Record_Exported_Day_In_History).Outcome, Day_Log_Outcome::Past_Day);
    ASSERT_TRUE(Within_Seconds(15, [&] { return protocol.Copy().size() == 1; }));
    ASSERT_TRUE(Server->Restart());
    EXPECT_TRUE(Within_Seconds(30, [&] { return protocol.Copy().size() == 2 && sender.Days_Sent() == 1; }));
    Set_Outbox_Listener({});
    const std::vector<std::string> lines = protocol.Copy();
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1], Sending_Works_Again_Protocol_Text(1));
    EXPECT_EQ(Server_Count("SELECT count(*) FROM zentavo_days WHERE machine = 'down-pc' AND day = '2026-12-04'"
                           " AND worked_minutes = 450"),
              1);
    EXPECT_EQ(Server_Count("SELECT count(*) FROM zentavo_records WHERE machine = 'down-pc'"), 4);
}

// A damaged history read in anew from the target log has lost its outbox: the sender finds
// the days the server never got and sends them, doubling none and taking no other PC's day.
TEST(History_Server, DaysOfALostOutboxAreSentAfterTheHistoryIsReadInAnew)
{
    Program_Folder folder(Server->Connection("alice", "team"), "alice", "mended-pc");
    const Outbox_Day first = Exported({2026, 10, 5}, {{"Coding", 300}});
    const Outbox_Day second = Exported({2026, 10, 6}, {{"Coding", 120}, {"Meeting", 60}});
    const Outbox_Day third = Exported({2026, 10, 7}, {{"Support", 420}});
    const Outbox_Day shared = Exported({2026, 10, 8}, {{"Coding", 240}});
    folder.Export(first);
    folder.Send();
    folder.Export(second);
    folder.Export(third);  // both wait for the server when the file is damaged
    Pg_Connection alice(Server->Connection("alice", "team"));
    std::string failure;
    ASSERT_TRUE(Upload_Days(alice, {Server->Connection("alice", "team"), "alice", "other-pc"}, {shared}, failure))
        << failure;
    // Garbage where the database was; its log went with the disk's fault.
    for (const char* suffix : {"-wal", "-shm"}) std::remove((folder.Store() + suffix).c_str());
    folder.Directory.Write(History_Store_File_Name, std::string(8192, '\x5a'));
    ASSERT_EQ(Check_History_Store(folder.Store()).State, History_Store_State::Damaged);
    const auto day_of = [](const Outbox_Day& day) {
        History_Day counted{day.Date, day.Worked_Minutes, {}};
        for (const Outbox_Record& record : day.Records)
            if (record.Counted_Minutes > 0) counted.By_Work_Type.push_back({record.Work_Type, record.Counted_Minutes});
        return counted;
    };
    // As the report's rebuild writes it: the target log's days, a shared log's day of the other PC among them.
    ASSERT_TRUE(History_Store::Write_New(folder.Store(), {day_of(first), day_of(second), day_of(third), day_of(shared)},
                                         failure))
        << failure;

    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // the days arrive after the file is made
    Protocol protocol;
    const History_Server_Sender::Timing timing{std::chrono::milliseconds(20), std::chrono::milliseconds(40), 2, 2000};
    History_Server_Sender sender(folder.Server_Settings(), folder.Store(), protocol.Sink(), timing);
    const std::string mended = "SELECT count(*) FROM zentavo_days WHERE machine = 'mended-pc'";
    EXPECT_TRUE(Within_Seconds(10, [&] { return sender.Days_Sent() == 2; })) << sender.Days_Sent();
    EXPECT_EQ(Server_Count(mended), 3);
    EXPECT_EQ(Server_Count(mended + " AND day = '2026-10-06' AND worked_minutes = 180 AND full_time_minutes = 480"), 1);
    EXPECT_EQ(Server_Count("SELECT sum(counted_minutes) FROM zentavo_records WHERE machine = 'mended-pc'"
                           " AND day = '2026-10-07' AND work_type = 'Support'"),
              420);
    EXPECT_EQ(folder.Waiting(), 0U);
    EXPECT_TRUE(protocol.Copy().empty());

    // A restart finds the history older than the last day sent: a day another PC wrote into a
    // shared target log, read in since, is not taken for this PC's.
    {
        History_Store store(folder.Store(), History_Store::Mode::Read_Write);
        ASSERT_TRUE(store.Replace_Day({{2026, 10, 9}, 60, {{"Coding", 60}}}, failure)) << failure;
    }
    History_Server_Sender restarted(folder.Server_Settings(), folder.Store(), protocol.Sink(), timing);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_EQ(folder.Waiting(), 0U);
    EXPECT_EQ(Server_Count(mended), 3);
}
