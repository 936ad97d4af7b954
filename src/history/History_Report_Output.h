#pragma once
// The command line's machine-readable forms beyond the shared CSV: the records as CSV, every
// report as JSON, and the figures in decimal hours instead of minutes.
#include <string>
#include <vector>

#include "history/History_Records.h"
#include "history/History_Report.h"

enum class Figure_Unit
{
    Minutes,  // whole minutes
    Hours,    // decimal hours with two decimals
};

// The figure in the unit: "450" or "7.50"; the unit's name for headers and keys.
std::string Figure_Text(long long minutes, Figure_Unit unit);
const char* Figure_Unit_Name(Figure_Unit unit);

// CSV as the shared one, with "hours" in the headers and decimal hours in place of minutes.
std::string Work_Type_Csv(const History_Report& report, Figure_Unit unit);
std::string Days_Csv(const History_Report& report, Figure_Unit unit);
// "date,time_span,work_type,minutes,remark", a row per record.
std::string Records_Csv(const std::vector<History_Record>& records, Figure_Unit unit);

// One JSON object, UTF-8, with a line feed at its end. A filtered report has no full time.
std::string Work_Type_Json(const History_Report& report, Figure_Unit unit, bool filtered);
std::string Days_Json(const History_Report& report, Figure_Unit unit);
std::string Records_Json(const History_Report& report, const std::vector<History_Record>& records, Figure_Unit unit);

// A JSON string of CP1250 text, quotes included.
std::string Json_String(const std::string& cp1250_text);
