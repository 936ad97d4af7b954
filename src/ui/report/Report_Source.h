#pragma once
// Where the report window takes its figures from. The program's source reads the history
// database (or the target log when the database cannot be used); widget tests hand over
// reports they made themselves.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/History_Report.h"

enum class Report_Period_Kind
{
    Week,
    Month,
    Year,
    All
};

// Whose days the report counts: this PC's history, or the history server's days of all
// this person's PCs, or of everyone (a role that may read them).
enum class Report_Scope
{
    This_Pc,
    My_Pcs,
    Team,
};

// What is wrong with the history database, as the window explains it.
enum class Report_Store_State
{
    Ready,
    Missing,
    Damaged,
    Read_Only,
    Locked,
    Directory,
    Unopenable,
};

struct Report_Load_Outcome
{
    // There are days to report on (from the database, or from the target log read aside).
    bool Readable = false;
    Report_Store_State Store_State = Report_Store_State::Ready;
    std::string Store_Detail;  // names the file and the fault; empty when ready
    std::string Failure;       // why nothing could be read, or why a rebuild wrote nothing
    bool Rebuild_Failed = false;
    std::uint64_t Unreadable_Lines = 0;                        // lines of the target log left out of the count
    std::vector<std::uint64_t> First_Unreadable_Line_Numbers;  // 1-based, the first ten at most
    std::uint64_t Summed_Dates = 0;  // dates whose blocks from more than one export were added up
    // Neither a database nor a target log exists yet: no day has been finished, which is
    // no fault and needs no rebuild.
    bool History_Not_Begun = false;
    // The history server could not be read (Failure says why); this PC's history can be.
    bool Server_Unreadable = false;
};

// Bytes done and bytes in all; called now and then from the worker thread.
using Report_Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

class Report_Source
{
public:
    virtual ~Report_Source() = default;

    // On the window's thread, just before each Load or Rebuild: the moment to take what
    // the worker needs from the program (its settings may change while it runs).
    virtual void Prepare_Work() {}

    // Loads the history afresh (today as the day log holds it). Runs on a worker thread;
    // when there is no database yet it reads the target log into a new one.
    virtual Report_Load_Outcome Load(const Report_Progress& progress) = 0;

    // Reads the whole target log into a new database and loads the history from it. Runs
    // on a worker thread.
    virtual Report_Load_Outcome Rebuild(const Report_Progress& progress) = 0;

    // The period of the kind that holds today, moved by offset periods (-1 the one before);
    // All ignores the offset. Only after a readable load, on the window's thread.
    virtual History_Report Report_For(Report_Period_Kind kind, int offset) = 0;

    // The scopes the window's switch offers, on the window's thread; none but This_Pc
    // without a history server.
    virtual std::vector<Report_Scope> Scopes() const { return {Report_Scope::This_Pc}; }
    // On the window's thread, before Prepare_Work: the scope of the next Load.
    virtual void Set_Scope(Report_Scope) {}
    // The window closed: what was loaded for it may go, since each opening loads anew.
    virtual void Release() {}
};
