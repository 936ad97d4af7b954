#include "server/History_Server_Report.h"

#include "history/Calendar.h"
#include "platform/Code_Page.h"
#include "server/History_Server_Schema.h"

namespace
{
// One read transaction, so the days and their work types are of the same moment.
constexpr const char* Days_Sql =
    "SELECT person, day::text, sum(worked_minutes) FROM zentavo_days"
    " WHERE day BETWEEN $1::date AND $2::date AND ($3::text IS NULL OR person = $3)"
    " GROUP BY person, day ORDER BY person COLLATE \"C\", day";
constexpr const char* Work_Types_Sql =
    "SELECT person, day::text, work_type, sum(counted_minutes) FROM zentavo_records"
    " WHERE day BETWEEN $1::date AND $2::date AND ($3::text IS NULL OR person = $3) AND counted_minutes > 0"
    " GROUP BY person, day, work_type ORDER BY person COLLATE \"C\", day, min(machine), min(position)";
// The team's sums are made by the server: a month of fifty persons is a few hundred rows.
constexpr const char* Team_Days_Sql =
    "SELECT day::text, sum(worked_minutes) FROM zentavo_days WHERE day BETWEEN $1::date AND $2::date"
    " GROUP BY day ORDER BY day";
constexpr const char* Team_Work_Types_Sql =
    "SELECT day::text, work_type, sum(counted_minutes) FROM zentavo_records"
    " WHERE day BETWEEN $1::date AND $2::date AND counted_minutes > 0"
    " GROUP BY day, work_type ORDER BY day, min(position), work_type";
constexpr const char* Team_Persons_Sql =
    "SELECT count(DISTINCT person) FROM zentavo_days WHERE day BETWEEN $1::date AND $2::date";
}  // namespace

bool Read_Server_Days(Pg_Connection& connection, const std::optional<std::string>& person, const Calendar_Date& from,
                      const Calendar_Date& to, std::vector<Person_History_Days>& persons, std::string& failure)
{
    persons.clear();
    const std::vector<std::optional<std::string>> parameters = {Iso_Date_Text(from), Iso_Date_Text(to), person};
    if (!connection.Run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", failure)) return false;
    const Pg_Result days = connection.Execute(Days_Sql, parameters);
    const Pg_Result types = connection.Execute(Work_Types_Sql, parameters);
    std::string ignored;
    connection.Run("COMMIT", ignored);
    if (!days.Ok() || !types.Ok())
    {
        failure = !days.Ok() ? days.Error() : types.Error();
        return false;
    }
    for (int row = 0; row < days.Rows(); ++row)
    {
        const std::string name = days.Text(row, 0);
        const std::optional<Calendar_Date> date = Parse_Iso_Date(days.Text(row, 1));
        if (!date) continue;
        if (persons.empty() || persons.back().Person != name) persons.push_back({name, {}});
        persons.back().Days.push_back({*date, days.Integer(row, 2), {}});
    }
    // Both lists come sorted by person and date: one walk matches them.
    std::size_t person_index = 0;
    std::size_t day_index = 0;
    for (int row = 0; row < types.Rows(); ++row)
    {
        const std::string name = types.Text(row, 0);
        const std::optional<Calendar_Date> date = Parse_Iso_Date(types.Text(row, 1));
        while (person_index < persons.size() && persons[person_index].Person < name)
        {
            ++person_index;
            day_index = 0;
        }
        if (!date || person_index >= persons.size() || persons[person_index].Person != name) continue;
        std::vector<History_Day>& list = persons[person_index].Days;
        while (day_index < list.size() && list[day_index].Date < *date) ++day_index;
        if (day_index >= list.size() || list[day_index].Date != *date) continue;
        list[day_index].By_Work_Type.push_back({Utf8_To_Cp1250(types.Text(row, 2)), types.Integer(row, 3)});
    }
    return true;
}

bool Read_Team_Days(Pg_Connection& connection, const Calendar_Date& from, const Calendar_Date& to,
                    std::vector<History_Day>& days, long long& persons, std::string& failure)
{
    days.clear();
    persons = 0;
    const std::vector<std::optional<std::string>> parameters = {Iso_Date_Text(from), Iso_Date_Text(to)};
    if (!connection.Run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", failure)) return false;
    const Pg_Result day_rows = connection.Execute(Team_Days_Sql, parameters);
    const Pg_Result types = connection.Execute(Team_Work_Types_Sql, parameters);
    const Pg_Result counted = connection.Execute(Team_Persons_Sql, parameters);
    std::string ignored;
    connection.Run("COMMIT", ignored);
    for (const Pg_Result* result : {&day_rows, &types, &counted})
    {
        if (result->Ok()) continue;
        failure = connection.Connected() ? result->Error() : connection.Connection_Error();
        return false;
    }
    persons = counted.Rows() == 1 ? counted.Integer(0, 0) : 0;
    for (int row = 0; row < day_rows.Rows(); ++row)
        if (const std::optional<Calendar_Date> date = Parse_Iso_Date(day_rows.Text(row, 0)))
            days.push_back({*date, day_rows.Integer(row, 1), {}});
    std::size_t index = 0;
    for (int row = 0; row < types.Rows(); ++row)
    {
        const std::optional<Calendar_Date> date = Parse_Iso_Date(types.Text(row, 0));
        if (!date) continue;
        while (index < days.size() && days[index].Date < *date) ++index;
        if (index >= days.size() || days[index].Date != *date) continue;
        days[index].By_Work_Type.push_back({Utf8_To_Cp1250(types.Text(row, 1)), types.Integer(row, 2)});
    }
    return true;
}

bool Is_History_Reporter(Pg_Connection& connection)
{
    const Pg_Result reporter = connection.Execute(
        "SELECT EXISTS (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = $1"
        " AND pg_catalog.pg_has_role(current_user, oid, 'USAGE'))",
        {std::string(History_Server_Reporter_Role)});
    return reporter.Ok() && reporter.Rows() == 1 && reporter.Text(0, 0) == "t";
}
