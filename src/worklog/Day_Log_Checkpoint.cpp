#include "worklog/Day_Log_Checkpoint.h"

#include "config/Program_Messages.h"
#include "platform/Code_Page.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Failure_Reason.h"

Day_Log_Checkpoint::Outcome Day_Log_Checkpoint::Save(Work_Log_Context& context, const Day_Log& day_log)
{
    Error_List failure_lines(context.Time_Source, context.Patterns.Long_Time);
    int error_number = 0;
    const bool saved = Checkpoint_Day_Log(context, day_log, &failure_lines, &error_number);
    if (saved)
    {
        if (!Is_Failing) return Outcome::Saved;
        Is_Failing = false;
        context.Errors.Add(" - SAVE_ACTUAL_WORK_LOG - CHECKPOINT - OK - actual log saved again to " +
                           File_Name_To_Cp1250(context.Day_Log_Path()));
        return Outcome::Saved_Again;
    }
    if (day_log.Records().empty()) return Is_Failing ? Outcome::Still_Failing : Outcome::Saved;  // nothing to store yet
    Error_Number = error_number;
    if (Is_Failing) return Outcome::Still_Failing;
    Is_Failing = true;
    for (const std::string& line : failure_lines.Lines()) context.Errors.Add_Bare(line);
    return Outcome::Started_Failing;
}

std::string Day_Log_Checkpoint::Reason(const Language_Texts& texts) const
{
    return File_Failure_Reason(texts, Error_Number);
}

void Day_Log_Checkpoint::Show_Warning(Work_Log_Context& context) const
{
    Put_Message_Text(context.Dialogs, context.Texts, Program_Message::Tell_Day_Log_Not_Saved,
                     context.Texts.Save_Failed_Message, {Reason(context.Texts)});
}
