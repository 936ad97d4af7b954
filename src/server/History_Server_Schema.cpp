#include "server/History_Server_Schema.h"

#include <array>

namespace
{
// Taken inside each migration's transaction: a second PC waits, then finds the work done.
constexpr const char* Migration_Lock = "SELECT pg_advisory_xact_lock(7260117)";

// Migration N brings version N-1 to N. The rows of a person are keyed to the role that
// writes them: row-level security lets a role see and write only rows of its own name.
constexpr std::array<const char*, History_Server_Schema_Version> Migrations = {
    // 1: the days and their records.
    "CREATE TABLE zentavo_schema_version (version integer NOT NULL);"
    "INSERT INTO zentavo_schema_version VALUES (0);"
    "CREATE TABLE zentavo_days ("
    " person text NOT NULL, machine text NOT NULL, day date NOT NULL, fingerprint text NOT NULL,"
    " worked_minutes integer NOT NULL CHECK (worked_minutes >= 0),"
    " full_time_minutes integer NOT NULL CHECK (full_time_minutes >= 0),"
    " sent_at timestamptz NOT NULL DEFAULT now(),"
    " PRIMARY KEY (person, machine, day, fingerprint));"
    "CREATE TABLE zentavo_records ("
    " person text NOT NULL, machine text NOT NULL, day date NOT NULL, fingerprint text NOT NULL,"
    " position integer NOT NULL, time_span text NOT NULL, work_type text NOT NULL, minutes integer NOT NULL,"
    " counted_minutes integer NOT NULL CHECK (counted_minutes >= 0), remark text NOT NULL,"
    " PRIMARY KEY (person, machine, day, fingerprint, position),"
    " FOREIGN KEY (person, machine, day, fingerprint) REFERENCES zentavo_days ON DELETE CASCADE);"
    "ALTER TABLE zentavo_days ENABLE ROW LEVEL SECURITY;"
    "ALTER TABLE zentavo_records ENABLE ROW LEVEL SECURITY;"
    "CREATE POLICY zentavo_own_days ON zentavo_days USING (person = current_user)"
    " WITH CHECK (person = current_user);"
    "CREATE POLICY zentavo_own_records ON zentavo_records USING (person = current_user)"
    " WITH CHECK (person = current_user);",
    // 2: what the reports ask: a person's days by date, and everyone's days of a period.
    "CREATE INDEX zentavo_days_by_person ON zentavo_days (person, day);"
    "CREATE INDEX zentavo_days_by_day ON zentavo_days (day);"
    "CREATE INDEX zentavo_records_by_person ON zentavo_records (person, day);"
    "CREATE INDEX zentavo_records_by_day ON zentavo_records (day);",
};

constexpr const char* Owner_Query =
    "SELECT pg_catalog.pg_has_role(current_user, d.datdba, 'USAGE') FROM pg_catalog.pg_database d"
    " WHERE d.datname = current_database()";

History_Server_Schema_Check Failed(const std::string& detail)
{
    return {History_Server_Schema_State::Failed, 0, detail};
}

// -1 when there is no version table; nullopt-like -2 when the server did not answer.
int Server_Version(Pg_Connection& connection, std::string& failure)
{
    const Pg_Result table = connection.Execute("SELECT to_regclass('zentavo_schema_version') IS NOT NULL");
    if (!table.Ok() || table.Rows() != 1)
    {
        failure = table.Error();
        return -2;
    }
    if (table.Text(0, 0) != "t") return -1;
    const Pg_Result version = connection.Execute("SELECT max(version) FROM zentavo_schema_version");
    if (!version.Ok() || version.Rows() != 1)
    {
        failure = version.Error();
        return -2;
    }
    return static_cast<int>(version.Integer(0, 0));
}

bool Run_Migrations(Pg_Connection& connection, int up_to_version, std::string& failure)
{
    for (int target = 1; target <= up_to_version; ++target)
    {
        if (!connection.Run(std::string("BEGIN;") + Migration_Lock, failure)) return false;
        const int version = Server_Version(connection, failure);
        bool done = version >= -1;
        if (done && version < target)
        {
            done = connection.Run(Migrations[static_cast<std::size_t>(target - 1)], failure) &&
                   connection.Run("UPDATE zentavo_schema_version SET version = " + std::to_string(target), failure);
        }
        std::string rollback_failure;
        if (!done || !connection.Run("COMMIT", failure))
        {
            connection.Run("ROLLBACK", rollback_failure);
            return false;
        }
    }
    return true;
}
}  // namespace

