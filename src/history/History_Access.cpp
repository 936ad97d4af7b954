#include "history/History_Access.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "config/Settings_File.h"
#include "config/Setup_Ini_Keys.h"
#include "history/Calendar.h"
#include "history/History_Texts.h"
#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Log_File.h"

namespace
{

// The day the day-log file holds as last saved; none when there is none to count.
std::optional<History_Day> Stored_Day_Log_Day(const History_Settings& settings)
{
    std::string content;
    if (!Read_Whole_File(settings.Day_Log_Path(), content)) return std::nullopt;
    const std::vector<Work_Record> records = Decode_Work_Records(content, Max_Day_Log_Records);
    if (records.empty()) return std::nullopt;
    const std::optional<Date_Time> date = Parse_Date(records[0][Date_Field], settings.Format.Short_Date_Pattern);
    if (!date) return std::nullopt;
    return Count_Day_Records(Calendar_Date_Of(*date), records).Day;
}

// The days of a reading are held once, as the loaded days; the reading keeps what it found.
void Keep_Only_Findings(Target_Log_Reading& reading)
{
    std::vector<History_Day>().swap(reading.Days);
    std::vector<std::uint16_t>().swap(reading.Day_Pattern_Indexes);
}

// [Report_Setup] is the user's own: read here, written by nobody. A value that does not
// read keeps the default.
void Read_Report_Setup(const Program_Paths& paths, History_Settings& history)
{
    const Ini_File ini = Ini_File::Read_Once(Setup_Ini_Path(paths));
    if (const std::optional<std::string> text = ini.Read_Value("Report_Setup", "Work_Days"))
    {
        if (const std::optional<std::array<bool, 8>> days = Parse_Work_Days(*text)) history.Work_Days = *days;
    }
    const std::optional<std::string> name = ini.Read_Value("Report_Setup", "Days_Off_File_Name");
    if (name && !name->empty()) history.Days_Off_File_Name = Cp1250_To_File_Name(*name);
    const std::string path =
        history.Days_Off_File_Name.front() == '/' ? history.Days_Off_File_Name : paths.File(history.Days_Off_File_Name);
    std::string content;
    if (Read_Whole_File(path, content)) history.Days_Off = Parse_Days_Off(content);
}

}  // namespace

std::string History_Settings::Store_Path() const { return Program_Directory + History_Store_File_Name; }
std::string History_Settings::Day_Log_Path() const { return Program_Directory + Day_Log_File_Name; }

History_Settings History_Settings_From(const Program_Paths& paths, const Settings& settings,
                                       const Date_Time_Patterns& patterns)
{
    History_Settings history;
    history.Program_Directory = paths.Program_Directory;
    history.Target_Log_File_Name = settings.Target_Log_File_Name;
    history.Format = {settings.Target_Log_File_Format, settings.Target_Log_File_Separator, patterns.Short_Date};
    history.Full_Time_Minutes = settings.Full_Time_Value;
    Read_Report_Setup(paths, history);
    history.No_Work_Type_Name = No_Work_Type_Name(settings.Language_File_Path);
    return history;
}

History_Settings Read_History_Settings(const Program_Paths& paths, const Date_Time_Patterns& patterns)
{
    // The start-up's reading, file names included, without its First_Start handling.
    return History_Settings_From(paths, Read_Settings(paths), patterns);
}

History_Report Compute_History_Report(const std::vector<History_Day>& days, const History_Period& period,
                                      const Full_Time_Calendar& calendar, const std::string& no_type_name)
{
    History_Report report;
    report.From = period.From;
    report.To = period.To;
    // Types by their key: minutes, and the spelling first seen.
    std::map<std::string, std::size_t> type_index;
    // The days are in date order: the period's first day is looked up, not searched for.
    auto day = std::lower_bound(days.begin(), days.end(), period.From,
                                [](const History_Day& kept, const Calendar_Date& date) { return kept.Date < date; });
    const auto end =
        std::upper_bound(day, days.end(), period.To,
                         [](const Calendar_Date& date, const History_Day& kept) { return date < kept.Date; });
    report.Days.reserve(static_cast<std::size_t>(end - day));
    long long balance = 0;
    for (; day != end; ++day)
    {
        History_Report_Day shown;
        shown.Date = day->Date;
        shown.In_Progress = day->In_Progress;
        shown.Worked_Minutes = day->Worked_Minutes;
        shown.Full_Time_Minutes = day->In_Progress ? 0 : calendar.Target_Of(day->Date);
        shown.Overtime_Minutes = day->Worked_Minutes - shown.Full_Time_Minutes;
        shown.Balance_Minutes = balance += shown.Overtime_Minutes;
        long long booked = 0;
        for (const Work_Type_Minutes& entry : day->By_Work_Type)
        {
            if (entry.Minutes <= 0) continue;
            booked += entry.Minutes;
            const std::string name = entry.Work_Type.empty() ? no_type_name : entry.Work_Type;
            Work_Type_Minutes* same = nullptr;
            for (Work_Type_Minutes& kept : shown.By_Work_Type)
                if (Same_Work_Type(kept.Work_Type, name)) same = &kept;
            if (same) same->Minutes += entry.Minutes;
            else shown.By_Work_Type.push_back({name, entry.Minutes});
            const auto [found, added] = type_index.try_emplace(Work_Type_Key(name), report.By_Work_Type.size());
            if (added) report.By_Work_Type.push_back({name, 0});
            report.By_Work_Type[found->second].Minutes += entry.Minutes;
        }
        report.Booked_Beyond_Worked_Minutes += std::max(0LL, booked - day->Worked_Minutes);
        report.Worked_Minutes += day->Worked_Minutes;
        report.Full_Time_Minutes += shown.Full_Time_Minutes;
        report.Days.push_back(std::move(shown));
    }
    report.Overtime_Balance_Minutes = balance;
    std::stable_sort(report.By_Work_Type.begin(), report.By_Work_Type.end(),
                     [](const Work_Type_Minutes& a, const Work_Type_Minutes& b) { return a.Minutes > b.Minutes; });
    if (period.Kind == History_Period_Kind::All)
    {
        report.From = report.Days.empty() ? Calendar_Date{} : report.Days.front().Date;
        report.To = report.Days.empty() ? Calendar_Date{} : report.Days.back().Date;
    }
    return report;
}

