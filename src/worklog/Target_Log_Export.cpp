#include "worklog/Target_Log_Export.h"

#include <cerrno>

#include "worklog/File_Failure.h"
#include "platform/Code_Page.h"
#include "platform/Format.h"

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
    case ERROR_NOT_READY:
        errors.Add(prefix + "ERROR_NOT_READY - file " + name + ", drive not ready");
        break;
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
    errors.Add(" - SAVE_TARGET_WORK_LOG - WRITELN - UNEXPECTED_ERROR - not possible to write record into file " +
               name + ". " + std::to_string(error.Code) + " " + error.Text);
}

}  // namespace

std::optional<std::string> Target_Log_Line(const std::string& format_text, const Work_Record& record)
{
    return Format(format_text, std::vector<std::string>(record.Fields.begin(), record.Fields.end()));
}

bool Save_Target_Work_Log(Work_Log_Context& context, const std::vector<Work_Record>& stored_records,
                          const std::string& format_text, const std::string& target_file_name)
{
    // Whether a pattern fits does not depend on the texts, so one trial tells before the
    // file is touched.
    if (!Target_Log_Line(format_text, Work_Record{}))
    {
        context.Errors.Add(" - SAVE_TARGET_WORK_LOG - FORMAT - INVALID_FORMAT - line pattern " + format_text +
                           " is not valid, only %0:s to %5:s may be used");
        return false;
    }

    const std::string& name = target_file_name;
    int error_number = 0;
    std::unique_ptr<Writable_File> file;
    if (context.Files.Is_File(name))
    {
        if (context.Files.Is_Read_Only(name))
        {
            Add_Append_Failure(context.Errors, name, EACCES);
            return false;
        }
        file = context.Files.Open_For_Append(name, error_number);
        if (!file)
        {
            Add_Append_Failure(context.Errors, name, error_number);
            return false;
        }
    }
    else
    {
        file = context.Files.Create(name, error_number);
        if (!file)
        {
            Add_Rewrite_Failure(context.Errors, name, error_number);
            return false;
        }
    }

    const auto write_line = [&](const std::string& text) { return file->Write(text + Line_End, error_number); };
    bool written = write_line(context.Program_Settings.Target_Log_File_Separator);
    for (std::size_t index = 0; written && index < stored_records.size(); ++index)
        written = write_line(Target_Log_Line(format_text, stored_records[index]).value_or(std::string()));
    if (written) written = file->Sync(error_number);
    if (!written)
    {
        file.reset();
        Add_Writeln_Failure(context.Errors, name, error_number);
        return false;
    }
    if (!file->Close(error_number))
    {
        Add_Writeln_Failure(context.Errors, name, error_number);
        return false;
    }
    return true;
}

bool Target_Log_Pattern_Fits(const std::string& format_text)
{
    Work_Record sample;
    sample.Fields = {"Monday", "07.12.2026", "08:00 - 16:30", "Coding", "08:30", "remark"};
    return Target_Log_Line(format_text, sample).has_value();
}
