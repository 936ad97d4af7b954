#include "config/Setup_Ini_Problem.h"

#include <cerrno>

#include "platform/Code_Page.h"
#include "platform/File_Error.h"
#include "platform/Posix_File.h"

std::optional<std::string> Setup_Ini_Problem(const std::string& setup_ini_path)
{
    std::string content;
    int error_number = 0;
    if (Read_Whole_File(setup_ini_path, content, error_number, Configuration_File_Size_Limit) || error_number == ENOENT)
        return std::nullopt;
    const std::string name = Utf8_To_Cp1250(setup_ini_path);
    const std::string prefix = " - OPEN_SETUP_FILE - ";
    const std::string consequence = ", the settings take their defaults";
    if (error_number == EFBIG)
        return prefix + "FILE_TOO_LARGE - file " + name + " is larger than " +
               std::to_string(Configuration_File_Size_Limit) + " bytes" + consequence;
    if (error_number == EISDIR) return prefix + "INVALID_FILE - " + name + " is a directory" + consequence;
    if (error_number == EINVAL) return prefix + "INVALID_FILE - " + name + " is not a regular file" + consequence;
    const File_Error error = File_Error_From_Errno(error_number);
    return prefix + "UNEXPECTED_ERROR - not possible to read file " + name + ". " + std::to_string(error.Code) + " - " +
           error.Text + consequence;
}
