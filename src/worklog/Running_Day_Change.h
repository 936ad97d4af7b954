#pragma once
// A new date reached while the program runs (midnight or the day boundary passed, a resume
// from suspend, the clock set forward) ends the day as closing and a new start would: the
// day is saved, exported to the target log and the history exactly once, and a new day
// begins at that minute. A clock set back changes nothing.
#include <string>

#include "worklog/Day_Log.h"
#include "worklog/Day_Start.h"
#include "worklog/Work_Log_Context.h"

enum class Day_Change_Outcome
{
    Same_Day,   // nothing to do; the minute's refresh goes on
    Waiting,    // a new date, but a dialog is open or the save failed this minute
    Changed,    // the new day is in the day log and on disk
    Terminate,  // the user chose to end at the export's question; the day log is empty
                // and must not be saved, the stored day waits for the next start
};

class Running_Day_Change
{
public:
    // Called at every tick of the minute timer and at a resume. With a dialog open a new
    // date waits for the next call after the dialog has closed. After Changed,
    // Summary() holds the finished day's summary when Setup.ini asks for one.
    // The finished day goes to exported_day as a start's export does.
    Day_Change_Outcome Change_When_Due(Work_Log_Context& context, Day_Log& day_log, bool dialog_open,
                                       const Exported_Day_Sink& exported_day = {});

    // The summary of the day that ended (the text of message 15, "#" a line break);
    // empty when none is to be shown.
    const std::string& Summary() const { return Finished_Day_Summary; }
    // The finished day's name and date, for the summary's title.
    const std::string& Summary_Title() const { return Finished_Day_Title; }

private:
    bool Clock_Set_Back_Reported = false;
    int Failed_Save_Minute = -1;  // a failed save is tried again at the next minute
    std::string Finished_Day_Summary;
    std::string Finished_Day_Title;
};
