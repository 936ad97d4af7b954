#pragma once
// Which folder holds the user's files (Program_Directory). Portable: the executable's own
// folder, when it holds the language file and may be written; everything stays beside the
// program. Installed: the user's own folder under the XDG data home, created private and
// filled with copies of the installed data at the first start; the installation itself is
// only ever read. A start that finds the folder costs a few stat calls and copies nothing.
#include <string>

#include "platform/Xdg_Directories.h"

inline constexpr const char* User_Folder_Name = "zentavo-logger";
// The language file whose presence marks a folder as the program's own.
inline constexpr const char* Marking_Language_File = "Czech.lng";

struct Program_Folder_Choice
{
    std::string Program_Directory;  // ends with '/'; empty when no usable folder exists
    bool Portable = false;
    bool Filled = false;      // this start created the user's folder from Data_Source
    std::string Data_Source;  // where the installed data was read (installed only)
    std::string Failure;      // why there is no folder, naming the paths
    // An existing user's folder: the installed data its copies are brought up to
    // (Refresh_Seeded_Files), once this start is the only one; empty otherwise.
    std::string Refresh_Source;
};

// executable_directory and installed_data_directory may end with '/' or not.
Program_Folder_Choice Choose_Program_Folder(const std::string& executable_directory,
                                            const std::string& installed_data_directory,
                                            const Xdg_Environment& environment);

// The same folder for a reader that must not create anything (the report on the command
// line): the portable folder, or the user's folder whether it exists yet or not.
std::string Existing_Program_Directory(const std::string& executable_directory, const Xdg_Environment& environment);

// Copies the regular files of source, and of its subfolders, into a new private folder
// that appears at target only when it is complete (a crash leaves no half-filled folder).
// Executables are left behind: the data is copied, not the program. False with the
// reason in failure; a target that appeared meanwhile counts as success.
bool Fill_User_Folder(const std::string& source, const std::string& target, std::string& failure);
