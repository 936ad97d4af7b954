#include "history/History_Command_Line.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "history/History_Records.h"
#include "history/History_Report_Output.h"
#include "platform/Code_Page.h"

namespace
{

// Options of the window system's toolkit (with one dash or two): they start the window, not
// the command line. The first ones take a value, as the next argument or after '='.
constexpr std::size_t Toolkit_Options_With_Value = 12;
constexpr std::array<std::string_view, 17> Toolkit_Options = {"platform",
                                                              "platformpluginpath",
                                                              "platformtheme",
                                                              "plugin",
                                                              "qwindowgeometry",
                                                              "qwindowicon",
                                                              "qwindowtitle",
                                                              "session",
                                                              "display",
                                                              "geometry",
                                                              "style",
                                                              "stylesheet",
                                                              "reverse",
                                                              "widgetcount",
                                                              "nograb",
                                                              "dograb",
                                                              "sync"};

std::string Usage(const std::string& program)
{
    return "Usage: " + program +
           " --report week|month|year|all [--previous | --from YYYY-MM-DD --to YYYY-MM-DD]\n"
           "           [--days | --records] [--types A,B] [--remark TEXT] [--csv | --json] [--hours] [--rebuild]\n"
           "       " +
           program + " --rebuild\n       " + program +
           " --help | --version\n"
           "\n"
           "Prints the time of the history for a period, without starting the window:\n"
           "  --report PERIOD  this week (Monday to Sunday), this month, this year, or all days\n"
           "  --previous       the week, month or year before this one\n"
           "  --from, --to     the first and the last day instead (both, as YYYY-MM-DD)\n"
           "  --days           one row per stored day: worked time, full time, overtime, balance\n"
           "  --records        one row per record: date, time span, work type, time, remark\n"
           "  --types A,B      count only these work types (letter case aside)\n"
           "  --remark TEXT    count only records whose remark holds TEXT (letter case aside)\n"
           "  --csv            UTF-8 CSV instead of a table\n"
           "  --json           JSON instead of a table\n"
           "  --hours          decimal hours with two decimals instead of minutes or HH:MM\n"
           "  --rebuild        read the target log into the history database anew first\n"
           "  --help           this text\n"
           "  --version        the program's version\n";
}

struct Request
{
    bool Help = false;
    bool Version = false;
    std::optional<History_Period_Kind> Kind;
    bool Previous = false;
    std::optional<Calendar_Date> From;
    std::optional<Calendar_Date> To;
    bool Days = false;
    bool Records = false;
    bool Csv = false;
    bool Json = false;
    bool Hours = false;
    bool Rebuild = false;
    std::optional<History_Record_Filter> Filter;
};

// The comma-separated names, none of them empty.
std::optional<std::vector<std::string>> Work_Type_List(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true)
    {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        names.push_back(Utf8_To_Cp1250(std::string_view(text).substr(start, comma - start)));
        if (names.back().find_first_not_of(' ') == std::string::npos) return std::nullopt;
        if (comma == text.size()) return names;
        start = comma + 1;
    }
}

