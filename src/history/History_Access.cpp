#include "history/History_Access.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "config/Settings_File.h"
#include "history/Calendar.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Log_File.h"

namespace
{

// The target log's text, or why it cannot be read; missing is set when there is none.
bool Read_Target_Log_File(const std::string& path, std::string& content, std::string& problem, bool* missing = nullptr)
{
    if (Read_Whole_File(path, content)) return true;
    struct stat status
    {
    };
    const bool found = ::stat(path.c_str(), &status) == 0;
    const bool absent = !found && errno == ENOENT;
    if (!found)
        problem =
            "target log " + path + (absent ? " not found" : std::string(" cannot be read: ") + std::strerror(errno));
    else problem = "target log " + path + " cannot be read";
    if (missing != nullptr) *missing = absent;
    return false;
}

// The day the day-log file holds as last saved; none when there is none to count.
std::optional<History_Day> Stored_Day_Log_Day(const History_Settings& settings)
{
    std::string content;
    if (!Read_Whole_File(settings.Day_Log_Path(), content)) return std::nullopt;
    std::vector<Work_Record> records;
    for (std::size_t offset = 0; offset + Work_Record_Size <= content.size() && records.size() < Max_Day_Log_Records;
         offset += Work_Record_Size)
        records.push_back(Decode_Work_Record(std::string_view(content).substr(offset, Work_Record_Size)));
    if (records.empty()) return std::nullopt;
    const std::optional<Date_Time> date = Parse_Date(records[0][Date_Field], settings.Format.Short_Date_Pattern);
    if (!date) return std::nullopt;
    return Count_Day_Records(Calendar_Date_Of(*date), records).Day;
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
    return history;
}

History_Settings Read_History_Settings(const Program_Paths& paths, const Date_Time_Patterns& patterns)
{
    // The start-up's reading, file names included, without its First_Start handling.
    return History_Settings_From(paths, Read_Settings(paths), patterns);
}

History_Report Compute_History_Report(const std::vector<History_Day>& days, const History_Period& period,
                                      long long full_time_minutes)
{
    History_Report report;
    report.From = period.From;
    report.To = period.To;
    std::map<std::string, long long> by_type;
    std::vector<std::string> first_seen;
    for (const History_Day& day : days)
    {
        if (day.Date < period.From || period.To < day.Date) continue;
        History_Report_Day shown;
        shown.Date = day.Date;
        shown.Worked_Minutes = day.Worked_Minutes;
        shown.Full_Time_Minutes = full_time_minutes;
        shown.Overtime_Minutes = day.Worked_Minutes - full_time_minutes;
        report.Overtime_Balance_Minutes += shown.Overtime_Minutes;
        shown.Balance_Minutes = report.Overtime_Balance_Minutes;
        shown.By_Work_Type = day.By_Work_Type;
        report.Worked_Minutes += day.Worked_Minutes;
        report.Full_Time_Minutes += full_time_minutes;
        for (const Work_Type_Minutes& entry : day.By_Work_Type)
        {
            if (entry.Minutes <= 0) continue;
            by_type[entry.Work_Type] += entry.Minutes;
        }
        report.Days.push_back(std::move(shown));
    }
    std::sort(report.Days.begin(), report.Days.end(),
              [](const History_Report_Day& a, const History_Report_Day& b) { return a.Date < b.Date; });
    // The running balance follows the date order.
    long long balance = 0;
    for (History_Report_Day& day : report.Days) day.Balance_Minutes = balance += day.Overtime_Minutes;
    for (const auto& [work_type, minutes] : by_type) report.By_Work_Type.push_back({work_type, minutes});
    std::stable_sort(report.By_Work_Type.begin(), report.By_Work_Type.end(),
                     [](const Work_Type_Minutes& a, const Work_Type_Minutes& b) { return a.Minutes > b.Minutes; });
    if (period.Kind == History_Period_Kind::All)
    {
        report.From = report.Days.empty() ? Calendar_Date{} : report.Days.front().Date;
        report.To = report.Days.empty() ? Calendar_Date{} : report.Days.back().Date;
    }
    return report;
}

History_Rebuild_Result Rebuild_History_Store(const History_Settings& settings, const Reading_Progress& progress)
{
    History_Rebuild_Result result;
    std::string content;
    bool missing = false;
    if (!Read_Target_Log_File(settings.Target_Log_File_Name, content, result.Failure, &missing))
    {
        result.Target_Log_Unreadable = !missing;
        return result;
    }
    bool stopped = false;
    const Reading_Progress watched = [&](std::uint64_t done, std::uint64_t total) {
        if (progress && !progress(done, total)) stopped = true;
        return !stopped;
    };
    result.Reading = Read_Target_Log_Text(content, settings.Format, watched);
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
    result.Written = History_Store::Write_New(settings.Store_Path(), result.Reading.Days, result.Failure);
    return result;
}

History_Days History_Days::Load(const History_Settings& settings, Missing_Store missing,
                                const Reading_Progress& progress)
{
    History_Days loaded;
    loaded.Full_Time_Minutes = settings.Full_Time_Minutes;
    bool have_days = false;
    {
        History_Store store(settings.Store_Path(), History_Store::Mode::Read);
        // A read-only database cannot have taken the latest exports: the target log counts.
        have_days = store.Check().State == History_Store_State::Ready && store.Read_All_Days(loaded.All_Days);
        loaded.Store_State = store.Check();
    }
    if (!have_days && loaded.Store_State.State == History_Store_State::Missing && missing == Missing_Store::Read_In)
    {
        History_Rebuild_Result rebuilt = Rebuild_History_Store(settings, progress);
        loaded.All_Days = rebuilt.Reading.Days;
        loaded.Reading = std::move(rebuilt.Reading);
        if (rebuilt.Written) loaded.Store_State = Check_History_Store(settings.Store_Path());
        else loaded.Load_Problem = rebuilt.Failure;
        loaded.Unreadable = rebuilt.Target_Log_Unreadable;
        have_days = true;
    }
    if (!have_days)
    {
        std::string content;
        bool target_log_missing = false;
        if (Read_Target_Log_File(settings.Target_Log_File_Name, content, loaded.Load_Problem, &target_log_missing))
            loaded.Reading = Read_Target_Log_Text(content, settings.Format, progress);
        else
        {
            loaded.Reading = Target_Log_Reading{};
            // No target log and no database is a history not begun; a database that cannot
            // be used with no target log to read instead is a history that cannot be read.
            loaded.Unreadable = !target_log_missing || loaded.Store_State.State != History_Store_State::Missing;
        }
        loaded.All_Days = loaded.Reading->Days;
    }
    if (std::optional<History_Day> today = Stored_Day_Log_Day(settings))
    {
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
    return Compute_History_Report(All_Days, period, Full_Time_Minutes);
}
