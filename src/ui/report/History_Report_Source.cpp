#include "ui/report/History_Report_Source.h"

#include <sys/stat.h>

#include <cerrno>

#include "history/History_Outbox.h"
#include "server/History_Server_Report.h"
#include "server/History_Server_Schema.h"

namespace
{

Reading_Progress Reading_Progress_Of(const Report_Progress& progress)
{
    return [progress](std::uint64_t done, std::uint64_t total) {
        if (progress) progress(done, total);
        return true;
    };
}

void Take_Reading_Problems(const Target_Log_Reading& reading, Report_Load_Outcome& outcome)
{
    outcome.Unreadable_Lines = reading.Left_Out_Lines;
    outcome.First_Unreadable_Line_Numbers = reading.First_Left_Out_Line_Numbers;
    outcome.Summed_Dates = reading.Summed_Dates;
}

}  // namespace

Report_Store_State Report_Store_State_Of(History_Store_State state)
{
    switch (state)
    {
    case History_Store_State::Ready: return Report_Store_State::Ready;
    case History_Store_State::Missing: return Report_Store_State::Missing;
    case History_Store_State::Damaged: return Report_Store_State::Damaged;
    case History_Store_State::Read_Only: return Report_Store_State::Read_Only;
    case History_Store_State::Locked: return Report_Store_State::Locked;
    case History_Store_State::Directory: return Report_Store_State::Directory;
    case History_Store_State::Unopenable: return Report_Store_State::Unopenable;
    }
    return Report_Store_State::Unopenable;
}

Report_Load_Outcome History_Report_Source::Load_Days(const History_Settings& settings,
                                                     History_Days::Missing_Store missing,
                                                     const Report_Progress& progress)
{
    Days = History_Days::Load(settings, missing, Reading_Progress_Of(progress));
    Report_Load_Outcome outcome;
    outcome.Store_State = Report_Store_State_Of(Days->Store().State);
    outcome.Store_Detail = Days->Store().Detail;
    outcome.Failure = Days->Problem();
    // Without a database and without a readable target log there is nothing to report on,
    // unless today's day log gave a day.
    outcome.Readable = outcome.Failure.empty() || !Days->Days().empty();
    if (Days->Target_Log()) Take_Reading_Problems(*Days->Target_Log(), outcome);
    struct stat status
    {
    };
    outcome.History_Not_Begun = Days->Store().State == History_Store_State::Missing && !Days->History_Unreadable() &&
                                ::stat(settings.Target_Log_File_Name.c_str(), &status) != 0 && errno == ENOENT;
    // Each file's fault on a line of its own.
    if (outcome.Readable && !outcome.Failure.empty())
        outcome.Store_Detail += (outcome.Store_Detail.empty() ? "" : "\n") + outcome.Failure;
    return outcome;
}

void History_Report_Source::Prepare_Work()
{
    Work_Settings = Current_Settings();
    Server = Read_History_Server_Settings(Work_Settings.Program_Directory + "Setup.ini");
    if (!Server.Configured()) Scope = Report_Scope::This_Pc;
    Loaded_Scope = Scope;
}

std::vector<Report_Scope> History_Report_Source::Scopes() const
{
    if (!Server.Configured()) return {Report_Scope::This_Pc};
    if (!Reporter) return {Report_Scope::This_Pc, Report_Scope::My_Pcs};
    return {Report_Scope::This_Pc, Report_Scope::My_Pcs, Report_Scope::Team};
}

Report_Load_Outcome History_Report_Source::Load(const Report_Progress& progress)
{
    if (Loaded_Scope != Report_Scope::This_Pc) return Load_Server_Days();
    return Load_Days(Work_Settings, History_Days::Missing_Store::Read_In, progress);
}

Report_Load_Outcome History_Report_Source::Load_Server_Days()
{
    Report_Load_Outcome outcome;
    Pg_Connection connection(Server.Connection, Server_Connect_Timeout_Seconds, Server_Statement_Timeout_Milliseconds);
    std::string failure = connection.Failure();
    if (connection.Connected())
    {
        const History_Server_Schema_Check schema = Prepare_History_Server_Schema(connection);
        failure = schema.Detail;
    }
    // Every date at once: browsing the periods then asks the server nothing more.
    const Calendar_Date first{1, 1, 1};
    const Calendar_Date last{9999, 12, 31};
    if (failure.empty())
    {
        Reporter = Is_History_Reporter(connection);
        if (Loaded_Scope == Report_Scope::Team && Reporter)
            Read_Team_Days(connection, first, last, Server_Days, Server_Persons, failure);
        else
        {
            std::vector<Person_History_Days> persons;
            Read_Server_Days(connection, Server.Person, first, last, persons, failure);
            Server_Days = persons.empty() ? std::vector<History_Day>{} : std::move(persons.front().Days);
            Server_Persons = 1;
        }
    }
    if (!failure.empty())
    {
        Server_Days.clear();
        outcome.Server_Unreadable = true;
        outcome.Failure = failure;
        return outcome;
    }
    outcome.Readable = true;
    return outcome;
}

Report_Load_Outcome History_Report_Source::Rebuild(const Report_Progress& progress)
{
    Loaded_Scope = Report_Scope::This_Pc;
    const History_Rebuild_Result rebuilt = Rebuild_History_Store(Work_Settings, Reading_Progress_Of(progress));
    Report_Load_Outcome outcome = Load_Days(Work_Settings, History_Days::Missing_Store::Read_In_Memory_Only, {});
    Take_Reading_Problems(rebuilt.Reading, outcome);
    if (!rebuilt.Written)
    {
        outcome.Rebuild_Failed = true;
        outcome.Failure = rebuilt.Failure;
    }
    // A history read in anew may lack days the server never got: the sender looks now.
    else if (Server.Configured()) Notify_Outbox_Listener();
    return outcome;
}

History_Report History_Report_Source::Report_For(Report_Period_Kind kind, int offset)
{
    if (Loaded_Scope == Report_Scope::This_Pc && !Days) return {};
    const History_Period_Kind history_kind = kind == Report_Period_Kind::Week    ? History_Period_Kind::Week
                                             : kind == Report_Period_Kind::Month ? History_Period_Kind::Month
                                             : kind == Report_Period_Kind::Year  ? History_Period_Kind::Year
                                                                                 : History_Period_Kind::All;
    History_Period period = History_Period_Containing(history_kind, Today());
    for (int step = 0; step > offset; --step) period = Previous_History_Period(period);
    for (int step = 0; step < offset; ++step) period = Next_History_Period(period);
    if (Loaded_Scope == Report_Scope::This_Pc) return Days->Report(period);
    // The team's target is each person's.
    Full_Time_Calendar calendar = Work_Settings.Calendar();
    calendar.Minutes *= std::max(Server_Persons, 1LL);
    return Compute_History_Report(Server_Days, period, calendar, Work_Settings.No_Work_Type_Name);
}
