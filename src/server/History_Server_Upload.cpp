#include "server/History_Server_Upload.h"

#include "history/Calendar.h"
#include "history/History_Store.h"
#include "platform/Code_Page.h"

namespace
{
bool Put_Day(Pg_Connection& connection, const History_Server_Settings& server, const Outbox_Day& day,
             std::string& failure)
{
    const std::string date = Iso_Date_Text(day.Date);
    // An earlier version of this machine's day gives way; its records go with it.
    if (!connection.Run("DELETE FROM zentavo_days WHERE person = $1 AND machine = $2 AND day = $3"
                        " AND fingerprint <> $4",
                        failure, {server.Person, server.Machine, date, day.Fingerprint}))
        return false;
    const Pg_Result inserted = connection.Execute(
        "INSERT INTO zentavo_days (person, machine, day, fingerprint, worked_minutes, full_time_minutes)"
        " VALUES ($1, $2, $3, $4, $5, $6) ON CONFLICT (person, machine, day, fingerprint) DO NOTHING RETURNING 1",
        {server.Person, server.Machine, date, day.Fingerprint, std::to_string(day.Worked_Minutes),
         std::to_string(day.Full_Time_Minutes)});
    if (!inserted.Ok())
    {
        failure = connection.Connected() ? inserted.Error() : connection.Connection_Error();
        return false;
    }
    if (inserted.Rows() == 0) return true;  // there already: sent before
    for (std::size_t position = 0; position < day.Records.size(); ++position)
    {
        const Outbox_Record& record = day.Records[position];
        if (!connection.Run(
                "INSERT INTO zentavo_records (person, machine, day, fingerprint, position, time_span,"
                " work_type, minutes, counted_minutes, remark)"
                " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)",
                failure,
                {server.Person, server.Machine, date, day.Fingerprint, std::to_string(position),
                 Cp1250_To_Utf8(record.Time_Span), Cp1250_To_Utf8(record.Work_Type), std::to_string(record.Minutes),
                 std::to_string(record.Counted_Minutes), Cp1250_To_Utf8(record.Remark)}))
            return false;
    }
    return true;
}
}  // namespace

bool Upload_Days(Pg_Connection& connection, const History_Server_Settings& server, const std::vector<Outbox_Day>& days,
                 std::string& failure)
{
    if (!connection.Connected())
    {
        failure = connection.Connection_Error();
        return false;
    }
    bool done = connection.Run("BEGIN", failure);
    for (std::size_t index = 0; done && index < days.size(); ++index)
        done = Put_Day(connection, server, days[index], failure);
    if (done && connection.Run("COMMIT", failure)) return true;
    std::string ignored;
    connection.Run("ROLLBACK", ignored);
    return false;
}

Outbox_Send_Result Send_Outbox(Pg_Connection& connection, const History_Server_Settings& server,
                               const std::string& store_path)
{
    Outbox_Send_Result result;
    for (;;)
    {
        std::vector<Outbox_Day> waiting;
        {
            History_Store store(store_path, History_Store::Mode::Read_Write);
            if (store.Check().State == History_Store_State::Missing)
            {
                result.Emptied = true;
                return result;
            }
            if (!store.Read_Outbox(waiting, 1, result.Failure)) return result;
        }
        if (waiting.empty())
        {
            result.Emptied = true;
            return result;
        }
        if (!Upload_Days(connection, server, waiting, result.Failure))
        {
            result.Server_Failed = true;
            return result;
        }
        History_Store store(store_path, History_Store::Mode::Read_Write);
        if (!store.Remove_From_Outbox(waiting.front().Id, result.Failure)) return result;
        ++result.Sent;
    }
}
