#pragma once
// The history server's tables, made and brought up to date by the program: a version table
// says which migrations ran, each migration runs in one transaction under a lock, so two
// PCs starting at once migrate once. A role that owns the database migrates it; any other
// role only checks that it finds the version this program writes for.
#include <string>

#include "server/Pg_Connection.h"

inline constexpr int History_Server_Schema_Version = 2;
inline constexpr const char* History_Server_Reporter_Role = "zentavo_reporter";

enum class History_Server_Schema_State
{
    Ready,
    Older,    // older than this program's, and this role may not migrate it
    Newer,    // written by a newer program
    Missing,  // no tables, and this role may not make them
    Failed,   // the server did not answer or refused
};

struct History_Server_Schema_Check
{
    History_Server_Schema_State State = History_Server_Schema_State::Failed;
    int Server_Version = 0;
    std::string Detail;  // English, one line; empty when Ready
};

// Makes or migrates the schema up to the given version where this role owns the database,
// then checks it. The version is this program's; an older one is only for tests of migration.
History_Server_Schema_Check Prepare_History_Server_Schema(Pg_Connection& connection,
                                                          int up_to_version = History_Server_Schema_Version);

// For the team's administrator, with a role that owns the database: the schema, the reporter
// role (when missing and this role may create roles), its policies, and the grants that let
// every login role write and read its own rows. False with the reason.
bool Init_History_Server(Pg_Connection& connection, std::string& failure);
