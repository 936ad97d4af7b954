#include "worklog/Day_Log_File.h"

#include <algorithm>
#include <cerrno>

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

// Writes the records to a temporary file beside the day-log file and renames it over the
// old one; lines go to errors unless it is null.
bool Save_Day_Log_File(Work_Log_Context& context, const Day_Log& day_log, Error_List* errors)
{
    const std::string path = context.Day_Log_Path();
    const std::string rewrite_prefix = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ";
    if (context.Files.Is_Read_Only(path))
    {
        Add_Open_Failure(errors, rewrite_prefix, path, EACCES);
        return false;
    }
    const std::string temporary_path = path + ".tmp";
    int error_number = 0;
    context.Files.Remove(temporary_path, error_number);  // a leftover of a killed process
    std::unique_ptr<Writable_File> file = context.Files.Create(temporary_path, error_number);
    if (!file)
    {
        Add_Open_Failure(errors, rewrite_prefix, path, error_number);
        return false;
    }
    std::string bytes;
    bytes.reserve(day_log.Records.size() * Work_Record_Size);
    for (const Work_Record& record : day_log.Records) bytes += Encode_Work_Record(record);
    const auto give_up = [&](int failure) {
        file.reset();
        int ignored = 0;
        context.Files.Remove(temporary_path, ignored);
        Add_Write_Failure(errors, path, failure);
        return false;
    };
    for (std::size_t offset = 0; offset < bytes.size(); offset += Work_Record_Size)
        if (!file->Write(std::string_view(bytes).substr(offset, Work_Record_Size), error_number))
            return give_up(error_number);
    if (!file->Sync(error_number) || !file->Close(error_number)) return give_up(error_number);
    file.reset();
    if (!context.Files.Rename(temporary_path, path, error_number))
    {
        int ignored = 0;
        context.Files.Remove(temporary_path, ignored);
        Add_Open_Failure(errors, rewrite_prefix, path, error_number);
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

bool Open_Actual_Work_Log(Work_Log_Context& context, Stored_Day_Log& stored)
{
    stored = {};
    const std::string path = context.Day_Log_Path();
    const std::string prefix = " - OPEN_ACTUAL_WORK_LOG - RESET - ";
    if (context.Files.Is_Read_Only(path))
    {
        Add_Open_Failure(&context.Errors, prefix, path, EACCES);
        return false;
    }
    std::string content;
    std::uint64_t file_size = 0;
    int error_number = 0;
    if (!context.Files.Read_Prefix(path, (Max_Day_Log_Records + 1) * Work_Record_Size, content, file_size,
                                   error_number))
    {
        Add_Open_Failure(&context.Errors, prefix, path, error_number);
        return false;
    }
    stored.Whole_Record_Count = file_size / Work_Record_Size;
    for (std::size_t offset = 0; offset + Work_Record_Size <= content.size(); offset += Work_Record_Size)
        stored.Records.push_back(Decode_Work_Record(std::string_view(content).substr(offset, Work_Record_Size)));
    return true;
}

bool Save_Actual_Work_Log(Work_Log_Context& context, const Day_Log& day_log)
{
    return Save_Day_Log_File(context, day_log, &context.Errors);
}

bool Checkpoint_Day_Log(Work_Log_Context& context, const Day_Log& day_log)
{
    if (day_log.Records.empty()) return false;
    // A file that already holds these bytes is left alone: rewriting and syncing it would
    // only cost time (a restart within the same minute stores nothing new).
    const std::string path = context.Day_Log_Path();
    std::string bytes;
    bytes.reserve(day_log.Records.size() * Work_Record_Size);
    for (const Work_Record& record : day_log.Records) bytes += Encode_Work_Record(record);
    std::string stored;
    std::uint64_t stored_size = 0;
    int error_number = 0;
    if (context.Files.Is_File(path) && !context.Files.Is_Read_Only(path) &&
        context.Files.Read_Prefix(path, bytes.size() + 1, stored, stored_size, error_number) && stored == bytes)
        return true;
    return Save_Day_Log_File(context, day_log, nullptr);
}
