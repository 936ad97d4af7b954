#pragma once
// The end of the day when the main window closes: the day log is saved (with retries as
// the user chooses) and, when Setup.ini asks for it, a summary of the day is shown.
#include <array>
#include <cstdint>
#include <string>

#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

// The save of Form_Close_Query: Save_Actual_Work_Log, the success line on true, message 6
// on false with a retry on the first button. Gives whether the day log was saved. An empty
// day log (the start-up ended before a day was loaded) is not saved at all, so it cannot
// replace a stored day that was not exported yet.
bool Save_Day_Log_At_Close(Work_Log_Context& context, const Day_Log& day_log);

// The elapsed time the summary shows. A day closed after midnight of its date has a
// Current_Minute below Day_Start_Minute; its elapsed time then runs on across midnight
// (23:00 to 01:00 is two hours) instead of wrapping in 16 bits.
Minute_Of_Day Summary_Elapsed_Minutes(const Day_Log& day_log);

// The six arguments of message 15: start, end, total text, overtime text, Czech total
// sentence, Czech overtime sentence (CP1250, each at most 255 bytes).
std::array<std::string, 6> Day_Summary(const Work_Log_Context& context, const Day_Log& day_log);

// The summary of Form_Close: shown through message 15 when Display_End_Splash_Screen,
// read again from Setup.ini now, is on and the elapsed time is not zero. Gives whether
// it was shown. The caller then writes the protocol and ends the program.
bool Show_Day_Summary(Work_Log_Context& context, const Day_Log& day_log);
