#include "worklog/Running_Day_Change.h"

#include <optional>
#include <tuple>

#include "config/Settings_File.h"
#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Day_Start.h"
#include "worklog/End_Of_Day.h"

namespace
{

int Compare_Dates(const Date_Time& left, const Date_Time& right)
{
    const auto key = [](const Date_Time& value) {
        return std::tie(value.Year, value.Month, value.Day);
    };
    if (key(left) == key(right)) return 0;
    return key(left) < key(right) ? -1 : 1;
}

}  // namespace

Day_Change_Outcome Running_Day_Change::Change_When_Due(Work_Log_Context& context, Day_Log& day_log, bool dialog_open,
                                                       const Exported_Day_Sink& exported_day)
{
    if (day_log.Empty()) return Day_Change_Outcome::Same_Day;
    // A date the pattern cannot read (the system's format changed) is left to the next start.
    const std::optional<Date_Time> day_date = Parse_Date(day_log[0][Date_Field], context.Patterns.Short_Date);
    if (!day_date) return Day_Change_Outcome::Same_Day;
    const Date_Time now = context.Time_Source.Now();
    const Date_Time today = Working_Date(now, context.Program_Settings.Day_Boundary);
    const int order = Compare_Dates(*day_date, today);
    if (order == 0)
    {
        Clock_Set_Back_Reported = false;
        return Day_Change_Outcome::Same_Day;
    }
    if (order > 0)
    {
        // The day goes on as it is; a new start would export it, but a running day is
        // not ended by a clock that went back.
        if (!Clock_Set_Back_Reported)
            context.Errors.Add(" - DAY_CHANGE - CLOCK_SET_BACK - the clock shows " +
                               Format_Date(today, context.Patterns.Short_Date) + ", before the day's date " +
                               day_log[0][Date_Field] + "; the day goes on");
        Clock_Set_Back_Reported = true;
        return Day_Change_Outcome::Same_Day;
    }
    if (dialog_open) return Day_Change_Outcome::Waiting;
    const int minute = Time_To_Minute_Of_Day(now);
    if (minute == Failed_Save_Minute) return Day_Change_Outcome::Waiting;

    // The summary of the day as it ends, before the new day replaces it.
    Finished_Day_Summary.clear();
    Finished_Day_Title = day_log[0][Day_Name_Field] + " " + day_log[0][Date_Field];
    if (Read_Display_End_Splash_Screen(Setup_Ini_Path(context.Paths)) && Summary_Elapsed_Minutes(day_log) != 0)
    {
        const std::array<std::string, 6> arguments = Day_Summary(context, day_log);
        const std::string& pattern = context.Texts.Message_Strings[15];
        Finished_Day_Summary =
            Format(pattern, std::vector<std::string>(arguments.begin(), arguments.end())).value_or(pattern);
    }

    // As closing does: the day on disk first. A failure's lines are told once; the save is
    // tried again each minute while the old day waits.
    Error_List failure_lines(context.Time_Source, context.Patterns.Long_Time);
    if (!Checkpoint_Day_Log(context, day_log, &failure_lines))
    {
        if (Failed_Save_Minute < 0)
            for (const std::string& line : failure_lines.Lines()) context.Errors.Add_Bare(line);
        Failed_Save_Minute = minute;
        return Day_Change_Outcome::Waiting;
    }
    Failed_Save_Minute = -1;
    context.Errors.Add(" - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " +
                       File_Name_To_Cp1250(context.Day_Log_Path()));

    // Then as a start does, with the same guarantees across a crash; no splash screen
    // in front of the user's work.
    Start_Up_Values as_started = context.Start_Up;
    as_started.First_Start = false;
    as_started.Display_Start_Splash_Screen = false;
    Work_Log_Context start_context{context.Paths,  context.Time_Source, context.Patterns,
                                   context.Errors, context.Dialogs,     context.Program_Settings,
                                   as_started,     context.Texts,       context.Files};
    const Load_Day_Log_Result result = Load_Day_Log(start_context, day_log, exported_day);
    if (result.Terminate_Requested) return Day_Change_Outcome::Terminate;
    Clock_Set_Back_Reported = false;
    return Day_Change_Outcome::Changed;
}
