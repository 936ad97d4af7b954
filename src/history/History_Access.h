#pragma once
// What the report window and the command line use: the history's settings, the stored
// days loaded once (from the database, or from the target log when the database cannot
// be used), the report of a period, and the rebuild of the database from the target log.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "history/Full_Time_Calendar.h"
#include "history/History_Day.h"
#include "history/History_Period.h"
#include "history/History_Report.h"
#include "history/History_Store.h"
#include "history/Target_Log_Reader.h"
#include "platform/Date_Time_Patterns.h"

struct History_Settings
{
    std::string Program_Directory;     // ends with '/'
    std::string Target_Log_File_Name;  // file system bytes
    Target_Log_Format Format;
    long long Full_Time_Minutes = 480;
    // [Report_Setup]: the weekdays that carry the target and the days off, read from the
    // file named there.
    std::array<bool, 8> Work_Days = Full_Time_Calendar{}.Work_Days;
    std::vector<Calendar_Date> Days_Off{};
    std::string Days_Off_File_Name = "Days_Off.txt";
    // What an empty work type is called (CP1250), from the language file.
    std::string No_Work_Type_Name = "(no type)";

    Full_Time_Calendar Calendar() const { return {Full_Time_Minutes, Work_Days, Days_Off}; }
    std::string Store_Path() const;    // Program_Directory + Work_History.sqlite
    std::string Day_Log_Path() const;  // Program_Directory + Actual_Work_Log.log
};

// From the running program's settings.
History_Settings History_Settings_From(const Program_Paths& paths, const Settings& settings,
                                       const Date_Time_Patterns& patterns);
// From Setup.ini, only reading it (the First_Start marker stays), for the command line.
History_Settings Read_History_Settings(const Program_Paths& paths, const Date_Time_Patterns& patterns);

class History_Days
{
public:
    enum class Missing_Store
    {
        Read_In,              // read the target log into a new database first (the one write)
        Read_In_Memory_Only,  // read the target log, write nothing
    };

    // Loads every day: from the database when it is ready; otherwise (a read-only one
    // included, which the exports cannot keep up to date) from the target log in memory,
    // and Store() says why. Today's day counts as the day log holds it,
    // in place of a stored day of the same date.
    // With a period given, only its days need be loaded (from an up-to-date database, by
    // the date index); Days() then holds those.
    static History_Days Load(const History_Settings& settings, Missing_Store missing,
                             const Reading_Progress& progress = {},
                             const std::optional<History_Period>& only = std::nullopt);

    const History_Store_Check& Store() const { return Store_State; }
    // The target log was read in this load (into a new database or only in memory).
    bool Target_Log_Was_Read() const { return Reading.has_value(); }
    // What that reading found; its days are the loaded ones, held only in Days().
    const std::optional<Target_Log_Reading>& Target_Log() const { return Reading; }
    // Why the target log could not be read, or the new database not written; English.
    const std::string& Problem() const { return Load_Problem; }
    // Neither the database nor the target log could be read: the days are not known, which
    // is not the same as a history with no days yet.
    bool History_Unreadable() const { return Unreadable; }

    const std::vector<History_Day>& Days() const { return All_Days; }  // oldest first
    std::optional<Calendar_Date> First_Day() const;
    std::optional<Calendar_Date> Last_Day() const;

    History_Report Report(const History_Period& period) const;

    long long Full_Time_Minutes = 480;
    Full_Time_Calendar Target_Calendar;  // its Minutes give way to Full_Time_Minutes
    std::string No_Work_Type_Name = "(no type)";

private:
    History_Store_Check Store_State;
    std::optional<Target_Log_Reading> Reading;
    std::string Load_Problem;
    bool Unreadable = false;
    std::vector<History_Day> All_Days;
};

// The report of the days (oldest first) within the period; the full-time target counts
// for each stored day that the calendar gives one, never for the day in progress. Work
// types that differ only in letter case or trailing blanks count as one, named as first
// seen; an empty one is named no_type_name. For All, From and To become the first and last
// stored day.
History_Report Compute_History_Report(const std::vector<History_Day>& days, const History_Period& period,
                                      const Full_Time_Calendar& calendar, const std::string& no_type_name);
// Monday to Friday carry the target; an empty type keeps the English name.
History_Report Compute_History_Report(const std::vector<History_Day>& days, const History_Period& period,
                                      long long full_time_minutes);

// The settings' target log format, trying also every pattern the stored days were written
// with and the default: a changed pattern loses no day.
Target_Log_Format Format_With_Known_Patterns(const History_Settings& settings);

struct History_Rebuild_Result
{
    bool Written = false;
    std::string Failure;                 // English; why nothing was written
    bool Target_Log_Unreadable = false;  // it exists but could not be read
    Target_Log_Reading Reading;          // what the target log held
};

// Reads the whole target log and writes a new database from it, replacing the old one
// (damaged or not). A pattern that cannot be read back writes nothing. Progress may stop it.
History_Rebuild_Result Rebuild_History_Store(const History_Settings& settings, const Reading_Progress& progress = {});
