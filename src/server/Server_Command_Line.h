#pragma once
// The history server's options of the command line, answered without a display:
//   --init-server                 the administrator's one set-up of a team's server
//   --push-history                every stored day of this PC to the server, once
//   --report ... --server         the report over all of this person's PCs
//   --report ... --team [--person NAME]   everyone's (the reporter role), a column "person" first
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "history/History_Access.h"
#include "history/History_Server_Settings.h"

bool Is_Server_Command_Line(const std::vector<std::string>& arguments);

struct Server_Command_Line_Environment
{
    Calendar_Date Today;
    std::string Program_Name = "zentavo-logger";
    std::FILE* Out = stdout;
    std::FILE* Err = stderr;
    int Connect_Timeout_Seconds = 5;
};

// 0 done, 1 the server or the history failed (said on Err), 2 a wrong option.
int Run_Server_Command_Line(const std::vector<std::string>& arguments,
                            const Server_Command_Line_Environment& environment,
                            const std::function<History_Settings()>& settings_source);
