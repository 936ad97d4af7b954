#pragma once
// One libpq connection to the history server, with its time-outs: connecting gives up after
// a few seconds and every statement is cancelled by the server after a few more, so a
// server that is down or stuck only ever costs the sender's thread a bounded wait.
#include <optional>
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

class Pg_Result
{
public:
    explicit Pg_Result(pg_result* result) : Handle(result) {}
    ~Pg_Result();
    Pg_Result(Pg_Result&& other) noexcept : Handle(other.Handle) { other.Handle = nullptr; }
    Pg_Result& operator=(Pg_Result&&) = delete;
    Pg_Result(const Pg_Result&) = delete;
    Pg_Result& operator=(const Pg_Result&) = delete;

    bool Ok() const;  // a command or a query that succeeded
    int Rows() const;
    std::string Text(int row, int column) const;
    long long Integer(int row, int column) const;
    std::string Error() const;      // the server's message, first line
    std::string Sql_State() const;  // e.g. 42501 for a refused privilege

private:
    pg_result* Handle;
};

class Pg_Connection
{
public:
    static constexpr int Default_Connect_Timeout_Seconds = 5;
    static constexpr int Default_Statement_Timeout_Milliseconds = 5000;

    // connection: a libpq connection string ("host=... dbname=..." or "service=NAME").
    explicit Pg_Connection(const std::string& connection, int connect_timeout_seconds = Default_Connect_Timeout_Seconds,
                           int statement_timeout_milliseconds = Default_Statement_Timeout_Milliseconds);
    ~Pg_Connection();
    Pg_Connection(const Pg_Connection&) = delete;
    Pg_Connection& operator=(const Pg_Connection&) = delete;

    bool Connected() const;
    const std::string& Failure() const { return Connect_Failure; }  // why it did not connect

    Pg_Result Execute(const std::string& sql, const std::vector<std::optional<std::string>>& parameters = {});
    // A command whose rows do not matter; false with the server's message.
    bool Run(const std::string& sql, std::string& failure,
             const std::vector<std::optional<std::string>>& parameters = {});
    // The connection's own error, for a result that did not come at all.
    std::string Connection_Error() const;

private:
    pg_conn* Handle = nullptr;
    std::string Connect_Failure;
};

// The first line of a libpq message, without its "ERROR:  " or "FATAL:  " prefix.
std::string First_Line_Of(const std::string& message);
