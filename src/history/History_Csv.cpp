#include "history/History_Csv.h"

#include <cstdlib>

#include "history/Calendar.h"
#include "platform/Code_Page.h"

std::string History_Csv_Field(const std::string& utf8_text)
{
    if (utf8_text.find_first_of(",\"\r\n") == std::string::npos) return utf8_text;
    std::string quoted = "\"";
    for (char character : utf8_text)
    {
        if (character == '"') quoted += '"';
        quoted += character;
    }
    return quoted + '"';
}

std::string Minutes_As_Hours_Text(long long minutes)
{
    const long long magnitude = std::llabs(minutes);
    std::string hours = std::to_string(magnitude / 60);
    if (hours.size() < 2) hours.insert(0, 1, '0');
    const long long rest = magnitude % 60;
    return (minutes < 0 ? "-" : "") + hours + ':' + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string Work_Type_Csv(const History_Report& report)
{
    std::string csv = "work_type,minutes\n";
    long long total = 0;
    for (const Work_Type_Minutes& entry : report.By_Work_Type)
    {
        csv += History_Csv_Field(Cp1250_To_Utf8(entry.Work_Type)) + ',' + std::to_string(entry.Minutes) + '\n';
        total += entry.Minutes;
    }
    csv += "total," + std::to_string(total) + '\n';
    if (report.Booked_Beyond_Worked_Minutes != 0)
        csv += "booked_beyond_worked," + std::to_string(report.Booked_Beyond_Worked_Minutes) + '\n';
    return csv;
}

std::string Days_Csv(const History_Report& report)
{
    std::string csv = "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n";
    for (const History_Report_Day& day : report.Days)
        csv += Iso_Date_Text(day.Date) + ',' + std::to_string(day.Worked_Minutes) + ',' +
               std::to_string(day.Full_Time_Minutes) + ',' + std::to_string(day.Overtime_Minutes) + ',' +
               std::to_string(day.Balance_Minutes) + ',' + (day.In_Progress ? "in_progress" : "stored") + '\n';
    return csv;
}
