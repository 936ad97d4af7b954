#pragma once
// Start at login: a desktop entry in the user's autostart folder. The file itself is the
// setting; nothing else records it.
#include <string>

#include "platform/Xdg_Directories.h"

// $XDG_CONFIG_HOME/autostart/zentavo-logger.desktop
std::string Autostart_File_Path(const Xdg_Environment& environment);

// True when the autostart file exists (the option is on).
bool Autostart_File_Exists(const std::string& path);

// The executable's path as one argument of a desktop entry's Exec key: quoted when it
// holds a reserved character, with the escapes the desktop entry rules ask for. Empty
// when the path holds a control character, which no Exec value can carry.
std::string Desktop_Exec_Argument(const std::string& executable_path);

// The whole entry that starts the given executable.
std::string Autostart_Entry_Text(const std::string& executable_path);

// Set by the zentavo-logger command for the window program it hands a start to: the path
// an autostart entry names.
inline constexpr const char* Command_Path_Variable = "ZENTAVO_LOGGER_COMMAND";

// Writes the entry (replacing the file in one step) or removes it; an entry already absent
// is removed. False with the reason in failure.
bool Write_Autostart_File(const std::string& path, const std::string& executable_path, std::string& failure);
bool Remove_Autostart_File(const std::string& path, std::string& failure);