History_Server_Schema_Check Prepare_History_Server_Schema(Pg_Connection& connection, int up_to_version)
{
    std::string failure;
    int version = Server_Version(connection, failure);
    if (version == -2) return Failed(failure);
    if (version < up_to_version)
    {
        const Pg_Result owner = connection.Execute(Owner_Query);
        if (!owner.Ok()) return Failed(owner.Error());
        const bool owns = owner.Rows() == 1 && owner.Text(0, 0) == "t";
        if (owns)
        {
            if (!Run_Migrations(connection, up_to_version, failure))
                return Failed("the history server's tables could not be made or migrated: " + failure);
            version = Server_Version(connection, failure);
            if (version == -2) return Failed(failure);
        }
    }
    const std::string needed = std::to_string(up_to_version);
    if (version == -1)
        return {History_Server_Schema_State::Missing, 0,
                "the history server has no tables yet, and this role does not own the database; "
                "its administrator runs zentavo-logger --init-server once"};
    if (version < up_to_version)
        return {History_Server_Schema_State::Older, version,
                "the history server's tables are of version " + std::to_string(version) + ", this program needs " +
                    needed + "; its administrator runs zentavo-logger --init-server to migrate them"};
    if (version > up_to_version)
        return {History_Server_Schema_State::Newer, version,
                "the history server's tables are of version " + std::to_string(version) +
                    ", newer than this program knows (" + needed + "); update the program"};
    return {History_Server_Schema_State::Ready, version, {}};
}

bool Init_History_Server(Pg_Connection& connection, std::string& failure)
{
    if (!connection.Connected())
    {
        failure = connection.Failure();
        return false;
    }
    const History_Server_Schema_Check schema = Prepare_History_Server_Schema(connection);
    if (schema.State != History_Server_Schema_State::Ready)
    {
        failure = schema.Detail;
        return false;
    }
    const std::string reporter = History_Server_Reporter_Role;
    const Pg_Result exists =
        connection.Execute("SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = $1", {std::string(reporter)});
    if (!exists.Ok())
    {
        failure = exists.Error();
        return false;
    }
    if (exists.Rows() == 0 && !connection.Run("CREATE ROLE " + reporter + " NOLOGIN", failure))
    {
        failure = "the role " + reporter + " is missing and cannot be created here (" + failure +
                  "); create it as shown in the manual, then run this again";
        return false;
    }
    const std::string grants =
        "BEGIN;"
        "GRANT SELECT ON zentavo_schema_version TO PUBLIC;"
        "GRANT SELECT, INSERT, DELETE ON zentavo_days, zentavo_records TO PUBLIC;"
        "DROP POLICY IF EXISTS zentavo_reporter_days ON zentavo_days;"
        "DROP POLICY IF EXISTS zentavo_reporter_records ON zentavo_records;"
        "CREATE POLICY zentavo_reporter_days ON zentavo_days FOR SELECT TO " +
        reporter +
        " USING (true);"
        "CREATE POLICY zentavo_reporter_records ON zentavo_records FOR SELECT TO " +
        reporter +
        " USING (true);"
        "COMMIT;";
    if (connection.Run(grants, failure)) return true;
    std::string ignored;
    connection.Run("ROLLBACK", ignored);
    return false;
}