History_Report Compute_History_Report(const std::vector<History_Day>& days, const History_Period& period,
                                      long long full_time_minutes)
{
    Full_Time_Calendar calendar;
    calendar.Minutes = full_time_minutes;
    return Compute_History_Report(days, period, calendar, History_Settings{}.No_Work_Type_Name);
}

Target_Log_Format Format_With_Known_Patterns(const History_Settings& settings)
{
    Target_Log_Format format = settings.Format;
    {
        History_Store store(settings.Store_Path(), History_Store::Mode::Read);
        format.Earlier_Line_Patterns = store.Read_Seen_Patterns();
    }
    format.Earlier_Line_Patterns.emplace_back(Setup_Default<std::string_view>(Setup_Key::Target_Log_File_Format));
    return format;
}

History_Rebuild_Result Rebuild_History_Store(const History_Settings& settings, const Reading_Progress& progress)
{
    History_Rebuild_Result result;
    const Target_Log_Format format = Format_With_Known_Patterns(settings);
    bool missing = false;
    bool stopped = false;
    if (!Read_Target_Log_File(settings.Target_Log_File_Name, format, progress, result.Reading, result.Failure, missing,
                              stopped))
    {
        result.Target_Log_Unreadable = !missing;
        return result;
    }
    if (stopped)
    {
        result.Failure = "reading the target log was stopped";
        return result;
    }
    if (!result.Reading.Pattern_Problem.empty())
    {
        result.Failure = result.Reading.Pattern_Problem;
        return result;
    }
    // The mark of the part that was read: what an export appended meanwhile is read at the
    // next load.
    std::optional<Target_Log_Mark> mark = Mark_Target_Log_Part(settings.Target_Log_File_Name, result.Reading.Bytes);
    if (mark) mark->Lines = result.Reading.Lines;
    result.Written = History_Store::Write_New(settings.Store_Path(), result.Reading.Days, result.Failure, mark,
                                              result.Reading.Line_Patterns, result.Reading.Day_Pattern_Indexes);
    return result;
}

namespace
{

// The days read from the target log's new part joined to the stored ones: a later date is
// added, a date that is stored already must hold the same day (the export stored it);
// anything else needs the whole log read again (none then).
std::optional<std::vector<History_Day>> Days_Joined(const std::vector<History_Day>& stored,
                                                    const std::vector<History_Day>& read)
{
    std::vector<History_Day> added;
    for (const History_Day& day : read)
    {
        const auto same =
            std::lower_bound(stored.begin(), stored.end(), day.Date,
                             [](const History_Day& kept, const Calendar_Date& date) { return kept.Date < date; });
        if (same != stored.end() && same->Date == day.Date)
        {
            if (!(*same == day)) return std::nullopt;
            continue;
        }
        if (!stored.empty() && day.Date < stored.back().Date) return std::nullopt;
        added.push_back(day);
    }
    return added;
}

}  // namespace

