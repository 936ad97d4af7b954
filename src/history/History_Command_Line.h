#pragma once
// zentavo-logger --report week|month|year|all with its options (see the usage), --rebuild,
// --help and --version: answered without a display and without touching the running
// instance. It writes nothing but the database: read in from the target log when there is
// none yet (and not even that when the folder cannot be written), or anew with --rebuild.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "history/History_Access.h"

// True when the arguments ask for the command line rather than the window: any argument
// but the toolkit's own options.
bool Is_History_Command_Line(const std::vector<std::string>& arguments);

struct History_Command_Line_Environment
{
    Calendar_Date Today;
    std::string Program_Name = "zentavo-logger";
    std::string Version;
    std::FILE* Out = stdout;
    std::FILE* Err = stderr;
};

// Runs the command (arguments without the program name); gives the exit status: 0 done,
// 1 the history could not be read, 2 a wrong option (the usage is printed).
// settings_source is called only when a report is asked for.
int Run_History_Command_Line(const std::vector<std::string>& arguments,
                             const History_Command_Line_Environment& environment,
                             const std::function<History_Settings()>& settings_source);

// The folder of the running executable, with a trailing '/' (empty when unknown).
std::string Executable_Directory();
