#pragma once
// The saves of the day log after each change and at each minute while the program runs.
// A save that fails is not kept quiet: the user hears of it once, with its reason, and
// again only after a save has succeeded in between; the protocol gets the failure's lines
// when the saves begin to fail and one line when they succeed again. The caller simply
// saves again at the next change or minute.
#include "worklog/Day_Log.h"
#include "worklog/Work_Log_Context.h"

class Day_Log_Checkpoint
{
public:
    enum class Outcome
    {
        Saved,            // as before: on disk
        Started_Failing,  // the user is to be told now (Show_Warning)
        Still_Failing,    // already told
        Saved_Again,      // on disk again after failures
    };

    // Saves as Checkpoint_Day_Log does and tells what changed.
    Outcome Save(Work_Log_Context& context, const Day_Log& day_log);
    bool Failing() const { return Is_Failing; }

    // The warning of a failing save through the program's message dialog: what failed and
    // why, with one button.
    void Show_Warning(Work_Log_Context& context) const;
    // The reason the warning gives, from the language texts (CP1250).
    std::string Reason(const Language_Texts& texts) const;

private:
    bool Is_Failing = false;
    int Error_Number = 0;
};
