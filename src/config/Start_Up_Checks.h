#pragma once
// The checks the start-up makes before any window shows: the protocol's file can be
// written, and every file that File_List names is there. A failed check gives the text
// of the plain message box (file system bytes) after which the program ends; the
// protocol lines are added here.
#include <optional>
#include <string>
#include <vector>

#include "config/Error_List.h"
#include "config/Program_Paths.h"

// Empties Error_Log.log.
std::optional<std::string> Create_Error_Log_File(const Program_Paths& paths);

std::optional<std::string> Check_Required_Files(const Program_Paths& paths, Error_List& errors);

// Files that are missing or unreadable (skins File_List did not protect are reported alike).
std::string Report_Missing_Files(const Program_Paths& paths, Error_List& errors,
                                 const std::vector<std::string>& missing);
