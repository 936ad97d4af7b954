#pragma once
// What the report window shows, as one CSV table (UTF-8, RFC 4180 quoting, CRLF): a row
// per stored day with its worked time, target, overtime, running balance and the minutes
// of each work type of the period, then a row "total" for the whole period.
#include <string>

#include "history/History_Report.h"

std::string Report_Csv(const History_Report& report);

// One field, quoted when it holds a comma, a quote or a line break.
std::string Csv_Field(const std::string& utf8_text);
