#pragma once
// A real PostgreSQL server for one test program, started in a folder of its own under /tmp
// (a server user under root must reach it) and removed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "server/Pg_Connection.h"

#ifndef ZL_PG_TEST_SCRIPT
#define ZL_PG_TEST_SCRIPT ZL_TEST_DATA_DIR "/../server/pg_test_server.sh"
#endif

class Pg_Test_Server
{
public:
    Pg_Test_Server()
    {
        std::string pattern = "/tmp/zl_pg_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) return;
        Directory = pattern;
        Started = Script("start");
    }
    ~Pg_Test_Server()
    {
        if (Directory.empty()) return;
        Script("stop");
        std::error_code ignored;
        std::filesystem::remove_all(Directory, ignored);
    }
    Pg_Test_Server(const Pg_Test_Server&) = delete;
    Pg_Test_Server& operator=(const Pg_Test_Server&) = delete;

    bool Stop() { return Script("stop"); }
    bool Restart() { return Script("restart"); }

    const std::string& Socket_Directory() const { return Directory; }
    std::string Connection(const std::string& role, const std::string& database) const
    {
        return "host=" + Directory + " dbname=" + database + " user=" + role;
    }
    // Runs SQL as the superuser; fails the test when the server refuses.
    void Admin(const std::string& sql, const std::string& database = "postgres") const
    {
        Pg_Connection connection(Connection("zentavo_admin", database));
        std::string failure;
        ASSERT_TRUE(connection.Connected()) << connection.Failure();
        // One statement at a time: CREATE DATABASE takes no transaction around it.
        std::size_t start = 0;
        while (start < sql.size())
        {
            const std::size_t end = std::min(sql.find(';', start), sql.size());
            const std::string statement = sql.substr(start, end - start);
            ASSERT_TRUE(connection.Run(statement, failure)) << failure << "\n" << statement;
            start = end + 1;
        }
    }

    bool Started = false;

private:
    bool Script(const std::string& action) const
    {
        const std::string command = "bash '" ZL_PG_TEST_SCRIPT "' " + action + " '" + Directory + "'";
        return std::system(command.c_str()) == 0;
    }

    std::string Directory;
};