// None, with the reason, when the arguments are not a valid request.
std::optional<Request> Parse(const std::vector<std::string>& arguments, std::string& problem)
{
    Request request;
    bool types_given = false;
    bool remark_given = false;
    for (std::size_t index = 0; index < arguments.size(); ++index)
    {
        std::string name = arguments[index];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto take_value = [&]() -> std::optional<std::string> {
            if (value) return value;
            if (index + 1 < arguments.size()) return arguments[++index];
            return std::nullopt;
        };
        const std::array<std::pair<std::string_view, bool*>, 9> flags = {{{"--help", &request.Help},
                                                                          {"--version", &request.Version},
                                                                          {"--days", &request.Days},
                                                                          {"--records", &request.Records},
                                                                          {"--csv", &request.Csv},
                                                                          {"--json", &request.Json},
                                                                          {"--hours", &request.Hours},
                                                                          {"--previous", &request.Previous},
                                                                          {"--rebuild", &request.Rebuild}}};
        const auto flag = std::find_if(flags.begin(), flags.end(), [&](const auto& entry) {
            return entry.first == (name == "-h" ? "--help" : name);
        });
        if (flag != flags.end())
        {
            if (value || *flag->second) return problem = name + " is given twice or with a value", std::nullopt;
            *flag->second = true;
        }
        else if (name == "--report")
        {
            const std::optional<std::string> kind = take_value();
            if (request.Kind) return problem = "--report is given twice", std::nullopt;
            if (kind == "week") request.Kind = History_Period_Kind::Week;
            else if (kind == "month") request.Kind = History_Period_Kind::Month;
            else if (kind == "year") request.Kind = History_Period_Kind::Year;
            else if (kind == "all") request.Kind = History_Period_Kind::All;
            else return problem = "--report takes week, month, year or all", std::nullopt;
        }
        else if (name == "--from" || name == "--to")
        {
            std::optional<Calendar_Date>& target = name == "--from" ? request.From : request.To;
            const std::optional<std::string> text = take_value();
            if (target) return problem = name + " is given twice", std::nullopt;
            target = text ? Parse_Iso_Date(*text) : std::nullopt;
            if (!target) return problem = name + " takes a date that exists, as YYYY-MM-DD", std::nullopt;
        }
        else if (name == "--types")
        {
            const std::optional<std::string> text = take_value();
            const std::optional<std::vector<std::string>> names = text ? Work_Type_List(*text) : std::nullopt;
            if (types_given || !names) return problem = "--types takes work types once, as A,B", std::nullopt;
            types_given = true;
            if (!request.Filter) request.Filter.emplace();
            request.Filter->Work_Types = *names;
        }
        else if (name == "--remark")
        {
            const std::optional<std::string> text = take_value();
            if (remark_given || !text || text->empty()) return problem = "--remark takes a text once", std::nullopt;
            remark_given = true;
            if (!request.Filter) request.Filter.emplace();
            request.Filter->Remark_Text = Utf8_To_Cp1250(*text);
        }
        else
        {
            return problem = "unknown option " + arguments[index], std::nullopt;
        }
    }
    if (request.Help || request.Version)
    {
        if (arguments.size() != 1) return problem = "--help and --version stand alone", std::nullopt;
        return request;
    }
    if (!request.Kind && !(request.Rebuild && arguments.size() == 1))
        return problem = "--report is missing", std::nullopt;
    if (request.From.has_value() != request.To.has_value())
        return problem = "--from and --to go together", std::nullopt;
    if (request.From && *request.To < *request.From) return problem = "--to comes before --from", std::nullopt;
    if (request.Previous && (request.From || request.Kind == History_Period_Kind::All))
        return problem = "--previous goes with week, month or year alone", std::nullopt;
    if (request.Csv && request.Json) return problem = "--csv and --json contradict each other", std::nullopt;
    if (request.Days && request.Records) return problem = "--days and --records contradict each other", std::nullopt;
    // A day's full time and overtime are about all of its work, never a part of it.
    if (request.Days && request.Filter)
        return problem = "--days counts whole days; --types and --remark go with the work types or --records",
               std::nullopt;
    return request;
}

