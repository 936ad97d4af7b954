#include "config/Start_Up_Checks.h"

#include "platform/Code_Page.h"

std::optional<std::string> Create_Error_Log_File(const Program_Paths& paths)
{
    const std::string path = paths.File("Error_Log.log");
    if (Write_Error_Log(path, {})) return std::nullopt;
    return "Attempt to create the error log file " + path + "\rfailed.";
}

std::string Report_Missing_Files(const Program_Paths& paths, Error_List& errors,
                                 const std::vector<std::string>& missing)
{
    errors.Add(" - CHECK_FILE_AVAILABILITY - missing " + std::to_string(missing.size()) + " file(s)");
    for (const std::string& name : missing) errors.Add_Bare(name);
    // The protocol's whole path: an installed program keeps it in the user's folder.
    return "Some of source files needed for this application is missing.\r"
           "It will be probably needed to reinstall the application.\r"
           "Protocol will be saved to file " +
           paths.File("Error_Log.log");
}

std::optional<std::string> Check_Required_Files(const Program_Paths& paths, Error_List& errors)
{
    std::vector<std::string> names;
    const std::string list_path = paths.File("File_List");
    const File_List_Status status = Read_File_List(list_path, names);
    // The list itself is the first required file.
    if (status == File_List_Status::Missing) return Report_Missing_Files(paths, errors, {"File_List"});
    if (status != File_List_Status::Read)
    {
        // A list that names nothing, or more than the check can walk, protects nothing.
        const std::string problem = status == File_List_Status::Empty ? "names no file" : "names more than 256 files";
        errors.Add(" - CHECK_FILE_AVAILABILITY - invalid file list " + File_Name_To_Cp1250(list_path) + " " + problem);
        return "The list of required files " + list_path + " " + problem +
               ".\rIt will be probably needed to reinstall the application.\r"
               "Protocol will be saved to file " +
               paths.File("Error_Log.log");
    }
    std::vector<std::string> missing;
    if (Check_File_Availability(paths.Program_Directory, names, missing)) return std::nullopt;
    return Report_Missing_Files(paths, errors, missing);
}
