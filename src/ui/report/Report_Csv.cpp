#include "ui/report/Report_Csv.h"

#include <cstdio>
#include <map>

#include "platform/Code_Page.h"

namespace
{

std::string Date_Text(const Calendar_Date& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

}  // namespace

std::string Csv_Field(const std::string& utf8_text)
{
    if (utf8_text.find_first_of(",\"\r\n") == std::string::npos) return utf8_text;
    std::string quoted = "\"";
    for (const char character : utf8_text)
    {
        if (character == '"') quoted += '"';
        quoted += character;
    }
    return quoted + "\"";
}

std::string Report_Csv(const History_Report& report)
{
    std::string csv = "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes";
    std::map<std::string, std::size_t> column_of;
    for (const Work_Type_Minutes& type : report.By_Work_Type)
    {
        column_of.emplace(type.Work_Type, column_of.size());
        csv += "," + Csv_Field(Cp1250_To_Utf8(type.Work_Type));
    }
    csv += "\r\n";
    const auto append_row = [&](const std::string& first, long long worked, long long full_time, long long overtime,
                                long long balance, const std::vector<Work_Type_Minutes>& types) {
        std::vector<long long> minutes(column_of.size(), 0);
        for (const Work_Type_Minutes& type : types)
        {
            const auto column = column_of.find(type.Work_Type);
            if (column != column_of.end()) minutes[column->second] += type.Minutes;
        }
        csv += first + "," + std::to_string(worked) + "," + std::to_string(full_time) + "," + std::to_string(overtime) +
               "," + std::to_string(balance);
        for (const long long value : minutes) csv += "," + std::to_string(value);
        csv += "\r\n";
    };
    for (const History_Report_Day& day : report.Days)
        append_row(Date_Text(day.Date), day.Worked_Minutes, day.Full_Time_Minutes, day.Overtime_Minutes,
                   day.Balance_Minutes, day.By_Work_Type);
    append_row("total", report.Worked_Minutes, report.Full_Time_Minutes, report.Overtime_Balance_Minutes,
               report.Overtime_Balance_Minutes, report.By_Work_Type);
    return csv;
}
