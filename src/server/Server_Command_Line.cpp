#include "server/Server_Command_Line.h"

#include <optional>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "history/History_Outbox.h"
#include "history/History_Store.h"
#include "server/History_Server_Report.h"
#include "server/History_Server_Schema.h"
#include "server/History_Server_Upload.h"

namespace
{
// A first upload is idempotent day by day, so it goes in larger transactions.
constexpr std::size_t Push_Days_Per_Transaction = 250;

std::string Usage(const std::string& program)
{
    return "Usage: " + program + " --init-server | --push-history\n       " + program +
           " --report week|month|year|all [--from YYYY-MM-DD --to YYYY-MM-DD] [--days] [--csv]\n"
           "           --server | --team [--person NAME]\n"
           "\n"
           "The history server of [History_Server] in Setup.ini:\n"
           "  --init-server    make the tables, the reporter role's policies and the grants (administrator)\n"
           "  --push-history   send every stored day of this PC once\n"
           "  --server         report all of this person's PCs together (CSV)\n"
           "  --team           report everyone's days, a column \"person\" first (CSV; role zentavo_reporter)\n"
           "  --person NAME    with --team: only this person\n";
}

enum class Command
{
    None,
    Init,
    Push,
    Server_Report,
    Team_Report,
};

struct Request
{
    Command What = Command::None;
    std::optional<History_Period_Kind> Kind;
    std::optional<Calendar_Date> From;
    std::optional<Calendar_Date> To;
    bool Days = false;
    std::optional<std::string> Person;
};

std::optional<Request> Parse(const std::vector<std::string>& arguments, std::string& problem)
{
    Request request;
    const auto command = [&](Command what) {
        if (request.What != Command::None) return false;
        request.What = what;
        return true;
    };
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
        bool fine = true;
        if (name == "--init-server") fine = !value && command(Command::Init);
        else if (name == "--push-history") fine = !value && command(Command::Push);
        else if (name == "--server") fine = !value && command(Command::Server_Report);
        else if (name == "--team") fine = !value && command(Command::Team_Report);
        else if (name == "--days") fine = !value && !request.Days && (request.Days = true);
        else if (name == "--csv") fine = !value;  // the server's reports are CSV in any case
        else if (name == "--person")
        {
            request.Person = take_value();
            fine = request.Person && !request.Person->empty();
        }
        else if (name == "--report")
        {
            const std::optional<std::string> kind = take_value();
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
            target = text ? Parse_Iso_Date(*text) : std::nullopt;
            if (!target) return problem = name + " takes a date that exists, as YYYY-MM-DD", std::nullopt;
        }
        else return problem = "unknown option " + arguments[index], std::nullopt;
        if (!fine) return problem = arguments[index] + " does not fit here", std::nullopt;
    }
    const bool report = request.What == Command::Server_Report || request.What == Command::Team_Report;
    if (report != request.Kind.has_value())
        return problem = report ? "--report is missing" : "--report needs --server or --team", std::nullopt;
    if (!report && arguments.size() != 1) return problem = "--init-server and --push-history stand alone", std::nullopt;
    if (request.Person && request.What != Command::Team_Report)
        return problem = "--person goes with --team", std::nullopt;
    if (request.From.has_value() != request.To.has_value())
        return problem = "--from and --to go together", std::nullopt;
    if (request.From && *request.To < *request.From) return problem = "--to comes before --from", std::nullopt;
    return request;
}

