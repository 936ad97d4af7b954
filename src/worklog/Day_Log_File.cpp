#include "worklog/Day_Log_File.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/Code_Page.h"
#include "worklog/File_Failure.h"

namespace
{

// The REWRITE and RESET lines share their codes; only the prefix differs.
void Add_Open_Failure(Error_List* errors, const std::string& prefix, const std::string& file_name, int error_number)
{
    if (errors == nullptr) return;
    const std::string path = File_Name_To_Cp1250(file_name);
    const File_Failure failure = Classify_File_Failure(error_number);
    const File_Error& error = failure.Error;
    if (failure.Named_Code == ERROR_ACCESS_DENIED)
        errors->Add(prefix + "ERROR_ACCESS_DENIED - access to " + path + " denied, file is read only");
    else if (failure.Named_Code == ERROR_SHARING_VIOLATION)
        errors->Add(prefix + "ERROR_SHARING_VIOLATION - file " + path + " is used by another thread");
    else
        errors->Add(prefix + "UNEXPECTED_ERROR - not possible to create file " + path + ". " +
                    std::to_string(error.Code) + " - " + error.Text);
}

void Add_Write_Failure(Error_List* errors, const std::string& file_name, int error_number)
{
    if (errors == nullptr) return;
    const std::string path = File_Name_To_Cp1250(file_name);
    const File_Error error = File_Error_From_Errno(error_number);
    errors->Add(" - SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR - not possible to write record into file " + path +
                ". " + std::to_string(error.Code) + " - " + error.Text);
}

std::string Encoded_Records(const std::vector<Work_Record>& records)
{
    std::string bytes;
    bytes.reserve(records.size() * Work_Record_Size);
    for (const Work_Record& record : records) bytes += Encode_Work_Record(record);
    return bytes;
}

// Writes the records to a temporary file beside the day-log file and renames it over the
// old one; lines go to errors unless it is null, the errno of a failure to failure. A
// symbolic link stays: the file it names is the one replaced, and it keeps its mode.
bool Save_Day_Log_File(Work_Log_Context& context, const Day_Log& day_log, Error_List* errors, int& failure)
{
    const std::string path = context.Day_Log_Path();
    const std::string rewrite_prefix = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ";
    if (context.Files.Is_Read_Only(path))
    {
        failure = EACCES;
        Add_Open_Failure(errors, rewrite_prefix, path, failure);
        return false;
    }
    const std::string target = context.Files.Final_Target(path);
    // Only a regular file is ever replaced: never a device or a FIFO a link points to.
    const File_Kind kind = context.Files.Kind_Of(target);
    if (kind == File_Kind::Directory || kind == File_Kind::Other)
    {
        failure = kind == File_Kind::Directory ? EISDIR : EINVAL;
        Add_Open_Failure(errors, rewrite_prefix, path, failure);
        return false;
    }
    const std::string temporary_path = target + ".tmp";
    int ignored = 0;
    context.Files.Remove(temporary_path, ignored);  // a leftover of a killed process
    std::unique_ptr<Writable_File> file = context.Files.Create_Replacement(temporary_path, target, failure);
    if (!file)
    {
        context.Files.Remove(temporary_path, ignored);
        Add_Open_Failure(errors, rewrite_prefix, path, failure);
        return false;
    }
    const std::string bytes = Encoded_Records(day_log.Records());
    const auto give_up = [&] {
        file.reset();
        context.Files.Remove(temporary_path, ignored);
        Add_Write_Failure(errors, path, failure);
        return false;
    };
    for (std::size_t offset = 0; offset < bytes.size(); offset += Work_Record_Size)
        if (!file->Write(std::string_view(bytes).substr(offset, Work_Record_Size), failure)) return give_up();
    if (!file->Sync(failure) || !file->Close(failure)) return give_up();
    file.reset();
    if (!context.Files.Rename(temporary_path, target, failure))
    {
        context.Files.Remove(temporary_path, ignored);
        Add_Open_Failure(errors, rewrite_prefix, path, failure);
        return false;
    }
    return true;
}

}  // namespace

