#include "ui/main/System_Date_Time_Patterns.h"

#include <QLocale>

#include "ui/controls/Ui_Text.h"

Date_Time_Patterns Patterns_From_Locale(const std::string& short_date, const std::string& long_time)
{
    Date_Time_Patterns patterns;
    const bool words = short_date.find("MMM") != std::string::npos || short_date.find("ddd") != std::string::npos;
    if (!short_date.empty() && !words) patterns.Short_Date = Widen_Short_Date_Pattern(short_date);
    if (!long_time.empty()) patterns.Long_Time = Strip_Time_Zone_From_Pattern(long_time);
    return patterns;
}

Date_Time_Patterns System_Date_Time_Patterns()
{
    const QLocale locale = QLocale::system();
    return Patterns_From_Locale(To_Cp1250(locale.dateFormat(QLocale::ShortFormat)),
                                To_Cp1250(locale.timeFormat(QLocale::LongFormat)));
}
