#pragma once
// A second process that holds a database in the middle of a write until it is released:
// readers of the log go on reading; or the whole file, which no one can read meanwhile.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

class Store_Lock_Holder
{
public:
    enum class Hold
    {
        Writing,
        Whole_File,
    };

    explicit Store_Lock_Holder(const std::string& path, Hold hold = Hold::Writing)
    {
        if (::pipe(Ready) != 0 || ::pipe(Release) != 0) return;
        Holder = ::fork();
        if (Holder == 0)
        {
            sqlite3* database = nullptr;
            sqlite3_open(path.c_str(), &database);
            const char* sql =
                hold == Hold::Writing ? "BEGIN EXCLUSIVE" : "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE";
            char byte = sqlite3_exec(database, sql, nullptr, nullptr, nullptr) == SQLITE_OK ? '1' : '0';
            (void)!::write(Ready[1], &byte, 1);
            (void)!::read(Release[0], &byte, 1);
            ::_exit(0);
        }
        char byte = 0;
        Locked = Holder > 0 && ::read(Ready[0], &byte, 1) == 1 && byte == '1';
    }
    ~Store_Lock_Holder()
    {
        if (Holder <= 0) return;
        (void)!::write(Release[1], "x", 1);
        int status = 0;
        ::waitpid(Holder, &status, 0);
        for (int descriptor : {Ready[0], Ready[1], Release[0], Release[1]}) ::close(descriptor);
    }
    Store_Lock_Holder(const Store_Lock_Holder&) = delete;
    Store_Lock_Holder& operator=(const Store_Lock_Holder&) = delete;

    bool Locked = false;

private:
    int Ready[2] = {-1, -1};
    int Release[2] = {-1, -1};
    pid_t Holder = -1;
};

#include <ostream>

#include "history/History_Day.h"

// Readable values in failure messages.
inline std::ostream& operator<<(std::ostream& out, const Calendar_Date& date)
{
    return out << date.Year << '-' << date.Month << '-' << date.Day;
}
inline std::ostream& operator<<(std::ostream& out, const Work_Type_Minutes& entry)
{
    return out << '"' << entry.Work_Type << "\" " << entry.Minutes;
}
inline std::ostream& operator<<(std::ostream& out, const History_Day& day)
{
    out << day.Date << ' ' << day.Worked_Minutes << " [";
    for (const Work_Type_Minutes& entry : day.By_Work_Type) out << entry << ", ";
    return out << ']';
}
