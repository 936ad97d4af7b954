#pragma once
// The history server's days for a report: a person's days of all machines counted
// together (as the target log reader sums two PCs' blocks of one date), or everyone's
// that the role may read, person by person.
#include <optional>
#include <string>
#include <vector>

#include "history/History_Day.h"
#include "server/Pg_Connection.h"

struct Person_History_Days
{
    std::string Person;             // UTF-8, as the server holds it
    std::vector<History_Day> Days;  // oldest first; work types in CP1250 as the reports want them
};

// The days from..to (inclusive) of the person, or of everyone readable when person is
// none, sorted by person; false with the server's reason.
bool Read_Server_Days(Pg_Connection& connection, const std::optional<std::string>& person, const Calendar_Date& from,
                      const Calendar_Date& to, std::vector<Person_History_Days>& persons, std::string& failure);

// The days from..to (inclusive) of everyone the role may read, summed date by date (the
// work types too), and how many persons have days there; false with the server's reason.
bool Read_Team_Days(Pg_Connection& connection, const Calendar_Date& from, const Calendar_Date& to,
                    std::vector<History_Day>& days, long long& persons, std::string& failure);

// The role may read everyone's days (it holds the reporter role); false too when the
// server does not answer.
bool Is_History_Reporter(Pg_Connection& connection);
