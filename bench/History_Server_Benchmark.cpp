// The history server's costs over a local socket:
//   history_server_benchmark send CONNECTION         one day's transaction (median of 51)
//   history_server_benchmark store PATH              a ten-year Work_History.sqlite to push
//   history_server_benchmark team CONNECTION         50 persons x 10 years of days on the server
// CONNECTION of "send" is a person's; of "team", a role that bypasses row-level security.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "history/Calendar.h"
#include "history/History_Store.h"
#include "server/History_Server_Schema.h"
#include "server/History_Server_Upload.h"

namespace
{
const Calendar_Date First_Day{2016, 1, 1};
constexpr int Ten_Years = 3653;

// A working day of the benchmark's history: weekdays only, four work types.
History_Day Working_Day(const Calendar_Date& date, int seed)
{
    return {date, 480, {{"Coding", 240 + seed % 60}, {"Meeting", 120}, {"Support", 60}, {"Office", 60 - seed % 60}}};
}

int Send(const std::string& connection_text)
{
    Pg_Connection connection(connection_text);
    if (Prepare_History_Server_Schema(connection).State != History_Server_Schema_State::Ready)
    {
        std::fprintf(stderr, "server not ready: %s\n", connection.Failure().c_str());
        return 1;
    }
    const Pg_Result role = connection.Execute("SELECT current_user");
    const History_Server_Settings server{connection_text, role.Text(0, 0), "bench-pc"};
    std::vector<double> milliseconds;
    std::string failure;
    for (int index = 0; index < 51; ++index)
    {
        const Outbox_Day day = Outbox_Day_Of_History(Working_Day(Add_Days(First_Day, index), index), 480);
        const auto start = std::chrono::steady_clock::now();
        if (!Upload_Days(connection, server, {day}, failure))
        {
            std::fprintf(stderr, "%s\n", failure.c_str());
            return 1;
        }
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("send_day_ms %.3f\n", milliseconds[milliseconds.size() / 2]);
    return 0;
}

int Store(const std::string& path)
{
    std::vector<History_Day> days;
    for (int index = 0; index < Ten_Years; ++index)
    {
        const Calendar_Date date = Add_Days(First_Day, index);
        if (Iso_Day_Of_Week(date) <= 5) days.push_back(Working_Day(date, index));
    }
    std::string failure;
    if (!History_Store::Write_New(path, days, failure))
    {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::printf("days %zu\n", days.size());
    return 0;
}

int Team(const std::string& connection_text)
{
    Pg_Connection connection(connection_text, 5, 600000);
    std::string failure;
    const std::string span = "'" + Iso_Date_Text(First_Day) + "'::date + g";
    const bool filled =
        connection.Run(
            "INSERT INTO zentavo_days (person, machine, day, fingerprint, worked_minutes, full_time_minutes)"
            " SELECT 'p' || p, 'pc', " +
                span +
                ", 'f', 480, 480 FROM generate_series(1, 50) p,"
                " generate_series(0, " +
                std::to_string(Ten_Years - 1) +
                ") g"
                " WHERE extract(isodow FROM " +
                span + ") <= 5",
            failure) &&
        connection.Run(
            "INSERT INTO zentavo_records (person, machine, day, fingerprint, position, time_span, work_type,"
            " minutes, counted_minutes, remark)"
            " SELECT d.person, d.machine, d.day, d.fingerprint, t.position, '', t.work_type, t.minutes,"
            " t.minutes, '' FROM zentavo_days d, (VALUES (0, 'Coding', 240), (1, 'Meeting', 120),"
            " (2, 'Support', 60), (3, 'Office', 60)) AS t (position, work_type, minutes)",
            failure) &&
        connection.Run("ANALYZE", failure);
    if (!filled)
    {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    const Pg_Result days = connection.Execute("SELECT count(*) FROM zentavo_days");
    std::printf("team_days %s\n", days.Text(0, 0).c_str());
    return 0;
}
}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 2 && arguments[0] == "send") return Send(arguments[1]);
    if (arguments.size() == 2 && arguments[0] == "store") return Store(arguments[1]);
    if (arguments.size() == 2 && arguments[0] == "team") return Team(arguments[1]);
    std::fprintf(stderr, "usage: history_server_benchmark send|store|team CONNECTION|PATH\n");
    return 2;
}
