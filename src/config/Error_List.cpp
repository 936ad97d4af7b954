#include "config/Error_List.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Code_Page.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/File_Error.h"
#include "platform/Posix_File.h"

Error_List::Error_List(const Clock& clock, std::string long_time_pattern)
    : List_Clock(clock), Long_Time_Pattern(std::move(long_time_pattern))
{
}

void Error_List::Add(std::string_view text)
{
    List_Lines.push_back(Format_Time(List_Clock.Now(), Long_Time_Pattern) + std::string(text));
}

void Error_List::Add_Bare(std::string_view line) { List_Lines.emplace_back(line); }

bool Write_Error_Log(const std::string& path, const std::vector<std::string>& lines)
{
    // A file without write bits stays untouched, as the read-only attribute keeps it, even for root.
    if (Is_Read_Only_File(path)) return false;
    std::string content;
    for (const std::string& line : lines)
    {
        content += line;
        content += "\r\n";
    }
    int error_number = 0;
    const int descriptor = Open_Regular_File(path, O_WRONLY | O_CREAT | O_TRUNC, error_number);
    if (descriptor < 0) return false;
    bool ok = Write_All(descriptor, content);
    if (::close(descriptor) != 0) ok = false;
    return ok;
}

namespace
{

constexpr std::size_t Maximum_File_List_Names = 256;

}  // namespace

File_List_Status Read_File_List(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    std::string content;
    int error_number = 0;
    if (!Read_Whole_File(path, content, error_number, Configuration_File_Size_Limit)) return File_List_Status::Missing;

    std::size_t position = 0;
    while (position < content.size())
    {
        const std::size_t line_end = content.find_first_of("\r\n", position);
        if (line_end == std::string::npos)
        {
            names.push_back(content.substr(position));
            break;
        }
        names.push_back(content.substr(position, line_end - position));
        position = line_end + 1;
        if (content[line_end] == '\r' && position < content.size() && content[position] == '\n') ++position;
        if (names.size() > Maximum_File_List_Names) break;
    }
    if (names.empty()) return File_List_Status::Empty;
    if (names.size() > Maximum_File_List_Names) return File_List_Status::Too_Long;
    return File_List_Status::Read;
}

bool Check_File_Availability(const std::string& program_directory, const std::vector<std::string>& names,
                             std::vector<std::string>& missing)
{
    for (const std::string& name : names)
    {
        // The list is CP1250 text like every file of the program; names on disk are the file
        // system's own. Lists written with Windows separators name the same files.
        std::string relative = Cp1250_To_File_Name(name);
        for (char& character : relative)
        {
            if (character == '\\') character = '/';
        }
        struct stat status
        {
        };
        const bool present = !relative.empty() && ::stat((program_directory + relative).c_str(), &status) == 0 &&
                             S_ISREG(status.st_mode);
        if (!present) missing.push_back(name);
    }
    return missing.empty();
}
