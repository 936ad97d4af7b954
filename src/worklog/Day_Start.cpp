#include "worklog/Day_Start.h"

#include <cerrno>

#include "config/Newer_Texts.h"
#include "config/Program_Messages.h"
#include "platform/Code_Page.h"
#include "platform/Short_String.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Export_Journal.h"
#include "worklog/Failure_Reason.h"
#include "worklog/File_Failure.h"
#include "worklog/Target_Log_Export.h"

namespace
{

// Today as the days are dated: before the day boundary it is still the date before.
Date_Time Today(const Work_Log_Context& context)
{
    return Working_Date(context.Time_Source.Now(), context.Program_Settings.Day_Boundary);
}

int Ask(Work_Log_Context& context, Program_Message message, const std::vector<std::string>& arguments = {})
{
    return Put_Message(context.Dialogs, context.Texts, message, arguments);
}

// Moves a day-log file that the new day would replace out of the way, so what it holds
// can still be recovered. A read-only file stays: no save replaces it. Through a symbolic
// link a regular file it names is moved, so the link is there for the new day; a link to
// anything else (a device, a FIFO, a folder) is moved itself and the thing it names left
// alone.
void Keep_Unusable_Day_Log(Work_Log_Context& context)
{
    const std::string path = context.Day_Log_Path();
    const File_Kind kind = context.Files.Kind_Of(path);
    if (kind == File_Kind::Missing || context.Files.Is_Read_Only(path)) return;
    const std::string target = kind == File_Kind::Regular ? context.Files.Final_Target(path) : path;
    const std::string kept_path = target + Invalid_Day_Log_Suffix;
    int error_number = 0;
    // An older file kept aside gives way to a directory as it gives way to a file.
    if (kind == File_Kind::Directory && context.Files.Kind_Of(kept_path) == File_Kind::Regular)
        context.Files.Remove(kept_path, error_number);
    if (context.Files.Rename(target, kept_path, error_number))
    {
        context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + File_Name_To_Cp1250(path) + " kept as " +
                           File_Name_To_Cp1250(kept_path));
        return;
    }
    const File_Error error = File_Error_From_Errno(error_number);
    context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - KEEP - UNEXPECTED_ERROR - not possible to keep file " +
                       File_Name_To_Cp1250(path) + " as " + File_Name_To_Cp1250(kept_path) + ". " +
                       std::to_string(error.Code) + " - " + error.Text);
}

// Continues today's day from the stored records; record 0 was checked already. Gives the
// number of records dropped for a duration that is not a time.
std::size_t Continue_Stored_Day(Work_Log_Context& context, const std::vector<Work_Record>& records,
                                Minute_Of_Day day_start_minute, Day_Log& day_log)
{
    context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual");
    std::vector<Work_Record> kept{records[0]};
    std::size_t dropped = 0;
    for (std::size_t index = 1; index < records.size(); ++index)
    {
        Work_Record record = records[index];
        std::string& duration = record[Duration_Field];
        if (duration.size() > 5) duration = duration.substr(2, 5);
        const Minute_Of_Day_Result minutes = Text_To_Minute_Of_Day(duration);
        // The Unassigned_Row's duration is computed, never typed: dropping it for a bad
        // one would move the first User_Row into its place and overwrite its duration.
        const bool is_unassigned_row = index == 1;
        if (!minutes.Valid)
            context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record " +
                               record[Work_Type_Field]);
        if (!minutes.Valid && !is_unassigned_row)
        {
            ++dropped;
            continue;
        }
        kept.push_back(std::move(record));
    }
    day_log.Continue_Day(std::move(kept), day_start_minute);
    return dropped;
}