std::size_t Display_Width(const std::string& utf8_text)
{
    return static_cast<std::size_t>(std::count_if(
        utf8_text.begin(), utf8_text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, std::size_t width, bool right_aligned = false)
{
    const std::size_t shown = Display_Width(text);
    const std::string padding(shown < width ? width - shown : 0, ' ');
    return right_aligned ? padding + text : text + padding;
}

std::string Share_Text(long long minutes, long long total)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", total > 0 ? 100.0 * double(minutes) / double(total) : 0.0);
    return text;
}

// HH:MM, or decimal hours when asked for.
std::string Time_Text(Figure_Unit unit, long long minutes)
{
    return unit == Figure_Unit::Minutes ? Minutes_As_Hours_Text(minutes) : Figure_Text(minutes, unit);
}

std::string Signed_Time_Text(Figure_Unit unit, long long minutes)
{
    return (minutes > 0 ? "+" : "") + Time_Text(unit, minutes);
}

std::string Period_Line(const History_Report& report)
{
    if (report.Days.empty() && report.From == Calendar_Date{}) return "No stored days.\n";
    return "From " + Iso_Date_Text(report.From) + " to " + Iso_Date_Text(report.To) + ", " +
           std::to_string(report.Days.size()) + " stored day(s)\n";
}

std::string Work_Type_Table(const History_Report& report, Figure_Unit unit, bool filtered)
{
    long long total = 0;
    std::size_t name_width = std::string_view("Work type").size();
    std::vector<std::string> names;
    for (const Work_Type_Minutes& entry : report.By_Work_Type)
    {
        names.push_back(Cp1250_To_Utf8(entry.Work_Type));
        name_width = std::max(name_width, Display_Width(names.back()));
        total += entry.Minutes;
    }
    std::size_t time_width = std::max<std::size_t>(5, Time_Text(unit, total).size());
    std::string table = Period_Line(report) + "\n";
    table += Padded("Work type", name_width) + "  " + Padded("Time", time_width, true) + "  " +
             Padded("Share", 7, true) + '\n';
    for (std::size_t index = 0; index < names.size(); ++index)
        table += Padded(names[index], name_width) + "  " +
                 Padded(Time_Text(unit, report.By_Work_Type[index].Minutes), time_width, true) + "  " +
                 Padded(Share_Text(report.By_Work_Type[index].Minutes, total), 7, true) + '\n';
    table += Padded("Total", name_width) + "  " + Padded(Time_Text(unit, total), time_width, true) + "  " +
             Padded(Share_Text(total, total), 7, true) + '\n';
    if (filtered) return table + "\nCounted only the records that match --types and --remark.\n";
    table += "\nWorked " + Time_Text(unit, report.Worked_Minutes) + ", full time " +
             Time_Text(unit, report.Full_Time_Minutes) + ", overtime balance " +
             Signed_Time_Text(unit, report.Overtime_Balance_Minutes) + '\n';
    return table;
}

std::string Days_Table(const History_Report& report, Figure_Unit unit)
{
    const std::array<std::string, 5> headers = {"Date", "Worked", "Full time", "Overtime", "Balance"};
    std::vector<std::array<std::string, 5>> rows;
    std::array<std::size_t, 5> widths{};
    for (std::size_t column = 0; column < 5; ++column) widths[column] = headers[column].size();
    for (const History_Report_Day& day : report.Days)
    {
        rows.push_back({Iso_Date_Text(day.Date), Time_Text(unit, day.Worked_Minutes),
                        Time_Text(unit, day.Full_Time_Minutes), Signed_Time_Text(unit, day.Overtime_Minutes),
                        Signed_Time_Text(unit, day.Balance_Minutes)});
        for (std::size_t column = 0; column < 5; ++column)
            widths[column] = std::max(widths[column], rows.back()[column].size());
    }
    const auto line = [&](const std::array<std::string, 5>& cells) {
        std::string text = Padded(cells[0], widths[0]);
        for (std::size_t column = 1; column < 5; ++column) text += "  " + Padded(cells[column], widths[column], true);
        return text + '\n';
    };
    std::string table = Period_Line(report) + "\n" + line(headers);
    for (const auto& row : rows) table += line(row);
    return table;
}

std::string Records_Table(const History_Report& report, const std::vector<History_Record>& records, Figure_Unit unit)
{
    const std::array<std::string, 5> headers = {"Date", "Time span", "Work type", "Time", "Remark"};
    std::vector<std::array<std::string, 5>> rows;
    std::array<std::size_t, 5> widths{};
    for (std::size_t column = 0; column < 5; ++column) widths[column] = headers[column].size();
    for (const History_Record& record : records)
    {
        rows.push_back({Iso_Date_Text(record.Date), Cp1250_To_Utf8(record.Time_Span), Cp1250_To_Utf8(record.Work_Type),
                        Time_Text(unit, record.Minutes), Cp1250_To_Utf8(record.Remark)});
        for (std::size_t column = 0; column < 5; ++column)
            widths[column] = std::max(widths[column], Display_Width(rows.back()[column]));
    }
    const auto line = [&](const std::array<std::string, 5>& cells) {
        std::string text;
        for (std::size_t column = 0; column < 4; ++column)
            text += Padded(cells[column], widths[column], column == 3) + "  ";
        return text + cells[4] + '\n';
    };
    std::string table = Period_Line(report) + "\n" + line(headers);
    for (const auto& row : rows) table += line(row);
    return table;
}

bool Folder_Is_Writable(const std::string& directory) { return ::access(directory.c_str(), W_OK) == 0; }

}  // namespace

bool Is_History_Command_Line(const std::vector<std::string>& arguments)
{
    // Anything but the toolkit's own options is the command line's, which refuses what it
    // does not know: a mistyped option must never start the window with a day's changes.
    for (std::size_t index = 0; index < arguments.size(); ++index)
    {
        const std::string& argument = arguments[index];
        if (argument.size() < 2 || argument[0] != '-') return true;
        std::string_view name = std::string_view(argument).substr(argument.rfind("--", 0) == 0 ? 2 : 1);
        const std::size_t equals = name.find('=');
        const bool value_given = equals != std::string_view::npos;
        name = name.substr(0, equals);
        const auto found = std::find(Toolkit_Options.begin(), Toolkit_Options.end(), name);
        if (found == Toolkit_Options.end()) return true;
        const bool takes_value = std::size_t(found - Toolkit_Options.begin()) < Toolkit_Options_With_Value;
        if (takes_value && !value_given && ++index == arguments.size()) return true;
        if (!takes_value && value_given) return true;
    }
    return false;
}

