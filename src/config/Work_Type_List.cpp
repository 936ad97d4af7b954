#include "config/Work_Type_List.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "config/Error_List.h"
#include "config/Language_Counterpart.h"
#include "config/Program_Paths.h"
#include "platform/Code_Page.h"
#include "platform/File_Error.h"
#include "platform/Posix_File.h"

std::vector<std::string> Split_Work_Type_Lines(const std::string& content)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t position = 0; position < content.size(); ++position)
    {
        const char character = content[position];
        if (character == '\r' || character == '\n')
        {
            if (character == '\r' && position + 1 < content.size() && content[position + 1] == '\n') ++position;
            if (!line.empty()) lines.push_back(line);
            line.clear();
        }
        else
        {
            line += character;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

namespace
{

void Report_Failure(Error_List& error_list, const std::string& file_name, int error_number)
{
    const std::string path = File_Name_To_Cp1250(file_name);
    const std::string prefix = " - OPEN_WORK_TYPE_LIST - ";
    if (error_number == ENOENT)
    {
        error_list.Add(prefix + "FILE_NOT_FOUND - file " + path + " not found, no work types offered");
        return;
    }
    const File_Error error = File_Error_From_Errno(error_number);
    if (error.Code == ERROR_ACCESS_DENIED)
        error_list.Add(prefix + "ERROR_ACCESS_DENIED - access to " + path + " denied, no work types offered");
    else
        error_list.Add(prefix + "UNEXPECTED_ERROR - not possible to read file " + path + ". " +
                       std::to_string(error.Code) + " - " + error.Text);
}

}  // namespace

std::vector<std::string> Read_Work_Type_List(const Program_Paths& paths, Error_List& error_list,
                                             const std::string& language_counterpart)
{
    const std::string path = paths.File(Language_Counterpart(paths, Work_Type_List_File_Name, language_counterpart));
    // Read without blocking: a FIFO in its place must not freeze the editor.
    std::string content;
    int error_number = 0;
    if (!Read_Whole_File(path, content, error_number, Configuration_File_Size_Limit))
    {
        Report_Failure(error_list, path, error_number);
        return {};
    }
    return Split_Work_Type_Lines(content);
}
