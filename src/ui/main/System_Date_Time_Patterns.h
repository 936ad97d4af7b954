#pragma once
// The date and time patterns of the user's locale, as the day log and the protocol use them.
#include <string>

#include "platform/Date_Time_Patterns.h"

// From the locale's short date and long time patterns: a four-digit year, no time zone. A
// short date that names the month or the weekday in words (Qt's C locale gives
// "d MMM yyyy") could not be read back from the day log, so the numeric default is kept.
Date_Time_Patterns Patterns_From_Locale(const std::string& short_date, const std::string& long_time);

// The same from QLocale::system().
Date_Time_Patterns System_Date_Time_Patterns();
