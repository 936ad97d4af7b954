#pragma once
// The short date pattern of the user's locale, as the window program last worked it out,
// kept for the report command line: that pattern comes from the toolkit's locale data,
// and loading the toolkit would cost the command line more than its whole report.
// An entry counts only for the locale settings and the window program it was made with.
#include <optional>
#include <string>

struct Date_Pattern_Cache_Key
{
    std::string Locale;          // LC_ALL, LC_TIME and LANG as set
    std::string Window_Program;  // the window program's size and change time
    std::string Text() const { return Locale + '|' + Window_Program; }
};

// From the process environment and the window program at that path; none when the
// program cannot be looked at.
std::optional<Date_Pattern_Cache_Key> Process_Date_Pattern_Cache_Key(const std::string& window_program_path);

// $XDG_CACHE_HOME/zentavo-logger/date-pattern, or under ~/.cache; empty when neither is known.
std::string Date_Pattern_Cache_Path();

// The pattern kept for that key; none when the file holds another key or none.
std::optional<std::string> Read_Date_Pattern_Cache(const std::string& path, const Date_Pattern_Cache_Key& key);
// Keeps the pattern for the key (written aside and renamed); false when it could not be.
bool Write_Date_Pattern_Cache(const std::string& path, const Date_Pattern_Cache_Key& key,
                              const std::string& short_date_pattern);
