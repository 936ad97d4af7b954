#pragma once
// Work_History.sqlite: an index of the target log, one row per day and one per day and
// work type. It is never the only copy of anything; whatever is wrong with it, the caller
// goes on and the history can be read again from the target log.
// It keeps a write-ahead log (Work_History.sqlite-wal, with its index -shm) so that the
// day's transaction costs one sync; readers only read all three files.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/History_Day.h"
#include "history/History_Outbox.h"
#include "history/Target_Log_Mark.h"

inline constexpr const char* History_Store_File_Name = "Work_History.sqlite";

enum class History_Store_State
{
    Ready,
    Missing,     // no file yet: the target log has not been read in
    Damaged,     // not a database, truncated, or not this program's
    Read_Only,   // the file's mode has no write bit (only writing is refused)
    Locked,      // another process holds it
    Directory,   // a directory stands where the file belongs
    Unopenable,  // any other failure of the system (permissions, I/O)
};

struct History_Store_Check
{
    History_Store_State State = History_Store_State::Missing;
    std::string Detail;  // English, names the file; empty when Ready
    bool Usable_For_Reading() const
    {
        return State == History_Store_State::Ready || State == History_Store_State::Read_Only;
    }
};

struct sqlite3;

class History_Store
{
public:
    enum class Mode
    {
        Read,        // never writes, never creates, changes no file (not even the log's index)
        Read_Write,  // an existing file only; never creates
        Check,       // as Read, and every page is checked now, not only those read later
    };

    // Opens and checks the file; Check() says what is wrong when it cannot be used. One
    // store at a time is open in this process: another one waits a moment, then is Locked.
    History_Store(const std::string& path, Mode mode);
    ~History_Store();
    History_Store(const History_Store&) = delete;
    History_Store& operator=(const History_Store&) = delete;

    const History_Store_Check& Check() const { return Store_Check; }

    // Every stored day, oldest first; false (with Check() updated) when reading failed.
    bool Read_All_Days(std::vector<History_Day>& days);
    // The stored days from one date to another, both included, found by the date index.
    bool Read_Days_Between(const Calendar_Date& from, const Calendar_Date& to, std::vector<History_Day>& days);

    // Replaces the day of that date, or adds it, in one synced transaction; false with
    // the reason when it could not be written. The line pattern the day was written to the
    // target log with is kept with it (not when empty).
    bool Replace_Day(const History_Day& day, std::string& failure, const std::string& line_pattern = {});

    // The target log as it was when it was last read in; none when never recorded (a file
    // of an older version) or not readable.
    std::optional<Target_Log_Mark> Read_Target_Log_Mark();
    // Days read from the target log's new part, and the log's new mark, in one transaction.
    bool Add_Read_Days(const std::vector<History_Day>& days, const Target_Log_Mark& mark, std::string& failure);
    // Every line pattern a stored day was written with.
    std::vector<std::string> Read_Seen_Patterns();
    // The same, and the day queued in the outbox for the history server in that transaction.
    bool Replace_Day(const History_Day& day, const Outbox_Day& queued, std::string& failure,
                     const std::string& line_pattern = {});

    // The oldest queued days, at most limit; none when nothing was ever queued.
    bool Read_Outbox(std::vector<Outbox_Day>& days, std::size_t limit, std::string& failure);
    // Queues a day that is stored already (read in from the target log) in a transaction of its own.
    bool Queue_For_Server(const Outbox_Day& queued, std::string& failure);
    // Takes a sent day out of the outbox; a day already gone is no failure.
    bool Remove_From_Outbox(long long id, std::string& failure);

    // Moves what the write-ahead log holds into the database file and begins the log
    // afresh, with its header synced, so that the next transaction costs one sync again.
    // Costs several syncs: for a moment nobody waits on. False with the reason (nothing is
    // lost then; the log stays as it was).
    bool Checkpoint(std::string& failure);

    // Writes a new database at path from the days (replacing whatever stands there, unless
    // it is a directory or locked by another process), through a synced temporary file
    // renamed into place (the old file's log and index removed first, so they can never be
    // applied to the new one); false with the reason otherwise.
    static bool Write_New(const std::string& path, const std::vector<History_Day>& days, std::string& failure);
    // The same, with the target log's mark and each day's line pattern: its index in
    // line_patterns, parallel to days. A pattern is kept with the first day of each run of
    // days written with it: which patterns the log has seen is what a rebuild needs.
    static bool Write_New(const std::string& path, const std::vector<History_Day>& days, std::string& failure,
                          const std::optional<Target_Log_Mark>& mark, const std::vector<std::string>& line_patterns,
                          const std::vector<std::uint16_t>& day_pattern_indexes);

    // Removes the database at path with the journal, log and index beside it, which must
    // never be applied to another file of that name; true when the database is gone.
    static bool Remove_Files(const std::string& path);

private:
    bool Replace_Day_And_Queue(const History_Day& day, const Outbox_Day* queued, std::string& failure,
                               const std::string& line_pattern);

    std::string Path;
    Mode Open_Mode;
    sqlite3* Database = nullptr;
    History_Store_Check Store_Check;
    bool Holds_Turn = false;
};

// The check alone, every page included, without keeping the file open.
History_Store_Check Check_History_Store(const std::string& path);
