#include "history/History_Export.h"

#include <sys/stat.h>

#include "history/Calendar.h"
#include "history/History_Access.h"
#include "history/History_Server_Settings.h"
#include "history/History_Store.h"
#include "platform/Code_Page.h"

namespace
{
// Two to three weeks of exports (a day's transaction writes two or three 4 KB pages). The log
// is read through whenever the database is opened, so it is kept short.
constexpr off_t Checkpoint_Log_Bytes = 128 * 1024;

const char* Protocol_Code(History_Store_State state)
{
    switch (state)
    {
    case History_Store_State::Damaged: return "DATABASE_DAMAGED";
    case History_Store_State::Read_Only: return "ERROR_ACCESS_DENIED";
    case History_Store_State::Locked: return "ERROR_SHARING_VIOLATION";
    case History_Store_State::Directory: return "ERROR_DIRECTORY";
    default: return "UNEXPECTED_ERROR";
    }
}

// The database is an index of the target log. One that missed an exported day would still
// open as whole and count that day short in every later report, so it is removed, and the
// next report reads the target log in again. Only such a one must go: a damaged,
// read-only or misplaced one is never taken for whole, and the report says what is wrong.
// Nor is a file removed that is not this program's to remove: one that another process
// holds (it may be writing it) or one that is not a regular file. Such a database keeps the
// mark of the target log it last read, and the next report sees the log grown past it.
bool Would_Look_Whole(History_Store_State state)
{
    return state != History_Store_State::Damaged && state != History_Store_State::Read_Only &&
           state != History_Store_State::Directory && state != History_Store_State::Locked &&
           state != History_Store_State::Unopenable;
}

bool Is_Regular_File(const std::string& path)
{
    struct stat status
    {
    };
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}
// A date the database holds already: the same day exported again, or another computer's
// block of that date in a shared target log. The day is left as it is; the next report sees
// the target log grown past what the database read and adds the blocks up from there.
bool Stored_Already(History_Store& store, const Calendar_Date& date)
{
    std::vector<History_Day> stored;
    return store.Read_Days_Between(date, date, stored) && !stored.empty();
}

}  // namespace

void Record_Exported_Day_In_History(Work_Log_Context& context, const std::vector<Work_Record>& stored_records)
{
    const std::string path = context.Paths.File(History_Store_File_Name);
    // With a history server, the day must reach the outbox, so a history not yet read in is
    // read in now (the target log holds this day already).
    const bool to_server = Read_History_Server_Settings(context.Paths.File("Setup.ini")).Configured();
    const History_Settings history_settings =
        History_Settings_From(context.Paths, context.Program_Settings, context.Patterns);
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0 && !(to_server && Rebuild_History_Store(history_settings).Written)) return;

    const std::string prefix = " - SAVE_WORK_HISTORY - ";
    const std::string not_kept = "; the day is in the target log, the report offers to read it again";
    const std::string left_alone =
        "; the day is in the target log, and the database was left in place because it is not this program's to "
        "remove (held by another process, or not a regular file); the next report reads the day from the target log";
    const std::string forgotten =
        "; the day is in the target log, and the database was removed for the next report "
        "to read it in again";
    const std::optional<Date_Time> date =
        stored_records.empty() ? std::nullopt : Parse_Date(stored_records[0][Date_Field], context.Patterns.Short_Date);
    const Counted_Day counted = date ? Count_Day_Records(Calendar_Date_Of(*date), stored_records) : Counted_Day{};
    if (!counted.Day)
    {
        const bool forget = Is_Regular_File(path) && History_Store::Remove_Files(path);
        context.Errors.Add(prefix + "COUNT - INVALID_RECORD - the exported day cannot be counted" +
                           (forget ? forgotten : not_kept));
        return;
    }
    std::string step = "OPEN";
    History_Store_State state = History_Store_State::Ready;
    std::string failure;
    {
        History_Store store(path, History_Store::Mode::Read_Write);
        state = store.Check().State;
        if (state != History_Store_State::Ready) failure = store.Check().Detail;
        else if (Stored_Already(store, counted.Day->Date))
        {
            // Read in with the target log already: only the server has yet to get it.
            if (to_server &&
                store.Queue_For_Server(
                    Outbox_Day_Of_Records(*counted.Day, stored_records, history_settings.Full_Time_Minutes), failure))
                Notify_Outbox_Listener();
            return;
        }
        else if (to_server ? store.Replace_Day(*counted.Day,
                                               Outbox_Day_Of_Records(*counted.Day, stored_records,
                                                                     history_settings.Full_Time_Minutes),
                                               failure, context.Program_Settings.Target_Log_File_Format)
                           : store.Replace_Day(*counted.Day, failure, context.Program_Settings.Target_Log_File_Format))
        {
            if (to_server) Notify_Outbox_Listener();
            return;
        }
        else
        {
            step = "WRITE";
            state = store.Check().State;
        }
    }
    // Removed once the store is closed, so that its close cannot touch a new file's log.
    const bool own = Is_Regular_File(path) && state != History_Store_State::Locked;
    const bool forget = own && Would_Look_Whole(state) && History_Store::Remove_Files(path);
    context.Errors.Add(prefix + step + " - " + Protocol_Code(state) + " - " + File_Name_To_Cp1250(failure) +
                       (forget ? forgotten
                        : own  ? not_kept
                               : left_alone));
}

void Checkpoint_History_When_Due(const Program_Paths& paths)
{
    const std::string path = paths.File(History_Store_File_Name);
    struct stat status
    {
    };
    if (::stat((path + "-wal").c_str(), &status) != 0 || status.st_size <= Checkpoint_Log_Bytes) return;
    History_Store store(path, History_Store::Mode::Read_Write);
    std::string failure;
    if (store.Check().State == History_Store_State::Ready) store.Checkpoint(failure);
}