int Run_History_Command_Line(const std::vector<std::string>& arguments,
                             const History_Command_Line_Environment& environment,
                             const std::function<History_Settings()>& settings_source)
{
    std::string problem;
    const std::optional<Request> request = Parse(arguments, problem);
    if (!request)
    {
        std::fprintf(environment.Err, "%s: %s\n%s", environment.Program_Name.c_str(), problem.c_str(),
                     Usage(environment.Program_Name).c_str());
        return 2;
    }
    if (request->Help)
    {
        std::fputs(Usage(environment.Program_Name).c_str(), environment.Out);
        return 0;
    }
    if (request->Version)
    {
        std::fprintf(environment.Out, "%s %s\n", environment.Program_Name.c_str(), environment.Version.c_str());
        return 0;
    }

    const History_Settings settings = settings_source();
    const auto note = [&](const std::string& text) {
        std::fprintf(environment.Err, "%s: %s\n", environment.Program_Name.c_str(), text.c_str());
    };
    const Figure_Unit unit = request->Hours ? Figure_Unit::Hours : Figure_Unit::Minutes;
    const auto write = [&](const std::string& output) {
        // Work types are kept byte for byte, a zero byte included: the whole text is written.
        const bool written = std::fwrite(output.data(), 1, output.size(), environment.Out) == output.size();
        return written && std::fflush(environment.Out) == 0 ? 0 : 1;
    };

    if (request->Rebuild)
    {
        const History_Rebuild_Result rebuilt = Rebuild_History_Store(settings);
        if (!rebuilt.Reading.Clean()) note(rebuilt.Reading.Problems_Text());
        if (!rebuilt.Written)
        {
            note("the history database was not rebuilt: " + rebuilt.Failure);
            return 1;
        }
        note("the target log was read in anew: " + std::to_string(rebuilt.Reading.Days.size()) + " day(s)");
        if (!request->Kind) return 0;
    }

    History_Period period = request->From ? Custom_History_Period(*request->From, *request->To)
                                          : History_Period_Containing(*request->Kind, environment.Today);
    if (request->Previous) period = Previous_History_Period(period);

    // Single records live only in the target log (and the day log): a listing or a part of
    // the work is read from there.
    if (request->Records || request->Filter)
    {
        History_Records_Reading reading = Read_History_Records(settings, period.From, period.To);
        if (!reading.Problem.empty())
        {
            note(reading.Problem);
            return 1;
        }
        if (!reading.Reading_Problems.empty()) note(reading.Reading_Problems);
        if (request->Filter)
            std::erase_if(reading.Records,
                          [&](const History_Record& record) { return !request->Filter->Matches(record); });
        Full_Time_Calendar no_target;
        no_target.Minutes = 0;
        const History_Report report =
            Compute_History_Report(Days_Of_Records(reading.Records), period, no_target, settings.No_Work_Type_Name);
        const bool filtered = request->Filter.has_value();
        if (request->Records)
            return write(request->Csv    ? Records_Csv(reading.Records, unit)
                         : request->Json ? Records_Json(report, reading.Records, unit)
                                         : Records_Table(report, reading.Records, unit));
        return write(request->Csv    ? Work_Type_Csv(report, unit)
                     : request->Json ? Work_Type_Json(report, unit, filtered)
                                     : Work_Type_Table(report, unit, filtered));
    }

    // Reading the target log into a new database is the one write; a folder that cannot
    // be written gets the same report from memory.
    const bool writable = Folder_Is_Writable(settings.Program_Directory);
    // Only the period's days are loaded (by the date index, when the database is up to date).
    const History_Days days = History_Days::Load(
        settings, writable ? History_Days::Missing_Store::Read_In : History_Days::Missing_Store::Read_In_Memory_Only,
        {}, period);

    const History_Store_Check& store = days.Store();
    if (store.State != History_Store_State::Ready && store.State != History_Store_State::Missing)
        note(store.Detail + (days.History_Unreadable()
                                 ? "; the target log cannot be read instead"
                                 : "; the report was read from the target log; the report window (key R) rebuilds it"));
    if (store.State == History_Store_State::Missing && days.Target_Log_Was_Read() && days.Problem().empty() &&
        !writable)
        note("the folder " + settings.Program_Directory + " cannot be written; the target log was read in memory");
    if (!days.Problem().empty()) note(days.Problem());
    if (days.Target_Log() && !days.Target_Log()->Clean()) note(days.Target_Log()->Problems_Text());
    if (days.Target_Log() && !days.Target_Log()->Pattern_Problem.empty()) return 1;
    if (days.History_Unreadable()) return 1;

    const History_Report report = days.Report(period);
    if (request->Days)
        return write(request->Csv    ? Days_Csv(report, unit)
                     : request->Json ? Days_Json(report, unit)
                                     : Days_Table(report, unit));
    return write(request->Csv    ? Work_Type_Csv(report, unit)
                 : request->Json ? Work_Type_Json(report, unit, false)
                                 : Work_Type_Table(report, unit, false));
}

std::string Executable_Directory()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}