// Why the stored records cannot be today's day or a past day; empty when they can.
std::string Invalid_Reason(Work_Log_Context& context, const Stored_Day_Log& stored,
                           std::optional<Date_Time>& stored_date, Minute_Of_Day& day_start_minute)
{
    const std::string prefix = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - ";
    if (stored.Records.empty()) return prefix + "file " + File_Name_To_Cp1250(context.Day_Log_Path()) + " is empty";
    const Work_Record& day_row = stored.Records[0];
    stored_date = Parse_Date(day_row[Date_Field], context.Patterns.Short_Date);
    if (!stored_date) return prefix + "invalid log date";
    const Minute_Of_Day_Result start = Text_To_Minute_Of_Day(std::string_view(day_row[Time_Span_Field]).substr(0, 5));
    if (!start.Valid) return prefix + "invalid log time";
    day_start_minute = start.Value;
    // Today's day never grows past its limit here, so such a file is someone else's and is
    // kept aside. A past day is exported whole, however long.
    if (stored_date->Same_Date(Today(context)) && stored.Whole_Record_Count > Max_Day_Log_Records)
        return prefix + "file " + File_Name_To_Cp1250(context.Day_Log_Path()) + " holds more than " +
               std::to_string(Max_Day_Log_Records) + " records";
    return {};
}

// The protocol line of a file that ends in a part of a record, which no reader uses.
void Report_Partial_Record(Work_Log_Context& context, const Stored_Day_Log& stored)
{
    context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " +
                       File_Name_To_Cp1250(context.Day_Log_Path()) + " ends with an incomplete record of " +
                       std::to_string(stored.Partial_Record_Bytes) + " bytes");
}

// The question about a day log that cannot be opened names why: a file without write bits
// or one this user may not write, one that may not be read, or the system's reason.
int Ask_About_Unopenable_Day_Log(Work_Log_Context& context, const Stored_Day_Log& stored)
{
    const std::string path = context.Day_Log_Path();
    const std::string reason =
        stored.Failure == EACCES && !context.Files.Is_Read_Only(path) && !context.Files.May_Read(path)
            ? Read_Newer_Text(context.Texts.Language_File_Path, Newer_Texts::Read_Denied_Reason)
            : File_Failure_Reason(context.Texts, stored.Failure);
    // The language file's question, the reason on a line below its first paragraph.
    std::string question = context.Texts.Message_Strings[3];
    const std::size_t paragraph = question.find("##");
    question = paragraph == std::string::npos ? question + "##%1:s"
                                              : question.substr(0, paragraph) + "#%1:s" + question.substr(paragraph);
    return Put_Message_Text(context.Dialogs, context.Texts, Program_Message::Ask_About_Unreadable_Day_Log, question,
                            {Day_Log_File_Name, reason});
}

}  // namespace

void Start_New_Day(Work_Log_Context& context, Day_Log& day_log)
{
    const Minute_Of_Day start = Time_To_Minute_Of_Day(context.Time_Source.Now());
    const Date_Time today = Today(context);
    Work_Record day_row;
    day_row[Day_Name_Field] = Cut_To_Short_String(context.Texts.Day_Names[Day_Of_Week(today)]);
    day_row[Date_Field] = Cut_To_Short_String(Format_Date(today, context.Patterns.Short_Date));
    day_row[Time_Span_Field] = Minute_Of_Day_To_Text(start) + " - " + Minute_Of_Day_To_Text(start);
    day_row[Work_Type_Field] = Cut_To_Short_String(context.Start_Up.Default_Work_Type);
    day_row[Duration_Field] = "00:00";
    day_row[Remark_Field] = Cut_To_Short_String(context.Start_Up.Default_Remark);
    day_log.Start_Day(day_row, start);
}

