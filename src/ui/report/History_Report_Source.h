#pragma once
// The report window's figures from the history: the database, or the target log when the
// database cannot be used. The settings are taken before each load, so a changed
// full-time value or target log counts at the next opening.
#include <functional>
#include <optional>

#include "history/History_Access.h"
#include "history/History_Server_Settings.h"
#include "ui/report/Report_Source.h"

class History_Report_Source final : public Report_Source
{
public:
    History_Report_Source(std::function<History_Settings()> settings, std::function<Calendar_Date()> today)
        : Current_Settings(std::move(settings)), Today(std::move(today))
    {
    }

    void Prepare_Work() override;
    Report_Load_Outcome Load(const Report_Progress& progress) override;
    Report_Load_Outcome Rebuild(const Report_Progress& progress) override;
    History_Report Report_For(Report_Period_Kind kind, int offset) override;
    std::vector<Report_Scope> Scopes() const override;
    void Set_Scope(Report_Scope scope) override { Scope = scope; }
    void Release() override
    {
        Days.reset();
        std::vector<History_Day>().swap(Server_Days);
    }

    // How long a server that does not answer may keep the report waiting.
    static constexpr int Server_Connect_Timeout_Seconds = 3;
    static constexpr int Server_Statement_Timeout_Milliseconds = 5000;

private:
    Report_Load_Outcome Load_Days(const History_Settings& settings, History_Days::Missing_Store missing,
                                  const Report_Progress& progress);
    Report_Load_Outcome Load_Server_Days();

    std::function<History_Settings()> Current_Settings;
    History_Settings Work_Settings;
    std::function<Calendar_Date()> Today;
    std::optional<History_Days> Days;

    History_Server_Settings Server;
    Report_Scope Scope = Report_Scope::This_Pc;
    Report_Scope Loaded_Scope = Report_Scope::This_Pc;  // of the days Report_For counts
    bool Reporter = false;                              // the server said this role reads everyone's
    std::vector<History_Day> Server_Days;
    long long Server_Persons = 1;  // whose full-time target the server's days carry
};

// The store's state as the window explains it.
Report_Store_State Report_Store_State_Of(History_Store_State state);
