#include "server/Pg_Connection.h"

#include <libpq-fe.h>

#include <cstdlib>

std::string First_Line_Of(const std::string& message)
{
    std::string line = message.substr(0, message.find('\n'));
    for (const char* prefix : {"ERROR:  ", "FATAL:  "})
        if (line.rfind(prefix, 0) == 0) line.erase(0, std::string(prefix).size());
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

Pg_Result::~Pg_Result() { PQclear(Handle); }

bool Pg_Result::Ok() const
{
    const ExecStatusType status = Handle ? PQresultStatus(Handle) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

int Pg_Result::Rows() const { return Handle ? PQntuples(Handle) : 0; }

std::string Pg_Result::Text(int row, int column) const
{
    const char* value = PQgetvalue(Handle, row, column);
    return value ? std::string(value, static_cast<std::size_t>(PQgetlength(Handle, row, column))) : std::string();
}

long long Pg_Result::Integer(int row, int column) const
{
    return std::strtoll(PQgetvalue(Handle, row, column), nullptr, 10);
}

std::string Pg_Result::Error() const
{
    return Handle ? First_Line_Of(PQresultErrorMessage(Handle)) : std::string("no answer from the server");
}

std::string Pg_Result::Sql_State() const
{
    const char* state = Handle ? PQresultErrorField(Handle, PG_DIAG_SQLSTATE) : nullptr;
    return state ? state : "";
}

Pg_Connection::Pg_Connection(const std::string& connection, int connect_timeout_seconds,
                             int statement_timeout_milliseconds)
{
    // The connection string is expanded first; the time-outs given after it take precedence.
    const std::string connect_timeout = std::to_string(connect_timeout_seconds);
    const std::string options = "-c statement_timeout=" + std::to_string(statement_timeout_milliseconds) +
                                " -c lock_timeout=" + std::to_string(statement_timeout_milliseconds) +
                                " -c client_min_messages=warning";
    const char* const keywords[] = {"dbname",           "connect_timeout", "options",
                                    "application_name", "client_encoding", nullptr};
    const char* const values[] = {
        connection.c_str(), connect_timeout.c_str(), options.c_str(), "zentavo-logger", "UTF8", nullptr};
    Handle = PQconnectdbParams(keywords, values, 1);
    if (Handle == nullptr) Connect_Failure = "out of memory";
    else if (PQstatus(Handle) != CONNECTION_OK) Connect_Failure = First_Line_Of(PQerrorMessage(Handle));
    // The server's notices are not for the user's terminal; failures come back as results.
    if (Handle != nullptr)
        PQsetNoticeProcessor(
            Handle, [](void*, const char*) {}, nullptr);
}

Pg_Connection::~Pg_Connection() { PQfinish(Handle); }

bool Pg_Connection::Connected() const { return Handle != nullptr && PQstatus(Handle) == CONNECTION_OK; }

std::string Pg_Connection::Connection_Error() const
{
    return Handle ? First_Line_Of(PQerrorMessage(Handle)) : Connect_Failure;
}

Pg_Result Pg_Connection::Execute(const std::string& sql, const std::vector<std::optional<std::string>>& parameters)
{
    if (!Connected()) return Pg_Result(nullptr);
    // Without parameters, a script of several statements (a migration) goes in one call.
    if (parameters.empty()) return Pg_Result(PQexec(Handle, sql.c_str()));
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const std::optional<std::string>& parameter : parameters)
        values.push_back(parameter ? parameter->c_str() : nullptr);
    return Pg_Result(PQexecParams(Handle, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                                  nullptr, 0));
}

bool Pg_Connection::Run(const std::string& sql, std::string& failure,
                        const std::vector<std::optional<std::string>>& parameters)
{
    const Pg_Result result = Execute(sql, parameters);
    if (result.Ok()) return true;
    failure = Connected() ? result.Error() : Connection_Error();
    if (failure.empty()) failure = "the connection to the history server was lost";
    return false;
}