Load_Day_Log_Result Load_Day_Log(Work_Log_Context& context, Day_Log& day_log, const Exported_Day_Sink& exported_day)
{
    day_log = Day_Log{};
    const std::string path = context.Day_Log_Path();
    const std::vector<std::string> file_name_argument{Day_Log_File_Name};

    const File_Kind kind = context.Files.Kind_Of(path);
    if (kind == File_Kind::Missing)
    {
        context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file " + File_Name_To_Cp1250(path) +
                           " not found");
        if (!context.Start_Up.First_Start &&
            Ask(context, Program_Message::Ask_About_Missing_Day_Log, file_name_argument) == 2)
            return {Day_Log_Outcome::Missing, true};
        Start_New_Day(context, day_log);
        return {Day_Log_Outcome::Missing, false};
    }

    // A directory in its place holds no day and would stop every save: it is a damaged day log.
    Stored_Day_Log stored;
    if (kind != File_Kind::Directory && !Open_Actual_Work_Log(context, stored))
    {
        if (Ask_About_Unopenable_Day_Log(context, stored) == 2) return {Day_Log_Outcome::Unopenable, true};
        Keep_Unusable_Day_Log(context);
        Start_New_Day(context, day_log);
        return {Day_Log_Outcome::Unopenable, false};
    }

    std::optional<Date_Time> stored_date;
    Minute_Of_Day day_start_minute = 0;
    const std::string invalid_reason =
        kind == File_Kind::Directory
            ? " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " + File_Name_To_Cp1250(path) + " is a directory"
            : Invalid_Reason(context, stored, stored_date, day_start_minute);
    if (!invalid_reason.empty())
    {
        context.Errors.Add(invalid_reason);
        if (Ask(context, Program_Message::Ask_About_Damaged_Day_Log) == 2) return {Day_Log_Outcome::Invalid, true};
        Keep_Unusable_Day_Log(context);
        Start_New_Day(context, day_log);
        return {Day_Log_Outcome::Invalid, false};
    }

    if (stored_date->Same_Date(Today(context)))
    {
        // A crash right after the new day was stored leaves the note of its export behind.
        Remove_Export_Journal(context);
        // The next save would lose the dropped records or the partial one: the file that
        // holds them is kept.
        const std::size_t dropped = Continue_Stored_Day(context, stored.Records, day_start_minute, day_log);
        if (stored.Partial_Record_Bytes > 0) Report_Partial_Record(context, stored);
        if (dropped > 0 || stored.Partial_Record_Bytes > 0)
        {
            Keep_Unusable_Day_Log(context);
            Checkpoint_Day_Log(context, day_log);
        }
        return {Day_Log_Outcome::Valid, false};
    }

    context.Errors.Add(" - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date");
    if (stored.Whole_Record_Count > stored.Records.size() &&
        !Open_Actual_Work_Log(context, stored, stored.Whole_Record_Count))
    {
        if (Ask_About_Unopenable_Day_Log(context, stored) == 2) return {Day_Log_Outcome::Unopenable, true};
        Keep_Unusable_Day_Log(context);
        Start_New_Day(context, day_log);
        return {Day_Log_Outcome::Unopenable, false};
    }
    if (stored.Partial_Record_Bytes > 0) Report_Partial_Record(context, stored);
    const Settings& settings = context.Program_Settings;
    std::string reason;
    while (!Save_Target_Work_Log(context, stored.Records, settings.Target_Log_File_Format,
                                 settings.Target_Log_File_Name, &reason))
    {
        // The question tells why, below its own text.
        const std::string text = context.Texts.Message_Strings[5] + "##%0:s";
        if (Put_Message_Text(context.Dialogs, context.Texts, Program_Message::Ask_Before_Exporting_Past_Day, text,
                             {reason}) != 1)
            return {Day_Log_Outcome::Past_Day, true};
    }
    // The stored day is now whole and synced in the target log, exactly once: added now, or
    // found there whole after a crash ended an earlier start before the new day was stored.
    context.Errors.Add(" - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " +
                       File_Name_To_Cp1250(settings.Target_Log_File_Name));
    // The block is on disk; the history follows it (a repeated export replaces the day).
    if (exported_day) exported_day(context, stored.Records);
    // The splash comes before the new day, whose Day_Row begins at the minute it is built.
    if (context.Start_Up.Display_Start_Splash_Screen) context.Dialogs.Show_Start_Splash_Screen();
    Start_New_Day(context, day_log);
    if (stored.Partial_Record_Bytes > 0) Keep_Unusable_Day_Log(context);
    // Once the new day has replaced the exported one on disk, the note of the export has
    // done its work; while it has not, the note keeps the next start from adding it again.
    if (Checkpoint_Day_Log(context, day_log)) Remove_Export_Journal(context);
    return {Day_Log_Outcome::Past_Day, false};
}
