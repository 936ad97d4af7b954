#pragma once
// The user's base folders of the freedesktop layout: where a desktop program keeps its
// data and where autostart entries live.
#include <string>

struct Xdg_Environment
{
    std::string Xdg_Data_Home;    // $XDG_DATA_HOME as set, possibly empty
    std::string Xdg_Config_Home;  // $XDG_CONFIG_HOME as set, possibly empty
    std::string Home;             // $HOME, or the password database's entry when unset
};

// Reads the three values from the process environment.
Xdg_Environment Process_Xdg_Environment();

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; no trailing '/'.
std::string Xdg_Data_Home(const Xdg_Environment& environment);
// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; no trailing '/'.
std::string Xdg_Config_Home(const Xdg_Environment& environment);

// Creates the directory and every missing parent with mode 0700 (the base-directory rule
// for folders that do not exist yet); true when it exists as a directory afterwards.
bool Make_Private_Directories(const std::string& path);
