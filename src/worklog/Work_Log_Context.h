#pragma once
// The process-wide things that the day start, the export and the end of day use; the main
// window builds it once from what it owns and passes it by reference.
#include <string>

#include "config/Error_List.h"
#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "worklog/Work_Log_File_System.h"

inline constexpr const char* Day_Log_File_Name = "Actual_Work_Log.log";
inline constexpr const char* Invalid_Day_Log_Suffix = ".invalid";

struct Work_Log_Context
{
    const Program_Paths& Paths;
    const Clock& Time_Source;
    const Date_Time_Patterns& Patterns;
    Error_List& Errors;
    Message_Dialogs& Dialogs;
    const Settings& Program_Settings;
    const Start_Up_Values& Start_Up;
    const Language_Texts& Texts;
    Work_Log_File_System& Files;

    // Program_Directory + "Actual_Work_Log.log", the PATH of the protocol lines.
    std::string Day_Log_Path() const { return Paths.File(Day_Log_File_Name); }
};
