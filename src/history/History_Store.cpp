#include "history/History_Store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "history/Calendar.h"

namespace
{

// No day holds more than its sixteen rows of a whole day each. A file that says otherwise
// was changed by hand, and its sums must not overflow the reports.
bool Plausible_Minutes(long long minutes) { return minutes >= 0 && minutes <= 16 * 24 * 60; }

// "ZLHS": a database of this program, and the layout it has.
constexpr int Application_Id = 0x5A4C4853;
constexpr int Schema_Version = 1;
// An export waits this long for another process's transaction, then goes on without it.
constexpr int Busy_Timeout_Milliseconds = 200;

// Each commit appends the changed pages to the write-ahead log and syncs it once
// (synchronous FULL: a day whose transaction returned survives a power cut). A checkpoint
// syncs the log and the database file again and makes the next commit sync the log's new
// header too, so it is not left to chance at an export: Checkpoint_History_When_Due runs it
// when the day ends. The automatic one only bounds a log that has grown to a year or two of
// exports because the program never ended normally, at the cost of a few syncs at that export.
constexpr const char* Writer_Pragmas = "PRAGMA synchronous = FULL; PRAGMA wal_autocheckpoint = 1000";

constexpr const char* Schema_Sql =
    "CREATE TABLE days (date TEXT PRIMARY KEY NOT NULL, worked_minutes INTEGER NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE day_work_types (date TEXT NOT NULL, position INTEGER NOT NULL, work_type BLOB NOT NULL,"
    " minutes INTEGER NOT NULL, PRIMARY KEY (date, position)) WITHOUT ROWID;";
// Added later: a file without them is still whole, it only never recorded what they hold.
constexpr const char* Later_Schema_Sql =
    "CREATE TABLE IF NOT EXISTS target_log (id INTEGER PRIMARY KEY CHECK (id = 1), size INTEGER NOT NULL,"
    " modified INTEGER NOT NULL, lines INTEGER NOT NULL, head TEXT NOT NULL, ending TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS day_patterns (date TEXT PRIMARY KEY NOT NULL, pattern BLOB NOT NULL) WITHOUT ROWID;";

class Statement
{
public:
    Statement(sqlite3* database, const char* sql) { Result = sqlite3_prepare_v2(database, sql, -1, &Handle, nullptr); }
    ~Statement() { sqlite3_finalize(Handle); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool Prepared() const { return Result == SQLITE_OK && Handle != nullptr; }
    sqlite3_stmt* operator*() const { return Handle; }
    int Result = SQLITE_OK;

private:
    sqlite3_stmt* Handle = nullptr;
};

std::string Sqlite_Text(sqlite3* database, int result)
{
    std::string text = database ? sqlite3_errmsg(database) : sqlite3_errstr(result);
    return text + " (" + std::to_string(result) + ")";
}

History_Store_State State_Of_Result(int result)
{
    switch (result & 0xFF)
    {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return History_Store_State::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA: return History_Store_State::Damaged;
    case SQLITE_READONLY: return History_Store_State::Read_Only;
    default: return History_Store_State::Unopenable;
    }
}

std::string State_Words(History_Store_State state)
{
    switch (state)
    {
    case History_Store_State::Ready: return "ready";
    case History_Store_State::Missing: return "not found";
    case History_Store_State::Damaged: return "damaged";
    case History_Store_State::Read_Only: return "read only";
    case History_Store_State::Locked: return "locked by another process";
    case History_Store_State::Directory: return "a directory, not a file";
    case History_Store_State::Unopenable: return "not possible to open";
    }
    return "unknown";
}

History_Store_Check Make_Check(History_Store_State state, const std::string& path, const std::string& reason = {})
{
    if (state == History_Store_State::Ready) return {state, {}};
    std::string detail = "history database " + path + " is " + State_Words(state);
    if (!reason.empty()) detail += ": " + reason;
    return {state, detail};
}

History_Store_Check In_Use_Here(const std::string& path)
{
    return {History_Store_State::Locked, "history database " + path + " is in use by another part of this program"};
}

// The file system's answer before SQLite is asked: missing, a directory, read-only.
std::optional<History_Store_Check> File_Check(const std::string& path, bool for_writing)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
    {
        if (errno == ENOENT) return Make_Check(History_Store_State::Missing, path);
        return Make_Check(History_Store_State::Unopenable, path, std::strerror(errno));
    }
    if (S_ISDIR(status.st_mode)) return Make_Check(History_Store_State::Directory, path);
    if (!S_ISREG(status.st_mode)) return Make_Check(History_Store_State::Unopenable, path, "not a regular file");
    // A mode without any write bit is refused even for root, as for the program's other files.
    if (for_writing && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return Make_Check(History_Store_State::Read_Only, path);
    if (::access(path.c_str(), R_OK) != 0)
        return Make_Check(History_Store_State::Unopenable, path, std::strerror(errno));
    return std::nullopt;
}

// One open store at a time in this process. SQLite shares one mapping of a log's index
// among the connections of a process: a reader's read-only mapping would make a writer
// beside it fail; and a rebuild must not swap the file under a connection that is open.
std::mutex Turn_Guard;
std::condition_variable Turn_Freed;
bool Turn_Taken = false;
std::thread::id Turn_Owner;

bool Take_Turn()
{
    std::unique_lock lock(Turn_Guard);
    if (Turn_Taken && Turn_Owner == std::this_thread::get_id()) return false;  // never waits for itself
    if (!Turn_Freed.wait_for(lock, std::chrono::milliseconds(Busy_Timeout_Milliseconds), [] { return !Turn_Taken; }))
        return false;
    Turn_Taken = true;
    Turn_Owner = std::this_thread::get_id();
    return true;
}

void Give_Turn()
{
    {
        const std::lock_guard lock(Turn_Guard);
        Turn_Taken = false;
    }
    Turn_Freed.notify_one();
}

class Turn
{
public:
    Turn() : Taken(Take_Turn()) {}
    ~Turn()
    {
        if (Taken) Give_Turn();
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    const bool Taken;
};

// The system's file layer but for one thing: a log that exists already is opened without
// the create flag. SQLite syncs the folder at the first sync of a log opened with it, so
// that a new file's name survives a power cut; when the name was there before, the folder
// holds nothing to sync, and that sync would double the cost of the export's commit.
// A log this program creates (after a rebuild, or when one was removed) still has its
// folder synced at its first commit.
sqlite3_vfs* System_Vfs = nullptr;

int Open_Existing_Log_As_It_Is(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* out_flags)
{
    if ((flags & SQLITE_OPEN_WAL) != 0 && (flags & SQLITE_OPEN_CREATE) != 0 && name != nullptr &&
        System_Vfs->xOpen(System_Vfs, name, file, flags & ~SQLITE_OPEN_CREATE, out_flags) == SQLITE_OK)
        return SQLITE_OK;
    return System_Vfs->xOpen(System_Vfs, name, file, flags, out_flags);
}

const char* Store_Vfs_Name()
{
    static const char* const name = [] {
        static sqlite3_vfs store_vfs{};
        System_Vfs = sqlite3_vfs_find(nullptr);
        if (System_Vfs == nullptr) return static_cast<const char*>(nullptr);
        store_vfs = *System_Vfs;
        store_vfs.pNext = nullptr;
        store_vfs.zName = "zentavo-history";
        store_vfs.xOpen = Open_Existing_Log_As_It_Is;
        return sqlite3_vfs_register(&store_vfs, 0) == SQLITE_OK ? store_vfs.zName : nullptr;
    }();
    return name;  // none: the system's own
}

int Open_Database(const std::string& name, sqlite3** database, int flags)
{
    return sqlite3_open_v2(name.c_str(), database, flags | SQLITE_OPEN_NOMUTEX, Store_Vfs_Name());
}

// A connection to the store itself: its close never checkpoints (that would cost an export
// two more syncs, and after a rebuild would remove the log by a name that is the new
// file's), and it waits a moment for another process's transaction.
void Settle_Store_Connection(sqlite3* database)
{
    sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(database, Busy_Timeout_Milliseconds);
}

// The files SQLite keeps beside a database: a journal, or a log and its index.
constexpr std::array<const char*, 3> Companion_Suffixes{"-journal", "-wal", "-shm"};

bool Exists(const std::string& path)
{
    struct stat status
    {
    };
    return ::stat(path.c_str(), &status) == 0;
}

// The header of an SQLite database that keeps a write-ahead log (file format version 2).
bool Header_Names_Log(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    unsigned char header[20] = {};
    const bool whole = ::pread(descriptor, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
    ::close(descriptor);
    return whole && std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2;
}

// A file name as an SQLite URI with parameters; any byte but a plain one is escaped.
std::string Uri_Of(const std::string& path, const char* parameters)
{
    constexpr const char* Hex = "0123456789ABCDEF";
    std::string uri = !path.empty() && path[0] == '/' ? "file://" : "file:";
    for (const char character : path)
    {
        const auto byte = static_cast<unsigned char>(character);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '/' || byte == '.' || byte == '_' || byte == '-' ||
                           byte == '~';
        if (plain)
        {
            uri += character;
            continue;
        }
        uri += '%';
        uri += Hex[byte >> 4];
        uri += Hex[byte & 0x0F];
    }
    return uri + '?' + parameters;
}

// How a reader opens the file without creating or changing any file: with a log, its
// index is mapped for reading only (SQLite reads the log itself when no writer keeps the
// index); a database in log mode whose log is gone (folded in by a checkpoint that removed
// it) is read as it stands; a log without its index cannot be read without creating one.
std::optional<std::string> Reader_Uri(const std::string& path, std::string& reason)
{
    if (Exists(path + "-wal"))
    {
        if (Exists(path + "-shm")) return Uri_Of(path, "mode=ro&readonly_shm=1");
        reason = "its log " + path + "-wal cannot be read without creating its index " + path + "-shm";
        return std::nullopt;
    }
    return Uri_Of(path, Header_Names_Log(path) ? "mode=ro&immutable=1" : "mode=ro");
}

int Single_Integer(sqlite3* database, const char* sql, int& value)
{
    Statement statement(database, sql);
    if (!statement.Prepared()) return statement.Result;
    const int step = sqlite3_step(*statement);
    if (step != SQLITE_ROW) return step == SQLITE_DONE ? SQLITE_CORRUPT : step;
    value = sqlite3_column_int(*statement, 0);
    return SQLITE_OK;
}

// The header, the layout and (when asked) every page: a garbage or truncated file fails here.
History_Store_Check Check_Open_Database(sqlite3* database, const std::string& path, bool check_pages)
{
    int application_id = 0;
    int result = Single_Integer(database, "PRAGMA application_id", application_id);
    if (result != SQLITE_OK) return Make_Check(State_Of_Result(result), path, Sqlite_Text(database, result));
    int version = 0;
    result = Single_Integer(database, "PRAGMA user_version", version);
    if (result != SQLITE_OK) return Make_Check(State_Of_Result(result), path, Sqlite_Text(database, result));
    if (application_id != Application_Id || version != Schema_Version)
        return Make_Check(History_Store_State::Damaged, path, "not a history database of this program");
    // Reading every page costs as much as the largest report: a report and an export read
    // only the pages they need, and a fault in one of those fails that reading or writing
    // (the store is then named damaged). Every page is checked when asked for.
    if (!check_pages) return Make_Check(History_Store_State::Ready, path);
    Statement check(database, "PRAGMA quick_check");
    if (!check.Prepared()) return Make_Check(State_Of_Result(check.Result), path, Sqlite_Text(database, check.Result));
    result = sqlite3_step(*check);
    if (result != SQLITE_ROW) return Make_Check(State_Of_Result(result), path, Sqlite_Text(database, result));
    const unsigned char* answer = sqlite3_column_text(*check, 0);
    if (answer == nullptr || std::strcmp(reinterpret_cast<const char*>(answer), "ok") != 0)
        return Make_Check(History_Store_State::Damaged, path,
                          answer ? reinterpret_cast<const char*>(answer) : "integrity check failed");
    return Make_Check(History_Store_State::Ready, path);
}

bool Execute(sqlite3* database, const char* sql, std::string& failure)
{
    char* message = nullptr;
    const int result = sqlite3_exec(database, sql, nullptr, nullptr, &message);
    if (result == SQLITE_OK) return true;
    failure = std::string(message ? message : sqlite3_errstr(result)) + " (" + std::to_string(result) + ")";
    sqlite3_free(message);
    return false;
}

// Writes days inside the caller's transaction, each statement prepared once for all of
// them: a rebuild writes every day of the target log.
class Day_Writer
{
public:
    explicit Day_Writer(sqlite3* database)
        : Database(database), Remove_Types(database, "DELETE FROM day_work_types WHERE date = ?1"),
          Put_Day(database, "INSERT OR REPLACE INTO days (date, worked_minutes) VALUES (?1, ?2)"),
          Put_Type(database, "INSERT INTO day_work_types (date, position, work_type, minutes) VALUES (?1, ?2, ?3, ?4)"),
          Put_Pattern(database, "INSERT OR REPLACE INTO day_patterns (date, pattern) VALUES (?1, ?2)")
    {
    }

    // Replaces the day of its date (in a new file there is none to remove); the line
    // pattern it was written with is kept when not empty.
    bool Put(const History_Day& day, const std::string& pattern, std::string& failure, bool replacing = true)
    {
        for (const Statement* statement : {&Remove_Types, &Put_Day, &Put_Type})
            if (!Prepared(*statement, failure)) return false;
        const std::string date = Iso_Date_Text(day.Date);
        if (replacing)
        {
            sqlite3_bind_text(*Remove_Types, 1, date.c_str(), -1, SQLITE_TRANSIENT);
            if (!Done(Remove_Types, failure)) return false;
        }
        sqlite3_bind_text(*Put_Day, 1, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(*Put_Day, 2, day.Worked_Minutes);
        if (!Done(Put_Day, failure)) return false;
        for (std::size_t position = 0; position < day.By_Work_Type.size(); ++position)
        {
            const Work_Type_Minutes& entry = day.By_Work_Type[position];
            sqlite3_bind_text(*Put_Type, 1, date.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(*Put_Type, 2, static_cast<sqlite3_int64>(position));
            sqlite3_bind_blob(*Put_Type, 3, entry.Work_Type.data(), static_cast<int>(entry.Work_Type.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(*Put_Type, 4, entry.Minutes);
            if (!Done(Put_Type, failure)) return false;
        }
        if (pattern.empty()) return true;
        if (!Prepared(Put_Pattern, failure)) return false;
        sqlite3_bind_text(*Put_Pattern, 1, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(*Put_Pattern, 2, pattern.data(), static_cast<int>(pattern.size()), SQLITE_TRANSIENT);
        return Done(Put_Pattern, failure);
    }

private:
    bool Prepared(const Statement& statement, std::string& failure) const
    {
        if (statement.Prepared()) return true;
        failure = Sqlite_Text(Database, statement.Result);
        return false;
    }

    bool Done(const Statement& statement, std::string& failure) const
    {
        const int result = sqlite3_step(*statement);
        sqlite3_reset(*statement);
        if (result == SQLITE_DONE) return true;
        failure = Sqlite_Text(Database, result);
        return false;
    }

    sqlite3* Database;
    Statement Remove_Types;
    Statement Put_Day;
    Statement Put_Type;
    Statement Put_Pattern;  // the table is made by the later layout, which may come after
};

bool Put_Target_Log_Mark(sqlite3* database, const Target_Log_Mark& mark, std::string& failure)
{
    Statement put(database,
                  "INSERT OR REPLACE INTO target_log (id, size, modified, lines, head, ending)"
                  " VALUES (1, ?1, ?2, ?3, ?4, ?5)");
    if (!put.Prepared())
    {
        failure = Sqlite_Text(database, put.Result);
        return false;
    }
    sqlite3_bind_int64(*put, 1, static_cast<sqlite3_int64>(mark.Size));
    sqlite3_bind_int64(*put, 2, mark.Modified_Nanoseconds);
    sqlite3_bind_int64(*put, 3, static_cast<sqlite3_int64>(mark.Lines));
    sqlite3_bind_text(*put, 4, mark.Head_Fingerprint.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(*put, 5, mark.Ending_Fingerprint.c_str(), -1, SQLITE_TRANSIENT);
    const int result = sqlite3_step(*put);
    if (result == SQLITE_DONE) return true;
    failure = Sqlite_Text(database, result);
    return false;
}

// The history server's outbox; made by the first day queued, so a history without a
// server keeps the layout it always had.
constexpr const char* Outbox_Schema_Sql =
    "CREATE TABLE IF NOT EXISTS server_outbox (id INTEGER PRIMARY KEY AUTOINCREMENT, date TEXT NOT NULL,"
    " worked_minutes INTEGER NOT NULL, full_time_minutes INTEGER NOT NULL, fingerprint TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS server_outbox_records (id INTEGER NOT NULL, position INTEGER NOT NULL,"
    " time_span BLOB NOT NULL, work_type BLOB NOT NULL, minutes INTEGER NOT NULL, counted_minutes INTEGER NOT NULL,"
    " remark BLOB NOT NULL, PRIMARY KEY (id, position)) WITHOUT ROWID;";

void Bind_Bytes(const Statement& statement, int index, const std::string& bytes)
{
    sqlite3_bind_blob(*statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

std::string Column_Bytes(const Statement& statement, int column)
{
    const void* blob = sqlite3_column_blob(*statement, column);
    const int size = sqlite3_column_bytes(*statement, column);
    return blob ? std::string(static_cast<const char*>(blob), static_cast<std::size_t>(size)) : std::string();
}

// Queues one day; inside the caller's transaction.
bool Queue_Day(sqlite3* database, const Outbox_Day& day, std::string& failure)
{
    if (!Execute(database, Outbox_Schema_Sql, failure)) return false;
    Statement put_day(database,
                      "INSERT INTO server_outbox (id, date, worked_minutes, full_time_minutes, fingerprint)"
                      " VALUES (?5, ?1, ?2, ?3, ?4)");
    Statement put_record(database,
                         "INSERT INTO server_outbox_records (id, position, time_span, work_type, minutes,"
                         " counted_minutes, remark) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    if (!put_day.Prepared() || !put_record.Prepared())
    {
        failure = Sqlite_Text(database, put_day.Prepared() ? put_record.Result : put_day.Result);
        return false;
    }
    const std::string date = Iso_Date_Text(day.Date);
    sqlite3_bind_text(*put_day, 1, date.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(*put_day, 2, day.Worked_Minutes);
    sqlite3_bind_int64(*put_day, 3, day.Full_Time_Minutes);
    sqlite3_bind_text(*put_day, 4, day.Fingerprint.c_str(), -1, SQLITE_TRANSIENT);
    // A day carried into a rebuilt file keeps its number: the sender may be sending it.
    if (day.Id > 0) sqlite3_bind_int64(*put_day, 5, day.Id);
    else sqlite3_bind_null(*put_day, 5);
    if (const int result = sqlite3_step(*put_day); result != SQLITE_DONE)
    {
        failure = Sqlite_Text(database, result);
        return false;
    }
    const sqlite3_int64 id = sqlite3_last_insert_rowid(database);
    for (std::size_t position = 0; position < day.Records.size(); ++position)
    {
        const Outbox_Record& record = day.Records[position];
        sqlite3_bind_int64(*put_record, 1, id);
        sqlite3_bind_int64(*put_record, 2, static_cast<sqlite3_int64>(position));
        Bind_Bytes(put_record, 3, record.Time_Span);
        Bind_Bytes(put_record, 4, record.Work_Type);
        sqlite3_bind_int64(*put_record, 5, record.Minutes);
        sqlite3_bind_int64(*put_record, 6, record.Counted_Minutes);
        Bind_Bytes(put_record, 7, record.Remark);
        const int result = sqlite3_step(*put_record);
        sqlite3_reset(*put_record);
        if (result != SQLITE_DONE)
        {
            failure = Sqlite_Text(database, result);
            return false;
        }
    }
    return true;
}

bool Has_Outbox(sqlite3* database)
{
    Statement lookup(database, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'server_outbox'");
    return lookup.Prepared() && sqlite3_step(*lookup) == SQLITE_ROW;
}

// The oldest queued days, at most limit; none when nothing was ever queued.
bool Read_Outbox_Days(sqlite3* database, std::vector<Outbox_Day>& days, std::size_t limit, std::string& failure)
{
    days.clear();
    if (!Has_Outbox(database)) return true;
    Statement day_rows(database,
                       "SELECT id, date, worked_minutes, full_time_minutes, fingerprint FROM server_outbox"
                       " ORDER BY id LIMIT ?1");
    Statement record_rows(database,
                          "SELECT time_span, work_type, minutes, counted_minutes, remark"
                          " FROM server_outbox_records WHERE id = ?1 ORDER BY position");
    if (!day_rows.Prepared() || !record_rows.Prepared())
    {
        failure = Sqlite_Text(database, day_rows.Prepared() ? record_rows.Result : day_rows.Result);
        return false;
    }
    sqlite3_bind_int64(*day_rows, 1, static_cast<sqlite3_int64>(limit));
    int result = SQLITE_OK;
    while ((result = sqlite3_step(*day_rows)) == SQLITE_ROW)
    {
        const unsigned char* text = sqlite3_column_text(*day_rows, 1);
        const std::optional<Calendar_Date> date = Parse_Iso_Date(text ? reinterpret_cast<const char*>(text) : "");
        const unsigned char* fingerprint = sqlite3_column_text(*day_rows, 4);
        if (!date || !fingerprint)
        {
            failure = "the history database holds a queued day that cannot be read";
            return false;
        }
        Outbox_Day day{sqlite3_column_int64(*day_rows, 0),         *date,
                       sqlite3_column_int64(*day_rows, 2),         sqlite3_column_int64(*day_rows, 3),
                       reinterpret_cast<const char*>(fingerprint), {}};
        sqlite3_bind_int64(*record_rows, 1, day.Id);
        int record_result = SQLITE_OK;
        while ((record_result = sqlite3_step(*record_rows)) == SQLITE_ROW)
            day.Records.push_back({Column_Bytes(record_rows, 0), Column_Bytes(record_rows, 1),
                                   sqlite3_column_int64(*record_rows, 2), sqlite3_column_int64(*record_rows, 3),
                                   Column_Bytes(record_rows, 4)});
        sqlite3_reset(*record_rows);
        if (record_result != SQLITE_DONE)
        {
            failure = Sqlite_Text(database, record_result);
            return false;
        }
        days.push_back(std::move(day));
    }
    if (result == SQLITE_DONE) return true;
    failure = Sqlite_Text(database, result);
    return false;
}

// A transaction that writes a page and changes nothing: after a checkpoint the log begins
// afresh with it, its header synced now rather than at the next export.
bool Start_Log_Afresh(sqlite3* database, std::string& reason)
{
    const std::string sql = "BEGIN IMMEDIATE; PRAGMA user_version = " + std::to_string(Schema_Version) + "; COMMIT";
    if (Execute(database, sql.c_str(), reason)) return true;
    sqlite3_exec(database, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

// A writer's settings; an older file is switched to the log here. Should the switch fail
// (another process reading the old file), the transaction goes through the rollback
// journal instead, synced as well.
void Use_Write_Ahead_Log(sqlite3* database)
{
    sqlite3_exec(database, Writer_Pragmas, nullptr, nullptr, nullptr);
    sqlite3_exec(database, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
}

bool Sync_Directory_Of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

// A rebuild killed before its temporary file took the name leaves it behind. One that has
// not changed for a while belongs to no rebuild still running (a running one writes it
// without pause) and is removed, with its journal.
void Remove_Leftover_Temporary_Files(const std::string& path)
{
    constexpr time_t Idle_Seconds = 60;
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".new-";
    DIR* folder = ::opendir(directory.c_str());
    if (folder == nullptr) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(folder))
    {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string leftover = (slash == std::string::npos ? "" : directory) + name;
        struct stat status
        {
        };
        if (::lstat(leftover.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
        if (now - status.st_mtime < Idle_Seconds) continue;
        ::unlink(leftover.c_str());
        for (const char* suffix : Companion_Suffixes) ::unlink((leftover + suffix).c_str());
    }
    ::closedir(folder);
}

}  // namespace

History_Store::History_Store(const std::string& path, Mode mode) : Path(path), Open_Mode(mode)
{
    if (const std::optional<History_Store_Check> file = File_Check(path, mode == Mode::Read_Write))
    {
        Store_Check = *file;
        return;
    }
    Holds_Turn = Take_Turn();
    if (!Holds_Turn)
    {
        Store_Check = In_Use_Here(path);
        return;
    }
    std::string name = path;
    int flags = SQLITE_OPEN_READWRITE;
    if (mode != Mode::Read_Write)
    {
        std::string reason;
        const std::optional<std::string> uri = Reader_Uri(path, reason);
        if (!uri)
        {
            Store_Check = Make_Check(History_Store_State::Unopenable, path, reason);
            return;
        }
        name = *uri;
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    }
    const int result = Open_Database(name, &Database, flags);
    if (result != SQLITE_OK)
    {
        Store_Check = Make_Check(State_Of_Result(result), path, Sqlite_Text(Database, result));
        sqlite3_close(Database);
        Database = nullptr;
        return;
    }
    Settle_Store_Connection(Database);
    Store_Check = Check_Open_Database(Database, path, mode == Mode::Check);
    // A file that a read-only check finds readable is still read-only for the export.
    if (Store_Check.State == History_Store_State::Ready && mode != Mode::Read_Write)
    {
        if (const std::optional<History_Store_Check> writable = File_Check(path, true)) Store_Check = *writable;
    }
    if (Store_Check.State == History_Store_State::Ready && mode == Mode::Read_Write) Use_Write_Ahead_Log(Database);
}

History_Store::~History_Store()
{
    sqlite3_close(Database);
    if (Holds_Turn) Give_Turn();
}

bool History_Store::Read_All_Days(std::vector<History_Day>& days)
{
    return Read_Days_Between({1, 1, 1}, {9999, 12, 31}, days);
}

bool History_Store::Read_Days_Between(const Calendar_Date& from, const Calendar_Date& to,
                                      std::vector<History_Day>& days)
{
    days.clear();
    if (!Database || !Store_Check.Usable_For_Reading()) return false;
    const auto fail = [&](int result) {
        Store_Check = Make_Check(State_Of_Result(result), Path, Sqlite_Text(Database, result));
        days.clear();
        sqlite3_exec(Database, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    };
    // One read transaction: the days and their work types come from the same state.
    if (sqlite3_exec(Database, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return fail(sqlite3_errcode(Database));
    // The dates are the key, in an order that their text keeps: a period is a range of it.
    const std::string first = Iso_Date_Text(from);
    const std::string last = Iso_Date_Text(to);
    Statement day_rows(Database, "SELECT date, worked_minutes FROM days WHERE date BETWEEN ?1 AND ?2 ORDER BY date");
    if (!day_rows.Prepared()) return fail(day_rows.Result);
    sqlite3_bind_text(*day_rows, 1, first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(*day_rows, 2, last.c_str(), -1, SQLITE_TRANSIENT);
    std::map<std::string, std::size_t> index_of_date;
    int result = SQLITE_OK;
    while ((result = sqlite3_step(*day_rows)) == SQLITE_ROW)
    {
        const unsigned char* text = sqlite3_column_text(*day_rows, 0);
        const std::optional<Calendar_Date> date = Parse_Iso_Date(text ? reinterpret_cast<const char*>(text) : "");
        if (!date) return fail(SQLITE_CORRUPT);
        const long long worked = sqlite3_column_int64(*day_rows, 1);
        if (!Plausible_Minutes(worked)) return fail(SQLITE_CORRUPT);
        index_of_date[Iso_Date_Text(*date)] = days.size();
        days.push_back({*date, worked, {}});
    }
    if (result != SQLITE_DONE) return fail(result);
    Statement type_rows(Database,
                        "SELECT date, work_type, minutes FROM day_work_types WHERE date BETWEEN ?1 AND ?2"
                        " ORDER BY date, position");
    if (!type_rows.Prepared()) return fail(type_rows.Result);
    sqlite3_bind_text(*type_rows, 1, first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(*type_rows, 2, last.c_str(), -1, SQLITE_TRANSIENT);
    while ((result = sqlite3_step(*type_rows)) == SQLITE_ROW)
    {
        const unsigned char* text = sqlite3_column_text(*type_rows, 0);
        const auto found = index_of_date.find(text ? reinterpret_cast<const char*>(text) : "");
        if (found == index_of_date.end()) return fail(SQLITE_CORRUPT);
        const void* blob = sqlite3_column_blob(*type_rows, 1);
        const int size = sqlite3_column_bytes(*type_rows, 1);
        const long long minutes = sqlite3_column_int64(*type_rows, 2);
        if (!Plausible_Minutes(minutes)) return fail(SQLITE_CORRUPT);
        days[found->second].By_Work_Type.push_back(
            {std::string(static_cast<const char*>(blob), blob ? static_cast<std::size_t>(size) : 0), minutes});
    }
    if (result != SQLITE_DONE) return fail(result);
    sqlite3_exec(Database, "COMMIT", nullptr, nullptr, nullptr);
    return true;
}

bool History_Store::Replace_Day(const History_Day& day, std::string& failure, const std::string& line_pattern)
{
    return Replace_Day_And_Queue(day, nullptr, failure, line_pattern);
}

bool History_Store::Replace_Day(const History_Day& day, const Outbox_Day& queued, std::string& failure,
                                const std::string& line_pattern)
{
    return Replace_Day_And_Queue(day, &queued, failure, line_pattern);
}

bool History_Store::Replace_Day_And_Queue(const History_Day& day, const Outbox_Day* queued, std::string& failure,
                                          const std::string& line_pattern)
{
    if (!Database || Open_Mode != Mode::Read_Write || Store_Check.State != History_Store_State::Ready)
    {
        failure =
            Store_Check.Detail.empty() ? "history database " + Path + " is not open for writing" : Store_Check.Detail;
        return false;
    }
    std::string reason;
    if (!Execute(Database, "BEGIN IMMEDIATE", reason))
    {
        Store_Check = Make_Check(State_Of_Result(sqlite3_errcode(Database)), Path, reason);
        failure = Store_Check.Detail;
        return false;
    }
    const bool with_pattern = line_pattern.empty() || Execute(Database, Later_Schema_Sql, reason);
    if (!with_pattern || !Day_Writer(Database).Put(day, line_pattern, reason) ||
        (queued && !Queue_Day(Database, *queued, reason)) || !Execute(Database, "COMMIT", reason))
    {
        // A file cut short may show only here: with the log, its length is not checked at opening.
        Store_Check = Make_Check(State_Of_Result(sqlite3_errcode(Database)), Path, reason);
        sqlite3_exec(Database, "ROLLBACK", nullptr, nullptr, nullptr);
        failure = "not possible to write into history database " + Path + ": " + reason;
        return false;
    }
    return true;
}

std::optional<Target_Log_Mark> History_Store::Read_Target_Log_Mark()
{
    if (!Database || !Store_Check.Usable_For_Reading()) return std::nullopt;
    Statement mark_row(Database, "SELECT size, modified, lines, head, ending FROM target_log WHERE id = 1");
    if (!mark_row.Prepared() || sqlite3_step(*mark_row) != SQLITE_ROW) return std::nullopt;
    Target_Log_Mark mark;
    mark.Size = static_cast<std::uint64_t>(sqlite3_column_int64(*mark_row, 0));
    mark.Modified_Nanoseconds = sqlite3_column_int64(*mark_row, 1);
    mark.Lines = static_cast<std::uint64_t>(sqlite3_column_int64(*mark_row, 2));
    const unsigned char* head = sqlite3_column_text(*mark_row, 3);
    const unsigned char* ending = sqlite3_column_text(*mark_row, 4);
    mark.Head_Fingerprint = head ? reinterpret_cast<const char*>(head) : "";
    mark.Ending_Fingerprint = ending ? reinterpret_cast<const char*>(ending) : "";
    return mark;
}

std::vector<std::string> History_Store::Read_Seen_Patterns()
{
    std::vector<std::string> patterns;
    if (!Database || !Store_Check.Usable_For_Reading()) return patterns;
    Statement rows(Database, "SELECT DISTINCT pattern FROM day_patterns");
    if (!rows.Prepared()) return patterns;
    while (sqlite3_step(*rows) == SQLITE_ROW)
    {
        const void* blob = sqlite3_column_blob(*rows, 0);
        const int size = sqlite3_column_bytes(*rows, 0);
        if (blob) patterns.emplace_back(static_cast<const char*>(blob), static_cast<std::size_t>(size));
    }
    return patterns;
}

bool History_Store::Add_Read_Days(const std::vector<History_Day>& days, const Target_Log_Mark& mark,
                                  std::string& failure)
{
    if (!Database || Open_Mode != Mode::Read_Write || Store_Check.State != History_Store_State::Ready)
    {
        failure =
            Store_Check.Detail.empty() ? "history database " + Path + " is not open for writing" : Store_Check.Detail;
        return false;
    }
    std::string reason;
    bool written = Execute(Database, "BEGIN IMMEDIATE", reason) && Execute(Database, Later_Schema_Sql, reason);
    Day_Writer writer(Database);
    for (std::size_t index = 0; written && index < days.size(); ++index) written = writer.Put(days[index], {}, reason);
    written = written && Put_Target_Log_Mark(Database, mark, reason) && Execute(Database, "COMMIT", reason);
    if (written) return true;
    sqlite3_exec(Database, "ROLLBACK", nullptr, nullptr, nullptr);
    failure = "not possible to write into history database " + Path + ": " + reason;
    return false;
}

bool History_Store::Checkpoint(std::string& failure)
{
    if (!Database || Open_Mode != Mode::Read_Write || Store_Check.State != History_Store_State::Ready)
    {
        failure =
            Store_Check.Detail.empty() ? "history database " + Path + " is not open for writing" : Store_Check.Detail;
        return false;
    }
    // Waits (the busy timeout) for readers of the log to finish, then empties it.
    const int result = sqlite3_wal_checkpoint_v2(Database, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    std::string reason = result == SQLITE_OK ? std::string() : Sqlite_Text(Database, result);
    if (result == SQLITE_OK && Start_Log_Afresh(Database, reason)) return true;
    failure = "not possible to checkpoint history database " + Path + ": " + reason;
    return false;
}

bool History_Store::Remove_Files(const std::string& path)
{
    const bool removed = ::unlink(path.c_str()) == 0 || errno == ENOENT;
    for (const char* suffix : Companion_Suffixes) ::unlink((path + suffix).c_str());
    return removed;
}

bool History_Store::Write_New(const std::string& path, const std::vector<History_Day>& days, std::string& failure)
{
    return Write_New(path, days, failure, std::nullopt, {}, {});
}

bool History_Store::Write_New(const std::string& path, const std::vector<History_Day>& days, std::string& failure,
                              const std::optional<Target_Log_Mark>& mark, const std::vector<std::string>& line_patterns,
                              const std::vector<std::uint16_t>& day_pattern_indexes)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
    {
        failure = Make_Check(History_Store_State::Directory, path).Detail + "; remove or rename it first";
        return false;
    }
    const Turn turn;
    if (!turn.Taken)
    {
        failure = In_Use_Here(path).Detail + "; try again when it is free";
        return false;
    }
    // A database that another process is writing is not pulled away under it.
    sqlite3* old_database = nullptr;
    if (::stat(path.c_str(), &status) == 0 && Open_Database(path, &old_database, SQLITE_OPEN_READWRITE) == SQLITE_OK)
    {
        Settle_Store_Connection(old_database);
        // Its log is removed before the new file takes its name; carried into the old file
        // first, a start killed in between leaves the old file whole instead of days short.
        sqlite3_exec(old_database, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        if (sqlite3_exec(old_database, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_BUSY)
        {
            sqlite3_close(old_database);
            failure = Make_Check(History_Store_State::Locked, path).Detail + "; try again when it is free";
            return false;
        }
    }
    const auto release_old = [&] {
        if (old_database) sqlite3_close(old_database);  // rolls back, after the file was replaced
        old_database = nullptr;
    };

    Remove_Leftover_Temporary_Files(path);
    std::string temporary = path + ".new-XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
    {
        failure = "not possible to create " + temporary + ": " + std::strerror(errno);
        release_old();
        return false;
    }
    ::close(descriptor);
    sqlite3* database = nullptr;
    std::string reason;
    bool written = Open_Database(temporary, &database, SQLITE_OPEN_READWRITE) == SQLITE_OK;
    if (!written) reason = Sqlite_Text(database, sqlite3_errcode(database));
    const std::string pragmas = "PRAGMA application_id = " + std::to_string(Application_Id) +
                                "; PRAGMA user_version = " + std::to_string(Schema_Version) +
                                "; PRAGMA synchronous = FULL; PRAGMA journal_mode = OFF";
    // The days go in without a journal: a file that fails half-way is removed, never rolled
    // back. The file then switches to the log, whose empty files its close removes again.
    written = written && Execute(database, pragmas.c_str(), reason) && Execute(database, "BEGIN", reason) &&
              Execute(database, Schema_Sql, reason) && Execute(database, Later_Schema_Sql, reason);
    {
        // Its statements are finalized at the block's end: a connection closed with one
        // still open would stay open, its memory and its files with it.
        Day_Writer writer(database);
        static const std::string No_Pattern;
        const std::string* last_pattern = nullptr;
        for (std::size_t index = 0; written && index < days.size(); ++index)
        {
            const std::string* pattern = &No_Pattern;
            if (index < day_pattern_indexes.size() && day_pattern_indexes[index] < line_patterns.size())
                pattern = &line_patterns[day_pattern_indexes[index]];
            written = writer.Put(days[index], pattern == last_pattern ? No_Pattern : *pattern, reason, false);
            last_pattern = pattern;
        }
    }
    if (written && mark) written = Put_Target_Log_Mark(database, *mark, reason);
    // Days still waiting for the history server go into the new file with their numbers.
    std::vector<Outbox_Day> waiting;
    if (old_database && Read_Outbox_Days(old_database, waiting, std::numeric_limits<int>::max(), reason))
        for (std::size_t index = 0; written && index < waiting.size(); ++index)
            written = Queue_Day(database, waiting[index], reason);
    written = written && Execute(database, "COMMIT", reason) && Execute(database, "PRAGMA journal_mode = WAL", reason);
    sqlite3_close(database);
    // The old file's journal, log and index must never be applied to the new file.
    for (const char* suffix : Companion_Suffixes)
    {
        if (written && ::unlink((path + suffix).c_str()) != 0 && errno != ENOENT)
        {
            written = false;
            reason = "not possible to remove " + path + suffix + ": " + std::strerror(errno);
        }
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0)
    {
        written = false;
        reason = std::string("not possible to rename ") + temporary + ": " + std::strerror(errno);
    }
    release_old();
    if (!written)
    {
        Remove_Files(temporary);
        failure = "not possible to write history database " + path + ": " + reason;
        return false;
    }
    Sync_Directory_Of(path);
    // The log begins now, so the first export does not pay for creating it.
    sqlite3* primed = nullptr;
    if (Open_Database(path, &primed, SQLITE_OPEN_READWRITE) == SQLITE_OK)
    {
        Settle_Store_Connection(primed);
        Use_Write_Ahead_Log(primed);
        Start_Log_Afresh(primed, reason);
    }
    sqlite3_close(primed);
    return true;
}

bool History_Store::Read_Outbox(std::vector<Outbox_Day>& days, std::size_t limit, std::string& failure)
{
    days.clear();
    if (!Database || Store_Check.State != History_Store_State::Ready)
    {
        failure = Store_Check.Detail.empty() ? "history database " + Path + " is not open" : Store_Check.Detail;
        return false;
    }
    return Read_Outbox_Days(Database, days, limit, failure);
}

bool History_Store::Queue_For_Server(const Outbox_Day& queued, std::string& failure)
{
    if (!Database || Open_Mode != Mode::Read_Write || Store_Check.State != History_Store_State::Ready)
    {
        failure =
            Store_Check.Detail.empty() ? "history database " + Path + " is not open for writing" : Store_Check.Detail;
        return false;
    }
    if (Execute(Database, "BEGIN IMMEDIATE", failure) && Queue_Day(Database, queued, failure) &&
        Execute(Database, "COMMIT", failure))
        return true;
    sqlite3_exec(Database, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

bool History_Store::Remove_From_Outbox(long long id, std::string& failure)
{
    if (!Database || Open_Mode != Mode::Read_Write || Store_Check.State != History_Store_State::Ready)
    {
        failure =
            Store_Check.Detail.empty() ? "history database " + Path + " is not open for writing" : Store_Check.Detail;
        return false;
    }
    const std::string sql = "BEGIN IMMEDIATE; DELETE FROM server_outbox_records WHERE id = " + std::to_string(id) +
                            "; DELETE FROM server_outbox WHERE id = " + std::to_string(id) + "; COMMIT";
    if (Execute(Database, sql.c_str(), failure)) return true;
    sqlite3_exec(Database, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

History_Store_Check Check_History_Store(const std::string& path)
{
    History_Store store(path, History_Store::Mode::Check);
    return store.Check();
}