std::string Encode_Work_Record(const Work_Record& record)
{
    std::string bytes(Work_Record_Size, '\0');
    for (std::size_t field = 0; field < Work_Record_Field_Count; ++field)
    {
        const std::string& text = record[field];
        const std::size_t length = std::min(text.size(), Work_Record_Field_Size - 1);
        const std::size_t offset = field * Work_Record_Field_Size;
        bytes[offset] = static_cast<char>(length);
        std::copy_n(text.begin(), length, bytes.begin() + static_cast<std::ptrdiff_t>(offset + 1));
    }
    return bytes;
}

Work_Record Decode_Work_Record(std::string_view bytes)
{
    Work_Record record;
    for (std::size_t field = 0; field < Work_Record_Field_Count; ++field)
    {
        const std::size_t offset = field * Work_Record_Field_Size;
        const std::size_t length = static_cast<unsigned char>(bytes[offset]);
        record[field] = std::string(bytes.substr(offset + 1, length));
    }
    return record;
}

std::vector<Work_Record> Decode_Work_Records(std::string_view bytes, std::size_t max_records)
{
    std::vector<Work_Record> records;
    for (std::size_t offset = 0; offset + Work_Record_Size <= bytes.size() && records.size() < max_records;
         offset += Work_Record_Size)
        records.push_back(Decode_Work_Record(bytes.substr(offset, Work_Record_Size)));
    return records;
}

bool Open_Actual_Work_Log(Work_Log_Context& context, Stored_Day_Log& stored, std::uint64_t max_records)
{
    stored = {};
    const std::string path = context.Day_Log_Path();
    const std::string prefix = " - OPEN_ACTUAL_WORK_LOG - RESET - ";
    if (context.Files.Is_Read_Only(path))
    {
        stored.Failure = EACCES;
        Add_Open_Failure(&context.Errors, prefix, path, EACCES);
        return false;
    }
    std::string content;
    std::uint64_t file_size = 0;
    int error_number = 0;
    const std::uint64_t max_bytes =
        std::min<std::uint64_t>(max_records, SIZE_MAX / Work_Record_Size) * Work_Record_Size;
    if (!context.Files.Read_Prefix(path, static_cast<std::size_t>(max_bytes), content, file_size, error_number))
    {
        stored.Failure = error_number;
        Add_Open_Failure(&context.Errors, prefix, path, error_number);
        return false;
    }
    stored.Whole_Record_Count = file_size / Work_Record_Size;
    stored.Partial_Record_Bytes = file_size % Work_Record_Size;
    stored.Records = Decode_Work_Records(content);
    return true;
}

bool Save_Actual_Work_Log(Work_Log_Context& context, const Day_Log& day_log)
{
    int ignored = 0;
    return Save_Day_Log_File(context, day_log, &context.Errors, ignored);
}

bool Checkpoint_Day_Log(Work_Log_Context& context, const Day_Log& day_log, Error_List* failure_lines, int* error_number)
{
    if (day_log.Records().empty()) return false;
    // A file that already holds these bytes is left alone: rewriting and syncing it would
    // only cost time (a restart within the same minute stores nothing new).
    const std::string path = context.Day_Log_Path();
    const std::string bytes = Encoded_Records(day_log.Records());
    std::string stored;
    std::uint64_t stored_size = 0;
    int failure = 0;
    if (context.Files.Is_File(path) && !context.Files.Is_Read_Only(path) &&
        context.Files.Read_Prefix(path, bytes.size() + 1, stored, stored_size, failure) && stored == bytes)
        return true;
    failure = 0;
    const bool saved = Save_Day_Log_File(context, day_log, failure_lines, failure);
    if (error_number != nullptr) *error_number = failure;
    return saved;
}
