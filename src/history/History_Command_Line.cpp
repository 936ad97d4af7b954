#include "history/History_Command_Line.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "platform/Code_Page.h"

namespace
{

// Options of the window system's toolkit, in their double-dash spelling: they start the
// window, not the command line.
constexpr std::array<std::string_view, 17> Toolkit_Options = {"platform",
                                                              "platformpluginpath",
                                                              "platformtheme",
                                                              "plugin",
                                                              "qwindowgeometry",
                                                              "qwindowicon",
                                                              "qwindowtitle",
                                                              "reverse",
                                                              "session",
                                                              "display",
                                                              "geometry",
                                                              "style",
                                                              "stylesheet",
                                                              "widgetcount",
                                                              "nograb",
                                                              "dograb",
                                                              "sync"};

std::string Usage(const std::string& program)
{
    return "Usage: " + program +
           " --report week|month|year|all [--from YYYY-MM-DD --to YYYY-MM-DD] [--days] [--csv]\n"
           "       " +
           program +
           " --help | --version\n"
           "\n"
           "Prints the time of the history for a period, without starting the window:\n"
           "  --report PERIOD  this week (Monday to Sunday), this month, this year, or all days\n"
           "  --from, --to     the first and the last day instead (both, as YYYY-MM-DD)\n"
           "  --days           one row per stored day: worked time, full time, overtime, balance\n"
           "  --csv            UTF-8 CSV instead of a table\n"
           "  --help           this text\n"
           "  --version        the program's version\n";
}

struct Request
{
    bool Help = false;
    bool Version = false;
    std::optional<History_Period_Kind> Kind;
    std::optional<Calendar_Date> From;
    std::optional<Calendar_Date> To;
    bool Days = false;
    bool Csv = false;
};

// None, with the reason, when the arguments are not a valid request.
std::optional<Request> Parse(const std::vector<std::string>& arguments, std::string& problem)
{
    Request request;
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
        const auto flag = [&](bool& target) {
            if (value || target) return false;
            target = true;
            return true;
        };
        if (name == "--help" || name == "-h")
        {
            if (!flag(request.Help)) return problem = "--help takes no value", std::nullopt;
        }
        else if (name == "--version")
        {
            if (!flag(request.Version)) return problem = "--version takes no value", std::nullopt;
        }
        else if (name == "--days")
        {
            if (!flag(request.Days)) return problem = "--days is given twice or with a value", std::nullopt;
        }
        else if (name == "--csv")
        {
            if (!flag(request.Csv)) return problem = "--csv is given twice or with a value", std::nullopt;
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
    if (!request.Kind) return problem = "--report is missing", std::nullopt;
    if (request.From.has_value() != request.To.has_value())
        return problem = "--from and --to go together", std::nullopt;
    if (request.From && *request.To < *request.From) return problem = "--to comes before --from", std::nullopt;
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

std::string Signed_Hours_Text(long long minutes) { return (minutes > 0 ? "+" : "") + Minutes_As_Hours_Text(minutes); }

std::string Period_Line(const History_Report& report)
{
    if (report.Days.empty() && report.From == Calendar_Date{}) return "No stored days.\n";
    return "From " + Iso_Date_Text(report.From) + " to " + Iso_Date_Text(report.To) + ", " +
           std::to_string(report.Days.size()) + " stored day(s)\n";
}

std::string Work_Type_Table(const History_Report& report)
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
    std::size_t time_width = std::max<std::size_t>(5, Minutes_As_Hours_Text(total).size());
    std::string table = Period_Line(report) + "\n";
    table += Padded("Work type", name_width) + "  " + Padded("Time", time_width, true) + "  " +
             Padded("Share", 7, true) + '\n';
    for (std::size_t index = 0; index < names.size(); ++index)
        table += Padded(names[index], name_width) + "  " +
                 Padded(Minutes_As_Hours_Text(report.By_Work_Type[index].Minutes), time_width, true) + "  " +
                 Padded(Share_Text(report.By_Work_Type[index].Minutes, total), 7, true) + '\n';
    table += Padded("Total", name_width) + "  " + Padded(Minutes_As_Hours_Text(total), time_width, true) + "  " +
             Padded(Share_Text(total, total), 7, true) + '\n';
    table += "\nWorked " + Minutes_As_Hours_Text(report.Worked_Minutes) + ", full time " +
             Minutes_As_Hours_Text(report.Full_Time_Minutes) + ", overtime balance " +
             Signed_Hours_Text(report.Overtime_Balance_Minutes) + '\n';
    return table;
}

std::string Days_Table(const History_Report& report)
{
    const std::array<std::string, 5> headers = {"Date", "Worked", "Full time", "Overtime", "Balance"};
    std::vector<std::array<std::string, 5>> rows;
    std::array<std::size_t, 5> widths{};
    for (std::size_t column = 0; column < 5; ++column) widths[column] = headers[column].size();
    for (const History_Report_Day& day : report.Days)
    {
        rows.push_back({Iso_Date_Text(day.Date), Minutes_As_Hours_Text(day.Worked_Minutes),
                        Minutes_As_Hours_Text(day.Full_Time_Minutes), Signed_Hours_Text(day.Overtime_Minutes),
                        Signed_Hours_Text(day.Balance_Minutes)});
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

bool Folder_Is_Writable(const std::string& directory) { return ::access(directory.c_str(), W_OK) == 0; }

}  // namespace

bool Is_History_Command_Line(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
    {
        if (argument == "-h") return true;
        if (argument.rfind("--", 0) != 0) continue;
        const std::string_view name = std::string_view(argument).substr(
            2, argument.find('=') == std::string::npos ? std::string_view::npos : argument.find('=') - 2);
        if (std::find(Toolkit_Options.begin(), Toolkit_Options.end(), name) == Toolkit_Options.end()) return true;
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
    // Reading the target log into a new database is the one write; a folder that cannot
    // be written gets the same report from memory.
    const bool writable = Folder_Is_Writable(settings.Program_Directory);
    const History_Days days = History_Days::Load(
        settings, writable ? History_Days::Missing_Store::Read_In : History_Days::Missing_Store::Read_In_Memory_Only);

    const auto note = [&](const std::string& text) {
        std::fprintf(environment.Err, "%s: %s\n", environment.Program_Name.c_str(), text.c_str());
    };
    const History_Store_Check& store = days.Store();
    if (store.State != History_Store_State::Ready && store.State != History_Store_State::Missing)
        note(store.Detail +
             (days.History_Unreadable() ? "; the target log cannot be read instead"
                                        : "; the report was read from the target log; the report window (key R) rebuilds it"));
    if (store.State == History_Store_State::Missing && days.Target_Log_Was_Read() && days.Problem().empty() &&
        !writable)
        note("the folder " + settings.Program_Directory + " cannot be written; the target log was read in memory");
    if (!days.Problem().empty()) note(days.Problem());
    if (days.Target_Log() && !days.Target_Log()->Clean()) note(days.Target_Log()->Problems_Text());
    if (days.Target_Log() && !days.Target_Log()->Pattern_Problem.empty()) return 1;
    if (days.History_Unreadable()) return 1;

    const History_Period period = request->From ? Custom_History_Period(*request->From, *request->To)
                                                : History_Period_Containing(*request->Kind, environment.Today);
    const History_Report report = days.Report(period);
    std::string output;
    if (request->Csv) output = request->Days ? Days_Csv(report) : Work_Type_Csv(report);
    else output = request->Days ? Days_Table(report) : Work_Type_Table(report);
    // Work types are kept byte for byte, a zero byte included: the whole text is written.
    const bool written = std::fwrite(output.data(), 1, output.size(), environment.Out) == output.size();
    return written && std::fflush(environment.Out) == 0 ? 0 : 1;
}

std::string Executable_Directory()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}
