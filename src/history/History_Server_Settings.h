#pragma once
// [History_Server] of Setup.ini: where the days go beyond this PC. Only the user writes this
// section; the program reads it. An empty Connection means no server, and nothing changes.
#include <string>

struct History_Server_Settings
{
    std::string Connection;  // a libpq connection string or "service=NAME"; no password here
    std::string Person;      // the database role the rows belong to; the login name by default
    std::string Machine;     // this PC among the person's; the host name by default
    bool Configured() const { return !Connection.empty(); }
};

// Reads the section of the Setup.ini at that path; a missing file or section gives no server.
History_Server_Settings Read_History_Server_Settings(const std::string& setup_ini_path);
