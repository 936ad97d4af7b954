#include "history/History_Report_Output.h"

#include <cstdio>
#include <cstdlib>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "platform/Code_Page.h"

namespace
{

long long Total_Minutes(const History_Report& report)
{
    long long total = 0;
    for (const Work_Type_Minutes& entry : report.By_Work_Type) total += entry.Minutes;
    return total;
}

std::string Json_Date(const Calendar_Date& date)
{
    return date == Calendar_Date{} ? "null" : '"' + Iso_Date_Text(date) + '"';
}

std::string Json_Period(const History_Report& report)
{
    return "\"from\":" + Json_Date(report.From) + ",\"to\":" + Json_Date(report.To);
}

}  // namespace

std::string Figure_Text(long long minutes, Figure_Unit unit)
{
    if (unit == Figure_Unit::Minutes) return std::to_string(minutes);
    // Rounded in whole hundredths, so that no binary fraction decides the last digit.
    const long long hundredths = (std::llabs(minutes) * 100 + 30) / 60;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", minutes < 0 ? "-" : "", hundredths / 100, hundredths % 100);
    return text;
}

const char* Figure_Unit_Name(Figure_Unit unit) { return unit == Figure_Unit::Minutes ? "minutes" : "hours"; }

std::string Work_Type_Csv(const History_Report& report, Figure_Unit unit)
{
    if (unit == Figure_Unit::Minutes) return Work_Type_Csv(report);
    std::string csv = "work_type,hours\n";
    for (const Work_Type_Minutes& entry : report.By_Work_Type)
        csv += History_Csv_Field(Cp1250_To_Utf8(entry.Work_Type)) + ',' + Figure_Text(entry.Minutes, unit) + '\n';
    csv += "total," + Figure_Text(Total_Minutes(report), unit) + '\n';
    if (report.Booked_Beyond_Worked_Minutes != 0)
        csv += "booked_beyond_worked," + Figure_Text(report.Booked_Beyond_Worked_Minutes, unit) + '\n';
    return csv;
}

std::string Days_Csv(const History_Report& report, Figure_Unit unit)
{
    if (unit == Figure_Unit::Minutes) return Days_Csv(report);
    std::string csv = "date,worked_hours,full_time_hours,overtime_hours,balance_hours,state\n";
    for (const History_Report_Day& day : report.Days)
        csv += Iso_Date_Text(day.Date) + ',' + Figure_Text(day.Worked_Minutes, unit) + ',' +
               Figure_Text(day.Full_Time_Minutes, unit) + ',' + Figure_Text(day.Overtime_Minutes, unit) + ',' +
               Figure_Text(day.Balance_Minutes, unit) + ',' + (day.In_Progress ? "in_progress" : "stored") + '\n';
    return csv;
}

std::string Records_Csv(const std::vector<History_Record>& records, Figure_Unit unit)
{
    std::string csv = std::string("date,time_span,work_type,") + Figure_Unit_Name(unit) + ",remark\n";
    for (const History_Record& record : records)
        csv += Iso_Date_Text(record.Date) + ',' + History_Csv_Field(Cp1250_To_Utf8(record.Time_Span)) + ',' +
               History_Csv_Field(Cp1250_To_Utf8(record.Work_Type)) + ',' + Figure_Text(record.Minutes, unit) + ',' +
               History_Csv_Field(Cp1250_To_Utf8(record.Remark)) + '\n';
    return csv;
}

std::string Json_String(const std::string& cp1250_text)
{
    std::string json = "\"";
    for (const char character : Cp1250_To_Utf8(cp1250_text))
    {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\') (json += '\\') += character;
        else if (byte < 0x20)
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        }
        else json += character;
    }
    return json + '"';
}

std::string Work_Type_Json(const History_Report& report, Figure_Unit unit, bool filtered)
{
    const std::string name = Figure_Unit_Name(unit);
    std::string json =
        '{' + Json_Period(report) + ",\"days\":" + std::to_string(report.Days.size()) + ",\"work_types\":[";
    for (std::size_t index = 0; index < report.By_Work_Type.size(); ++index)
        json += std::string(index > 0 ? "," : "") +
                "{\"work_type\":" + Json_String(report.By_Work_Type[index].Work_Type) + ",\"" + name +
                "\":" + Figure_Text(report.By_Work_Type[index].Minutes, unit) + '}';
    json += "],\"total_" + name + "\":" + Figure_Text(Total_Minutes(report), unit);
    if (!filtered)
        json += ",\"worked_" + name + "\":" + Figure_Text(report.Worked_Minutes, unit) + ",\"full_time_" + name +
                "\":" + Figure_Text(report.Full_Time_Minutes, unit) + ",\"overtime_balance_" + name +
                "\":" + Figure_Text(report.Overtime_Balance_Minutes, unit);
    return json + "}\n";
}

std::string Days_Json(const History_Report& report, Figure_Unit unit)
{
    const std::string name = Figure_Unit_Name(unit);
    std::string json = '{' + Json_Period(report) + ",\"days\":[";
    for (std::size_t index = 0; index < report.Days.size(); ++index)
    {
        const History_Report_Day& day = report.Days[index];
        if (index > 0) json += ',';
        json += "{\"date\":";
        json += Json_Date(day.Date);
        for (const auto& [key, minutes] : {std::pair<const char*, long long>{"worked_", day.Worked_Minutes},
                                           {"full_time_", day.Full_Time_Minutes},
                                           {"overtime_", day.Overtime_Minutes},
                                           {"balance_", day.Balance_Minutes}})
        {
            json += ",\"";
            json += key;
            json += name;
            json += "\":";
            json += Figure_Text(minutes, unit);
        }
        json += '}';
    }
    return json + "]}\n";
}

std::string Records_Json(const History_Report& report, const std::vector<History_Record>& records, Figure_Unit unit)
{
    std::string json = '{' + Json_Period(report) + ",\"records\":[";
    for (std::size_t index = 0; index < records.size(); ++index)
    {
        const History_Record& record = records[index];
        json += std::string(index > 0 ? "," : "") + "{\"date\":" + Json_Date(record.Date) +
                ",\"time_span\":" + Json_String(record.Time_Span) + ",\"work_type\":" + Json_String(record.Work_Type) +
                ",\"" + Figure_Unit_Name(unit) + "\":" + Figure_Text(record.Minutes, unit) +
                ",\"remark\":" + Json_String(record.Remark) + '}';
    }
    return json + "]}\n";
}