History_Days History_Days::Load(const History_Settings& settings, Missing_Store missing,
                                const Reading_Progress& progress, const std::optional<History_Period>& only)
{
    History_Days loaded;
    loaded.Full_Time_Minutes = settings.Full_Time_Minutes;
    loaded.Target_Calendar = settings.Calendar();
    loaded.No_Work_Type_Name = settings.No_Work_Type_Name;
    bool have_days = false;
    bool stale = false;
    std::optional<Target_Log_Mark> stored_mark;
    std::optional<Target_Log_Mark> now;
    {
        History_Store store(settings.Store_Path(), History_Store::Mode::Read);
        // A read-only database cannot have taken the latest exports: the target log counts.
        if (store.Check().State == History_Store_State::Ready)
        {
            stored_mark = store.Read_Target_Log_Mark();
            now = Mark_Target_Log(settings.Target_Log_File_Name);
            // Up to date (or no target log to compare with): a period needs its own days only.
            const bool current = !now || (stored_mark && Target_Log_Unchanged(*stored_mark, *now));
            have_days = current && only && only->Kind != History_Period_Kind::All
                            ? store.Read_Days_Between(only->From, only->To, loaded.All_Days)
                            : store.Read_All_Days(loaded.All_Days);
        }
        loaded.Store_State = store.Check();
    }
    // The target log changed since it was read in (by an export or by hand): a log that only
    // grew has its new part read; any other change, or a database that never recorded the
    // log, has the whole log read again.
    if (!have_days) now.reset();
    if (now && !(stored_mark && Target_Log_Unchanged(*stored_mark, *now)))
    {
        bool appended = false;
        if (stored_mark && Target_Log_Grew_From(settings.Target_Log_File_Name, *stored_mark))
        {
            Target_Log_Reading part;
            bool part_missing = false;
            bool stopped = false;
            std::string problem;
            if (Read_Target_Log_File(settings.Target_Log_File_Name, settings.Format, progress, part, problem,
                                     part_missing, stopped, stored_mark->Size, stored_mark->Lines) &&
                !stopped && part.Pattern_Problem.empty() && part.Orphan_Lines == 0)
            {
                if (std::optional<std::vector<History_Day>> added = Days_Joined(loaded.All_Days, part.Days))
                {
                    appended = true;
                    std::optional<Target_Log_Mark> mark =
                        Mark_Target_Log_Part(settings.Target_Log_File_Name, part.Bytes);
                    if (mark && missing == Missing_Store::Read_In)
                    {
                        mark->Lines = part.Lines;
                        History_Store store(settings.Store_Path(), History_Store::Mode::Read_Write);
                        std::string failure;
                        if (store.Check().State == History_Store_State::Ready)
                            store.Add_Read_Days(*added, *mark, failure);
                    }
                    loaded.All_Days.insert(loaded.All_Days.end(), added->begin(), added->end());
                    if (!part.Clean() || part.Summed_Dates > 0)
                    {
                        loaded.Reading = std::move(part);
                        Keep_Only_Findings(*loaded.Reading);
                    }
                }
            }
        }
        if (!appended)
        {
            // Read in anew as if there were no database; without the right to write, in memory.
            have_days = false;
            stale = true;
            loaded.All_Days.clear();
        }
    }
    if (!have_days && (stale || loaded.Store_State.State == History_Store_State::Missing) &&
        missing == Missing_Store::Read_In)
    {
        History_Rebuild_Result rebuilt = Rebuild_History_Store(settings, progress);
        loaded.All_Days = std::move(rebuilt.Reading.Days);
        loaded.Reading = std::move(rebuilt.Reading);
        Keep_Only_Findings(*loaded.Reading);
        if (rebuilt.Written) loaded.Store_State = Check_History_Store(settings.Store_Path());
        else loaded.Load_Problem = rebuilt.Failure;
        loaded.Unreadable = rebuilt.Target_Log_Unreadable;
        have_days = true;
    }
    if (!have_days)
    {
        bool target_log_missing = false;
        bool stopped = false;
        Target_Log_Reading reading;
        if (Read_Target_Log_File(settings.Target_Log_File_Name, settings.Format, progress, reading, loaded.Load_Problem,
                                 target_log_missing, stopped))
        {
            loaded.All_Days = std::move(reading.Days);
            loaded.Reading = std::move(reading);
            Keep_Only_Findings(*loaded.Reading);
        }
        else
        {
            loaded.Reading = Target_Log_Reading{};
            // No target log and no database is a history not begun; a database that cannot
            // be used with no target log to read instead is a history that cannot be read.
            loaded.Unreadable = !target_log_missing || loaded.Store_State.State != History_Store_State::Missing;
        }
    }
    if (std::optional<History_Day> today = Stored_Day_Log_Day(settings))
    {
        today->In_Progress = true;
        auto same_date = std::find_if(loaded.All_Days.begin(), loaded.All_Days.end(),
                                      [&](const History_Day& day) { return day.Date == today->Date; });
        if (same_date != loaded.All_Days.end()) *same_date = std::move(*today);
        else
            loaded.All_Days.insert(
                std::upper_bound(loaded.All_Days.begin(), loaded.All_Days.end(), *today,
                                 [](const History_Day& a, const History_Day& b) { return a.Date < b.Date; }),
                std::move(*today));
    }
    return loaded;
}

std::optional<Calendar_Date> History_Days::First_Day() const
{
    if (All_Days.empty()) return std::nullopt;
    return All_Days.front().Date;
}

std::optional<Calendar_Date> History_Days::Last_Day() const
{
    if (All_Days.empty()) return std::nullopt;
    return All_Days.back().Date;
}

History_Report History_Days::Report(const History_Period& period) const
{
    Full_Time_Calendar calendar = Target_Calendar;
    calendar.Minutes = Full_Time_Minutes;
    return Compute_History_Report(All_Days, period, calendar, No_Work_Type_Name);
}
