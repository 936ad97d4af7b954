#include "worklog/Target_Log_Export.h"

#include <cerrno>

#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "platform/Short_String.h"
#include "worklog/Export_Journal.h"
#include "worklog/Failure_Reason.h"
#include "worklog/File_Failure.h"

namespace
{

const std::string Line_End = "\r\n";

std::string Directory_Part(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

void Add_Append_Failure(Error_List& errors, const std::string& file_name, int error_number)
{
    const std::string name = File_Name_To_Cp1250(file_name);
    const File_Failure failure = Classify_File_Failure(error_number);
    const File_Error& error = failure.Error;
    const std::string prefix = " - SAVE_TARGET_WORK_LOG - APPEND - ";
    if (failure.Named_Code == ERROR_ACCESS_DENIED)
        errors.Add(prefix + "ERROR_ACCESS_DENIED - access to " + name + " denied, file is read only");
    else if (failure.Named_Code == ERROR_SHARING_VIOLATION)
        errors.Add(prefix + "ERROR_SHARING_VIOLATION - file " + name + " is used by another thread");
    else
        errors.Add(prefix + "UNEXPECTED_ERROR - not possible to create file " + name + ". " +
                   std::to_string(error.Code) + " - " + error.Text);
}

void Add_Rewrite_Failure(Error_List& errors, const std::string& file_name, int error_number)
{
    const std::string name = File_Name_To_Cp1250(file_name);
    // Creating a file in a directory that does not exist is "path not found".
    const File_Failure failure = Classify_File_Failure(error_number == ENOENT ? ENOTDIR : error_number);
    const File_Error& error = failure.Error;
    const std::string prefix = " - SAVE_TARGET_WORK_LOG - REWRITE - ";
    switch (failure.Named_Code)
    {
    case ERROR_PATH_NOT_FOUND:
        errors.Add(prefix + "ERROR_PATH_NOT_FOUND - path " + Directory_Part(name) + " not found");
        break;
    case ERROR_ACCESS_DENIED:
        errors.Add(prefix + "ERROR_ACCESS_DENIED - access to " + name + " denied, file is read only");
        break;
    case ERROR_NOT_READY: errors.Add(prefix + "ERROR_NOT_READY - file " + name + ", drive not ready"); break;
    case ERROR_UNRECOGNIZED_VOLUME:
        errors.Add(prefix + "ERROR_UNRECOGNIZED_VOLUME - file " + name + ", unknown file system");
        break;
    default:
        errors.Add(prefix + "UNEXPECTED_ERROR - not possible to create file " + name + ". " +
                   std::to_string(error.Code) + " - " + error.Text);
    }
}

void Add_Writeln_Failure(Error_List& errors, const std::string& file_name, int error_number)
{
    const std::string name = File_Name_To_Cp1250(file_name);
    const File_Error error = File_Error_From_Errno(error_number);
    // A single blank between the code and the text here, as this line always had.
    errors.Add(" - SAVE_TARGET_WORK_LOG - WRITELN - UNEXPECTED_ERROR - not possible to write record into file " + name +
               ". " + std::to_string(error.Code) + " " + error.Text);
}

void Add_Journal_Failure(Work_Log_Context& context, int error_number)
{
    const File_Error error = File_Error_From_Errno(error_number);
    context.Errors.Add(" - SAVE_TARGET_WORK_LOG - JOURNAL - UNEXPECTED_ERROR - not possible to write file " +
                       File_Name_To_Cp1250(context.Day_Log_Path() + Export_Journal_Suffix) + ". " +
                       std::to_string(error.Code) + " - " + error.Text);
}

}  // namespace

std::optional<std::string> Target_Log_Line(const std::string& format_text, const Work_Record& record)
{
    return Format(format_text, std::vector<std::string>(record.Fields.begin(), record.Fields.end()));
}

namespace
{

enum class Block_State
{
    Absent,
    Whole,
    Torn
};

// What an earlier attempt at exporting the same day left in the target log, as the
// journal tells: nothing, the whole block, or a beginning of it that a crash cut off.
Block_State State_Of_Earlier_Attempt(Work_Log_Context& context, Writable_File& file, std::uint64_t length,
                                     const std::string& name, std::uint64_t identity, const std::string& block,
                                     std::uint64_t& length_before)
{
    const std::optional<Export_Journal_Entry> entry = Read_Export_Journal(context);
    if (!entry || entry->Target_File_Name != name || entry->Day_Identity != identity) return Block_State::Absent;
    if (entry->Length_Before > length || length - entry->Length_Before > block.size()) return Block_State::Absent;
    std::string tail;
    int read_error = 0;
    const auto tail_size = static_cast<std::size_t>(length - entry->Length_Before);
    if (!file.Read_At(entry->Length_Before, tail_size, tail, read_error))
    {
        // A target log that may only be appended to: the journal's length tells alone.
        if (read_error != EBADF || tail_size == 0) return Block_State::Absent;
        length_before = entry->Length_Before;
        return tail_size == block.size() ? Block_State::Whole : Block_State::Torn;
    }
    if (tail.size() != tail_size) return Block_State::Absent;
    // Only bytes this export wrote are ever taken back: a tail that is not the block's
    // beginning is someone else's.
    if (block.compare(0, tail.size(), tail) != 0) return Block_State::Absent;
    length_before = entry->Length_Before;
    return tail.size() == block.size() ? Block_State::Whole : Block_State::Torn;
}

}  // namespace

bool Save_Target_Work_Log(Work_Log_Context& context, const std::vector<Work_Record>& stored_records,
                          const std::string& format_text, const std::string& target_file_name,
                          std::string* failure_reason)
{
    const auto failed = [&](int error_number) {
        if (failure_reason) *failure_reason = File_Failure_Reason(context.Texts, error_number);
        return false;
    };
    // Whether a pattern fits does not depend on the texts, so one trial tells before the
    // file is touched.
    if (!Target_Log_Line(format_text, Work_Record{}))
    {
        context.Errors.Add(" - SAVE_TARGET_WORK_LOG - FORMAT - INVALID_FORMAT - line pattern " + format_text +
                           " is not valid, only %0:s to %5:s may be used");
        if (failure_reason)
            *failure_reason =
                Cut_To_Short_String(Format(context.Texts.Invalid_Pattern_Reason, {format_text}).value_or(format_text));
        return false;
    }

    const std::string& name = target_file_name;
    int error_number = 0;
    if (name.empty())
    {
        // The protocol says "path not found" as it always did; the user hears why.
        Add_Rewrite_Failure(context.Errors, name, ENOENT);
        if (failure_reason) *failure_reason = context.Texts.No_Target_Log_Reason;
        return false;
    }
    std::unique_ptr<Writable_File> file;
    const bool existed = context.Files.Kind_Of(name) != File_Kind::Missing;
    if (existed)
    {
        if (context.Files.Is_Read_Only(name))
        {
            Add_Append_Failure(context.Errors, name, EACCES);
            return failed(EACCES);
        }
        file = context.Files.Open_For_Append(name, error_number);
        if (!file)
        {
            Add_Append_Failure(context.Errors, name, error_number);
            return failed(error_number);
        }
    }
    else
    {
        file = context.Files.Create(name, error_number);
        if (!file)
        {
            Add_Rewrite_Failure(context.Errors, name, error_number);
            return failed(error_number);
        }
    }

    const std::vector<std::string> lines = [&] {
        std::vector<std::string> result{context.Program_Settings.Target_Log_File_Separator + Line_End};
        for (const Work_Record& record : stored_records)
            result.push_back(Target_Log_Line(format_text, record).value_or(std::string()) + Line_End);
        return result;
    }();
    std::string block;
    for (const std::string& line : lines) block += line;
    const std::uint64_t identity = Stored_Day_Identity(stored_records);

    // The length the target log goes back to when this export fails part-way.
    std::uint64_t length = 0;
    if (!file->Size(length, error_number))
    {
        Add_Writeln_Failure(context.Errors, name, error_number);
        return failed(error_number);
    }
    std::uint64_t length_before = length;
    bool written = true;
    switch (State_Of_Earlier_Attempt(context, *file, length, name, identity, block, length_before))
    {
    case Block_State::Whole:
        // Added before a crash that came before the new day was stored: never twice.
        file->Close(error_number);
        return true;
    case Block_State::Torn:
        written = file->Truncate(length_before, error_number) && file->Sync(error_number);
        length = length_before;
        break;
    case Block_State::Absent: break;
    }
    const Export_Journal_Entry entry{name, length, identity};
    // Without its note a crash during the append would make the next start add the day
    // again: an export that cannot leave its note does not begin.
    if (written && !Write_Export_Journal(context, entry, error_number) && Read_Export_Journal(context) != entry)
    {
        int ignored = 0;
        file->Close(ignored);
        file.reset();
        if (!existed) context.Files.Remove(name, ignored);
        Add_Journal_Failure(context, error_number);
        return failed(error_number);
    }
    // Each line is handed to the system as soon as it is built.
    for (std::size_t index = 0; written && index < lines.size(); ++index)
        written = file->Write(lines[index], error_number);
    if (written) written = file->Sync(error_number);
    if (written) written = file->Close(error_number);
    if (!written)
    {
        // A part of a block is a corrupt record: the target log goes back to what it was.
        int ignored = 0;
        if (!existed)
        {
            file.reset();
            context.Files.Remove(name, ignored);
        }
        else if (file->Truncate(length, ignored))
        {
            file->Sync(ignored);
        }
        Add_Writeln_Failure(context.Errors, name, error_number);
        return failed(error_number);
    }
    return true;
}

bool Target_Log_Pattern_Fits(const std::string& format_text)
{
    Work_Record sample;
    sample.Fields = {"Monday", "07.12.2026", "08:00 - 16:30", "Coding", "08:30", "remark"};
    return Target_Log_Line(format_text, sample).has_value();
}
