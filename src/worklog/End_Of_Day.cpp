#include "worklog/End_Of_Day.h"

#include "config/Program_Messages.h"
#include "config/Settings_File.h"
#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "platform/Short_String.h"
#include "worklog/Day_Log_File.h"

namespace
{

// Czech sentences in CP1250: "Což ", "Takže máte ", " přesčas.", "Takže nemáte žádný přesčas...".
const std::string Czech_Which = "Co\x9E ";
const std::string Czech_Is_In_Total = "je celkem ";
const std::string Czech_Are_In_Total = "jsou celkem ";
const std::string Czech_So_You_Have =
    "Tak\x9E"
    "e m\xE1te ";
const std::string Czech_Overtime =
    " p\xF8"
    "es\xE8"
    "as.";
const std::string Czech_No_Overtime =
    "Tak\x9E"
    "e nem\xE1te \x9E\xE1"
    "dn\xFD p\xF8"
    "es\xE8"
    "as...";

std::string Without_Line_Breaks(std::string text)
{
    std::erase(text, '#');
    return text;
}

// A language text with "#" removed and formatted with one duration; empty when the text
// does not fit one argument.
std::string Formatted_Text(const std::string& message, Minute_Of_Day minutes)
{
    return Cut_To_Short_String(Format(Without_Line_Breaks(message), {Minute_Of_Day_To_Text(minutes)}).value_or(""));
}

}  // namespace

bool Save_Day_Log_At_Close(Work_Log_Context& context, const Day_Log& day_log)
{
    if (day_log.Records().empty()) return false;
    while (!Save_Actual_Work_Log(context, day_log))
    {
        if (Put_Message(context.Dialogs, context.Texts, Program_Message::Ask_To_Retry_Saving_At_Close) != 1)
            return false;
    }
    context.Errors.Add(" - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " +
                       File_Name_To_Cp1250(context.Day_Log_Path()));
    return true;
}

Minute_Of_Day Summary_Elapsed_Minutes(const Day_Log& day_log)
{
    if (day_log.Current_Minute() >= 1440 || day_log.Day_Start_Minute() >= 1440) return day_log.Elapsed_Minutes();
    return static_cast<Minute_Of_Day>((day_log.Current_Minute() + 1440 - day_log.Day_Start_Minute()) % 1440);
}

std::array<std::string, 6> Day_Summary(const Work_Log_Context& context, const Day_Log& day_log)
{
    const Language_Texts& texts = context.Texts;
    const Minute_Of_Day elapsed = Summary_Elapsed_Minutes(day_log);
    const std::uint16_t full_time = context.Program_Settings.Full_Time_Value;
    std::array<std::string, 6> arguments;
    arguments[0] = Minute_Of_Day_To_Text(day_log.Day_Start_Minute());
    arguments[1] = Minute_Of_Day_To_Text(day_log.Current_Minute());
    arguments[2] = Formatted_Text(texts.Message_Strings[16], elapsed);
    if (texts.Is_Czech_Language)
        arguments[4] =
            Cut_To_Short_String(Czech_Which + (elapsed >= 2 && elapsed <= 4 ? Czech_Are_In_Total : Czech_Is_In_Total) +
                                Duration_Phrase(Whole_Hours(elapsed), Remaining_Minutes(elapsed), 1) + ".");
    if (elapsed > full_time)
    {
        const auto overtime = static_cast<Minute_Of_Day>(elapsed - full_time);
        arguments[3] = Formatted_Text(texts.Message_Strings[17], overtime);
        if (texts.Is_Czech_Language)
            arguments[5] = Cut_To_Short_String(Czech_So_You_Have +
                                               Duration_Phrase(Whole_Hours(overtime), Remaining_Minutes(overtime), 4) +
                                               Czech_Overtime);
    }
    else
    {
        arguments[3] = Cut_To_Short_String(Without_Line_Breaks(texts.Message_Strings[18]));
        if (texts.Is_Czech_Language) arguments[5] = Czech_No_Overtime;
    }
    return arguments;
}

bool Show_Day_Summary(Work_Log_Context& context, const Day_Log& day_log)
{
    if (!Read_Display_End_Splash_Screen(Setup_Ini_Path(context.Paths))) return false;
    if (Summary_Elapsed_Minutes(day_log) == 0) return false;
    const std::array<std::string, 6> arguments = Day_Summary(context, day_log);
    Put_Message(context.Dialogs, context.Texts, Program_Message::Tell_Day_Summary,
                std::vector<std::string>(arguments.begin(), arguments.end()));
    return true;
}
