#include "history/History_Export.h"

#include <sys/stat.h>

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
}  // namespace

void Record_Exported_Day_In_History(Work_Log_Context& context, const std::vector<Work_Record>& stored_records)
{
    const std::string path = context.Paths.File(History_Store_File_Name);
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) return;

    const std::string prefix = " - SAVE_WORK_HISTORY - ";
    const std::string not_kept = "; the day is in the target log, the report offers to read it again";
    const std::optional<Date_Time> date =
        stored_records.empty() ? std::nullopt : Parse_Date(stored_records[0][Date_Field], context.Patterns.Short_Date);
    const Counted_Day counted =
        date ? Count_Day_Records({date->Year, date->Month, date->Day}, stored_records) : Counted_Day{};
    if (!counted.Day)
    {
        context.Errors.Add(prefix + "COUNT - INVALID_RECORD - the exported day cannot be counted" + not_kept);
        return;
    }
    History_Store store(path, History_Store::Mode::Read_Write);
    if (store.Check().State != History_Store_State::Ready)
    {
        context.Errors.Add(prefix + "OPEN - " + Protocol_Code(store.Check().State) + " - " +
                           File_Name_To_Cp1250(store.Check().Detail) + not_kept);
        return;
    }
    std::string failure;
    if (!store.Replace_Day(*counted.Day, failure))
        context.Errors.Add(prefix + "WRITE - " + Protocol_Code(store.Check().State) + " - " +
                           File_Name_To_Cp1250(failure) + not_kept);
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
