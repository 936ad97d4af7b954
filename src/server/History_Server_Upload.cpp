#include "server/History_Server_Upload.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <limits>
#include <set>

#include "history/Calendar.h"
#include "history/History_Store.h"
#include "platform/Code_Page.h"

namespace
{

// Why a statement failed: the connection's error when it broke, else the statement's.
std::string Failure_Of(const Pg_Connection& connection, const Pg_Result& result)
{
    return connection.Connected() ? result.Error() : connection.Connection_Error();
}
// A PostgreSQL array literal of the texts, each quoted, so any text goes as it is.
class Array_Literal
{
public:
    void Add(const std::string& text)
    {
        Text += Text.empty() ? "{\"" : ",\"";
        for (const char byte : text)
        {
            if (byte == '"' || byte == '\\') Text += '\\';
            Text += byte;
        }
        Text += '"';
    }
    void Add(long long number) { Add(std::to_string(number)); }
    std::string Done() const { return Text.empty() ? "{}" : Text + "}"; }

private:
    std::string Text;
};

// The days in three statements however many they are: a first upload of years costs a
// few round trips per batch, not a few per record.
bool Put_Days(Pg_Connection& connection, const History_Server_Settings& server, const std::vector<Outbox_Day>& given,
              std::string& failure)
{
    // A date given twice: the later version replaces the earlier, as one by one it would.
    std::vector<const Outbox_Day*> days;
    for (std::size_t index = 0; index < given.size(); ++index)
    {
        bool later = false;
        for (std::size_t next = index + 1; next < given.size() && !later; ++next)
            later = given[next].Date == given[index].Date;
        if (!later) days.push_back(&given[index]);
    }
    Array_Literal dates;
    Array_Literal fingerprints;
    Array_Literal worked;
    Array_Literal full_time;
    for (const Outbox_Day* day : days)
    {
        dates.Add(Iso_Date_Text(day->Date));
        fingerprints.Add(day->Fingerprint);
        worked.Add(day->Worked_Minutes);
        full_time.Add(day->Full_Time_Minutes);
    }
    // An earlier version of this machine's day gives way; its records go with it.
    if (!connection.Run("DELETE FROM zentavo_days d USING unnest($3::date[], $4::text[]) AS n (day, fingerprint)"
                        " WHERE d.person = $1 AND d.machine = $2 AND d.day = n.day AND d.fingerprint <> n.fingerprint",
                        failure, {server.Person, server.Machine, dates.Done(), fingerprints.Done()}))
        return false;
    const Pg_Result inserted = connection.Execute(
        "INSERT INTO zentavo_days (person, machine, day, fingerprint, worked_minutes, full_time_minutes)"
        " SELECT $1, $2, n.day, n.fingerprint, n.worked, n.full_time"
        " FROM unnest($3::date[], $4::text[], $5::integer[], $6::integer[]) AS n (day, fingerprint, worked, full_time)"
        " ON CONFLICT (person, machine, day, fingerprint) DO NOTHING RETURNING day::text",
        {server.Person, server.Machine, dates.Done(), fingerprints.Done(), worked.Done(), full_time.Done()});
    if (!inserted.Ok())
    {
        failure = Failure_Of(connection, inserted);
        return false;
    }
    // A day there already was sent before: its records are there too.
    std::set<std::string> new_dates;
    for (int row = 0; row < inserted.Rows(); ++row) new_dates.insert(inserted.Text(row, 0));
    Array_Literal record_dates;
    Array_Literal record_fingerprints;
    Array_Literal positions;
    Array_Literal spans;
    Array_Literal types;
    Array_Literal minutes;
    Array_Literal counted;
    Array_Literal remarks;
    bool any = false;
    for (const Outbox_Day* day : days)
    {
        const std::string date = Iso_Date_Text(day->Date);
        if (new_dates.count(date) == 0) continue;
        for (std::size_t position = 0; position < day->Records.size(); ++position)
        {
            const Outbox_Record& record = day->Records[position];
            record_dates.Add(date);
            record_fingerprints.Add(day->Fingerprint);
            positions.Add(static_cast<long long>(position));
            spans.Add(Cp1250_To_Utf8(record.Time_Span));
            types.Add(Cp1250_To_Utf8(record.Work_Type));
            minutes.Add(record.Minutes);
            counted.Add(record.Counted_Minutes);
            remarks.Add(Cp1250_To_Utf8(record.Remark));
            any = true;
        }
    }
    if (!any) return true;
    return connection.Run(
        "INSERT INTO zentavo_records (person, machine, day, fingerprint, position, time_span, work_type, minutes,"
        " counted_minutes, remark)"
        " SELECT $1, $2, r.day, r.fingerprint, r.position, r.time_span, r.work_type, r.minutes, r.counted, r.remark"
        " FROM unnest($3::date[], $4::text[], $5::integer[], $6::text[], $7::text[], $8::integer[], $9::integer[],"
        " $10::text[]) AS r (day, fingerprint, position, time_span, work_type, minutes, counted, remark)",
        failure,
        {server.Person, server.Machine, record_dates.Done(), record_fingerprints.Done(), positions.Done(), spans.Done(),
         types.Done(), minutes.Done(), counted.Done(), remarks.Done()});
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
    if (connection.Run("BEGIN", failure) && (days.empty() || Put_Days(connection, server, days, failure)) &&
        connection.Run("COMMIT", failure))
        return true;
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

int Queue_Days_Missing_On_Server(Pg_Connection& connection, const History_Server_Settings& server,
                                 const std::string& store_path, bool only_if_new, std::string& failure)
{
    // When the file was made: a history read in anew is a new file (a file system that does
    // not tell counts as new).
    struct statx status
    {
    };
    if (only_if_new && ::statx(AT_FDCWD, store_path.c_str(), 0, STATX_BTIME, &status) == 0 &&
        (status.stx_mask & STATX_BTIME) != 0)
    {
        const Pg_Result latest = connection.Execute(
            "SELECT floor(extract(epoch FROM max(sent_at)))::bigint FROM zentavo_days"
            " WHERE person = $1 AND machine = $2",
            {server.Person, server.Machine});
        if (!latest.Ok())
        {
            failure = Failure_Of(connection, latest);
            return -1;
        }
        if (latest.Rows() == 1 && !latest.Text(0, 0).empty() && status.stx_btime.tv_sec < latest.Integer(0, 0))
            return 0;
    }
    const Pg_Result sent = connection.Execute(
        "SELECT day::text, machine = $2, full_time_minutes FROM zentavo_days WHERE person = $1"
        " AND day >= (SELECT min(day) FROM zentavo_days WHERE person = $1 AND machine = $2) ORDER BY day",
        {server.Person, server.Machine});
    if (!sent.Ok())
    {
        failure = Failure_Of(connection, sent);
        return -1;
    }
    if (sent.Rows() == 0) return 0;  // nothing ever sent from here: a first upload is --push-history's
    std::set<Calendar_Date> on_server;
    long long full_time_minutes = 0;
    for (int row = 0; row < sent.Rows(); ++row)
    {
        const std::optional<Calendar_Date> date = Parse_Iso_Date(sent.Text(row, 0));
        if (date) on_server.insert(*date);
        if (sent.Text(row, 1) == "t") full_time_minutes = sent.Integer(row, 2);  // the latest this PC sent
    }
    const Calendar_Date first = *on_server.begin();
    History_Store store(store_path, History_Store::Mode::Read_Write);
    if (store.Check().State == History_Store_State::Missing) return 0;
    std::vector<History_Day> days;
    std::vector<Outbox_Day> waiting;
    if (!store.Read_Days_Between(first, {9999, 12, 31}, days) ||
        !store.Read_Outbox(waiting, std::numeric_limits<int>::max(), failure))
    {
        if (failure.empty()) failure = store.Check().Detail;
        return -1;
    }
    for (const Outbox_Day& day : waiting) on_server.insert(day.Date);
    int queued = 0;
    for (const History_Day& day : days)
    {
        if (on_server.count(day.Date) != 0) continue;
        if (!store.Queue_For_Server(Outbox_Day_Of_History(day, full_time_minutes), failure)) return -1;
        ++queued;
    }
    return queued;
}