// Every line of a CSV with the person's column before it; the header once.
std::string With_Person_Column(const std::string& csv, const std::string& person, bool header)
{
    std::string out;
    std::size_t start = 0;
    bool first = true;
    while (start < csv.size())
    {
        const std::size_t end = csv.find('\n', start);
        const std::string line = csv.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!first || header) out += (first ? std::string("person") : History_Csv_Field(person)) + ',' + line + '\n';
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

int Push(Pg_Connection& connection, const History_Server_Settings& server, const History_Settings& settings,
         const std::function<void(const std::string&)>& note, std::FILE* out)
{
    const Outbox_Send_Result queued = Send_Outbox(connection, server, settings.Store_Path());
    if (!queued.Failure.empty())
    {
        note("the waiting days could not be sent: " + queued.Failure);
        return 1;
    }
    if (Check_History_Store(settings.Store_Path()).State == History_Store_State::Missing)
    {
        const History_Rebuild_Result rebuilt = Rebuild_History_Store(settings);
        if (!rebuilt.Written)
        {
            note("the history could not be read in from the target log: " + rebuilt.Failure);
            return 1;
        }
    }
    std::vector<History_Day> days;
    {
        History_Store store(settings.Store_Path(), History_Store::Mode::Read);
        if (!store.Read_All_Days(days))
        {
            note(store.Check().Detail);
            return 1;
        }
    }
    std::vector<Outbox_Day> batch;
    std::size_t sent = 0;
    for (std::size_t index = 0; index < days.size(); ++index)
    {
        batch.push_back(Outbox_Day_Of_History(days[index], settings.Full_Time_Minutes));
        if (batch.size() < Push_Days_Per_Transaction && index + 1 < days.size()) continue;
        std::string failure;
        if (!Upload_Days(connection, server, batch, failure))
        {
            note("sending stopped after " + std::to_string(sent) + " day(s): " + failure +
                 "; run --push-history again, no day is sent twice");
            return 1;
        }
        sent += batch.size();
        batch.clear();
    }
    std::fprintf(out, "%zu stored day(s) are on the history server, %d waiting day(s) sent first\n", sent, queued.Sent);
    return 0;
}

int Report(Pg_Connection& connection, const Request& request, const History_Server_Settings& server,
           const History_Settings& settings, const Server_Command_Line_Environment& environment,
           const std::function<void(const std::string&)>& note)
{
    const History_Period period = request.From ? Custom_History_Period(*request.From, *request.To)
                                               : History_Period_Containing(*request.Kind, environment.Today);
    const bool team = request.What == Command::Team_Report;
    std::vector<Person_History_Days> persons;
    std::string failure;
    if (!Read_Server_Days(connection, team ? request.Person : std::optional<std::string>(server.Person), period.From,
                          period.To, persons, failure))
    {
        note("the history server cannot be read: " + failure +
             "; the report of this PC alone: the same command without --server or --team");
        return 1;
    }
    const auto csv_of = [&](const std::vector<History_Day>& days) {
        const History_Report report = Compute_History_Report(days, period, settings.Full_Time_Minutes);
        return request.Days ? Days_Csv(report) : Work_Type_Csv(report);
    };
    std::string output;
    if (!team) output = csv_of(persons.empty() ? std::vector<History_Day>{} : persons.front().Days);
    else if (persons.empty())
    {
        const std::string header = With_Person_Column(csv_of({}), "", true);
        output = header.substr(0, header.find('\n') + 1);  // the header alone: nobody's days
    }
    for (std::size_t index = 0; team && index < persons.size(); ++index)
        output += With_Person_Column(csv_of(persons[index].Days), persons[index].Person, index == 0);
    const bool written = std::fwrite(output.data(), 1, output.size(), environment.Out) == output.size();
    return written && std::fflush(environment.Out) == 0 ? 0 : 1;
}
}  // namespace

bool Is_Server_Command_Line(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
    {
        const std::string name = argument.substr(0, argument.find('='));
        if (name == "--init-server" || name == "--push-history" || name == "--server" || name == "--team" ||
            name == "--person")
            return true;
    }
    return false;
}

int Run_Server_Command_Line(const std::vector<std::string>& arguments,
                            const Server_Command_Line_Environment& environment,
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
    const auto note = [&](const std::string& text) {
        std::fprintf(environment.Err, "%s: %s\n", environment.Program_Name.c_str(), text.c_str());
    };
    const History_Settings settings = settings_source();
    const History_Server_Settings server = Read_History_Server_Settings(settings.Program_Directory + "Setup.ini");
    if (!server.Configured())
    {
        note("no history server: [History_Server] Connection= in " + settings.Program_Directory + "Setup.ini is empty");
        return 1;
    }
    Pg_Connection connection(server.Connection, environment.Connect_Timeout_Seconds);
    if (!connection.Connected())
    {
        note("the history server cannot be reached: " + connection.Failure());
        return 1;
    }
    if (request->What == Command::Init)
    {
        std::string failure;
        if (!Init_History_Server(connection, failure))
        {
            note("the history server could not be set up: " + failure);
            return 1;
        }
        std::fprintf(environment.Out, "the history server is ready (tables of version %d)\n",
                     History_Server_Schema_Version);
        return 0;
    }
    const History_Server_Schema_Check schema = Prepare_History_Server_Schema(connection);
    if (schema.State != History_Server_Schema_State::Ready)
    {
        note(schema.Detail);
        return 1;
    }
    if (request->What == Command::Push) return Push(connection, server, settings, note, environment.Out);
    return Report(connection, *request, server, settings, environment, note);
}
