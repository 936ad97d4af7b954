#include "history/History_Command_Line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "platform/Code_Page.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

class History_Command : public ::testing::Test
{
protected:
    struct Run
    {
        int Status = 0;
        std::string Out;
        std::string Err;
    };

    Run Call(std::vector<std::string> arguments)
    {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        History_Command_Line_Environment environment;
        environment.Today = {2026, 12, 2};
        environment.Version = "9.8.7";
        environment.Out = out;
        environment.Err = err;
        Run run;
        Settings_Asked = false;
        run.Status = Run_History_Command_Line(arguments, environment, [&] {
            Settings_Asked = true;
            return Settings;
        });
        const auto text_of = [](std::FILE* file) {
            std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
            std::rewind(file);
            text.resize(std::fread(text.data(), 1, text.size(), file));
            std::fclose(file);
            return text;
        };
        run.Out = text_of(out);
        run.Err = text_of(err);
        return run;
    }

    // Each file of the folder with its last change, to see that a run changed nothing.
    std::map<std::string, std::filesystem::file_time_type> Folder_State() const
    {
        std::map<std::string, std::filesystem::file_time_type> state;
        for (const auto& entry : std::filesystem::directory_iterator(Directory.Path()))
            state[entry.path().filename().string()] = entry.last_write_time();
        return state;
    }

    Test_Temporary_Directory Directory;
    History_Settings Settings{
        Directory.Path(), Directory.File("Work_Log.csv"), {"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", "", "dd.MM.yyyy"}, 480};
    bool Settings_Asked = false;
};

// Hand-made history: Monday 30.11. booked 00:30 Office + 02:00 Meeting + 06:00 Coding of
// 08:30; Tuesday 1.12. 09:00 unbooked DEFAULT; Thursday 3.12. overbooked (08:00 elapsed,
// 05:00 Coding + 04:00 Review booked).
const std::string Example_Log =
    "\r\nMonday;30.11.2026;08:00 - 16:30;Celkem;08:30;\r\n;;;Office;00:30;\r\n"
    ";;;Meeting;02:00;\r\n;;;Coding;06:00;\r\n"
    "\r\nTuesday;01.12.2026;08:00 - 17:00;DEFAULT;09:00;\r\n"
    "\r\nThursday;03.12.2026;08:00 - 16:00;Celkem;08:00;\r\n;;;Office;- 01:00;\r\n"
    ";;;Coding;05:00;\r\n;;;Review;04:00;\r\n";

}  // namespace

TEST_F(History_Command, WrongOptionsPrintTheUsageAndGiveTwo)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--report"},
             {"--report", "fortnight"},
             {"--csv"},
             {"--report", "week", "--bogus"},
             {"--report", "week", "--from", "2026-01-01"},
             {"--report", "week", "--from", "2026-02-30", "--to", "2026-03-01"},
             {"--report", "week", "--from", "2026-03-01", "--to", "2026-02-01"},
             {"--version", "--csv"},
             {"--report", "week", "--csv", "--csv"},
             {"-x"},
             {"foo"},
             {"-report", "all"},
             {"--report", "all", "--previous"},
             {"--report", "week", "--previous", "--from", "2026-01-01", "--to", "2026-01-02"},
             {"--report", "week", "--csv", "--json"},
             {"--report", "week", "--days", "--records"},
             {"--report", "week", "--days", "--types", "Coding"},
             {"--report", "week", "--types", "Coding,"},
             {"--report", "week", "--remark"},
             {"--records"}})
    {
        const Run run = Call(arguments);
        EXPECT_EQ(run.Status, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(run.Err.find("Usage: zentavo-logger --report week|month|year|all"), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Out.empty());
        EXPECT_FALSE(Settings_Asked);
    }
    EXPECT_EQ(Call({"--version"}).Out, "zentavo-logger 9.8.7\n");
    const Run help = Call({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("--days"), std::string::npos);
}

TEST_F(History_Command, ToolkitOptionsStillStartTheWindow)
{
    EXPECT_FALSE(Is_History_Command_Line({}));
    EXPECT_FALSE(Is_History_Command_Line({"-platform", "offscreen", "--style=fusion"}));
    EXPECT_TRUE(Is_History_Command_Line({"--report", "week"}));
    EXPECT_TRUE(Is_History_Command_Line({"--reprot", "week"}));
    EXPECT_TRUE(Is_History_Command_Line({"-platform", "xcb", "--help"}));
    // A mistyped option or a stray word never starts the window.
    EXPECT_FALSE(Is_History_Command_Line({"-style", "fusion", "-reverse"}));
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"-x"}, {"foo"}, {"-report", "all"}, {"-platform"}, {"-reverse=1"}, {"-style", "fusion", "week"}})
        EXPECT_TRUE(Is_History_Command_Line(arguments)) << ::testing::PrintToString(arguments);
}

TEST_F(History_Command, FirstReportReadsTheTargetLogInOnceThenOnlyReads)
{
    Directory.Write("Work_Log.csv", Example_Log);
    const Run first = Call({"--report", "week", "--csv"});
    EXPECT_EQ(first.Status, 0) << first.Err;
    // Coding 06:00 + 05:00, DEFAULT 09:00, Review 04:00, Meeting 02:00, Office 00:30
    // (the overbooked day's negative unbooked time counts nothing): 1590 minutes.
    EXPECT_EQ(first.Out,
              "work_type,minutes\nCoding,660\nDEFAULT,540\nReview,240\nMeeting,120\nOffice,30\ntotal,1590\n"
              "booked_beyond_worked,60\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(Directory.File(History_Store_File_Name)));

    // The target log as it was read in: the report only reads the database.
    const auto before = Folder_State();
    const Run days = Call({"--report", "month", "--from", "2026-11-30", "--to", "2026-12-01", "--days", "--csv"});
    EXPECT_EQ(days.Status, 0) << days.Err;
    EXPECT_EQ(days.Out,
              "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n"
              "2026-11-30,510,480,30,30,stored\n2026-12-01,540,480,60,90,stored\n");
    EXPECT_EQ(Folder_State(), before);

    const Run table = Call({"--report", "all"});
    EXPECT_NE(table.Out.find("Coding     11:00   41.5 %"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("Worked 25:30, full time 24:00, overtime balance +01:30"), std::string::npos) << table.Out;
}

// A damaged database is not repaired by the command line (it only reads): the report comes
// from the target log and the terminal says what is wrong.
TEST_F(History_Command, DamagedStoreIsReportedAndTheTargetLogCountsInstead)
{
    Directory.Write("Work_Log.csv", Example_Log);
    Directory.Write(History_Store_File_Name, std::string(4096, '\0') + "garbage");
    const auto before = Folder_State();
    const Run run = Call({"--report", "year", "--days", "--csv"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n"
              "2026-11-30,510,480,30,30,stored\n2026-12-01,540,480,60,90,stored\n2026-12-03,480,480,0,90,stored\n");
    EXPECT_NE(run.Err.find("is damaged"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("rebuilds"), std::string::npos) << run.Err;
    EXPECT_EQ(Folder_State(), before);
}

TEST_F(History_Command, UnreadablePatternFailsAndWritesNothing)
{
    Directory.Write("Work_Log.csv", Example_Log);
    Settings.Format.Line_Pattern = "%1:s%3:s%4:s";
    const Run run = Call({"--report", "all", "--csv"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot be read back"), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(Directory.File(History_Store_File_Name)));
}

// A history that cannot be read is a failure, not an empty report: a damaged database with
// no target log, or a target log that exists but cannot be read. No database and no target
// log is a history not begun, and reports nothing with success.
TEST_F(History_Command, HistoryThatCannotBeReadFailsButOneNotBegunIsEmpty)
{
    Run run = Call({"--report", "all", "--csv"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "work_type,minutes\ntotal,0\n");

    Directory.Write(History_Store_File_Name, std::string(4096, '\0') + "garbage");
    run = Call({"--report", "all", "--csv"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find("cannot be read instead"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("was read from the target log"), std::string::npos) << run.Err;

    // A folder in the target log's place cannot be read, with or without a database.
    std::filesystem::create_directory(Directory.File("Work_Log.csv"));
    for (const bool with_store : {true, false})
    {
        if (!with_store) std::filesystem::remove(Directory.File(History_Store_File_Name));
        run = Call({"--report", "all", "--csv"});
        EXPECT_EQ(run.Status, 1) << with_store;
        EXPECT_EQ(run.Out, "") << with_store;
    }
}

// Work types are kept byte for byte; one with a zero byte in it must not cut the report short.
TEST_F(History_Command, AZeroByteInAWorkTypeDoesNotCutTheReport)
{
    Directory.Write("Work_Log.csv", "\r\nMonday;30.11.2026;08:00 - 16:00;Celkem;08:00;\r\n;;;Meet" +
                                        std::string(1, '\0') + "ing;02:00;\r\n;;;Coding;06:00;\r\n");
    const Run run = Call({"--report", "all", "--csv"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "work_type,minutes\nCoding,360\nMeet" + std::string(1, '\0') + "ing,120\ntotal,480\n");
}

// The records of the target log, filtered by work type and remark, listed,
// and counted in decimal hours; a damaged line leaves out only itself.
TEST_F(History_Command, RecordsAreListedFilteredAndCountedInHours)
{
    Directory.Write("Work_Log.csv",
                    Utf8_To_Cp1250("\r\nMonday;30.11.2026;08:00 - 16:30;Celkem;08:30;\r\n;;;Nepřiřazeno;00:05;\r\n"
                                   ";;;coding ;01:25;Bug 42 ÚČET\r\n;;;Meeting;02:00;weekly\r\nbroken line\r\n"
                                   ";;;Coding;05:00;tests, \"x\"\r\n"
                                   "\r\nTuesday;01.12.2026;08:00 - 17:00;DEFAULT;09:00;\r\n"));
    const Run records = Call({"--report", "week", "--records", "--csv", "--types", "Coding,default"});
    EXPECT_EQ(records.Status, 0) << records.Err;
    EXPECT_EQ(records.Out,
              "date,time_span,work_type,minutes,remark\n2026-11-30,,coding ,85,Bug 42 ÚČET\n"
              "2026-11-30,,Coding,300,\"tests, \"\"x\"\"\"\n2026-12-01,08:00 - 17:00,DEFAULT,540,\n");
    EXPECT_NE(records.Err.find("1 line(s)"), std::string::npos) << records.Err;

    const Run remark = Call({"--report", "week", "--remark", "ÚčE", "--hours", "--csv"});
    EXPECT_EQ(remark.Out, "work_type,hours\ncoding ,1.42\ntotal,1.42\n");
    const Run json = Call({"--report", "week", "--remark", "weekly", "--json"});
    EXPECT_EQ(json.Out,
              "{\"from\":\"2026-11-30\",\"to\":\"2026-12-06\",\"days\":1,\"work_types\":[{\"work_type\":"
              "\"Meeting\",\"minutes\":120}],\"total_minutes\":120}\n");
    const Run days = Call({"--report", "week", "--days", "--json", "--hours"});
    EXPECT_NE(days.Out.find("{\"date\":\"2026-11-30\",\"worked_hours\":8.50,\"full_time_hours\":8.00,"
                            "\"overtime_hours\":0.50,\"balance_hours\":0.50}"),
              std::string::npos)
        << days.Out;
}

// The listing and the filters count as the reports do: a damaged line is left out alone, a
// day past midnight counts its span, an export written again counts once and another
// computer's block of the same date adds up.
TEST_F(History_Command, RecordsFollowTheReportsRules)
{
    const std::string thursday =
        "\r\nThursday;03.12.2026;08:00 - 09:00;Celkem;01:00;\r\n;;;Office;00:00;\r\n"
        ";;;Meeting;01:00;weekly\r\n";
    Directory.Write("Work_Log.csv",
                    "\r\nMonday;30.11.2026;08:00 - 12:00;Celkem;04:00;\r\n;;;Office;00:00;\r\n"
                    ";;;Coding;03:00;fix\r\n;;;Review;25:00;\r\n;;;coding ;01:00;tests\r\n"
                    "\r\nTuesday;01.12.2026;23:58 - 00:01;Night;;\r\n" +
                        thursday +
                        "\r\nThursday;03.12.2026;13:00 - 13:30;Celkem;00:30;\r\n;;;Office;00:00;\r\n"
                        ";;;Meeting;00:30;\r\n" +
                        thursday);
    const Run records = Call({"--report", "week", "--records", "--csv"});
    EXPECT_EQ(records.Out,
              "date,time_span,work_type,minutes,remark\n2026-11-30,,Coding,180,fix\n2026-11-30,,coding ,60,tests\n"
              "2026-12-01,23:58 - 00:01,Night,3,\n2026-12-03,,Meeting,60,weekly\n2026-12-03,,Meeting,30,\n");
    EXPECT_NE(records.Err.find("left out of the count (line 5)"), std::string::npos) << records.Err;
    EXPECT_EQ(Call({"--report", "week", "--types", "coding,night,MEETING", "--csv"}).Out,
              Call({"--report", "week", "--csv"}).Out);
}

// --rebuild reads the target log in anew, whatever the database held.
TEST_F(History_Command, RebuildReadsTheTargetLogAnew)
{
    Directory.Write("Work_Log.csv", Example_Log);
    ASSERT_EQ(Call({"--report", "all"}).Status, 0);
    Directory.Write("Work_Log.csv", "\r\nMonday;23.11.2026;08:00 - 09:00;Celkem;01:00;\r\n");
    const Run run = Call({"--rebuild", "--report", "week", "--previous", "--csv"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "work_type,minutes\nCelkem,60\ntotal,60\n");
    EXPECT_EQ(Call({"--report", "all", "--csv"}).Out, "work_type,minutes\nCelkem,60\ntotal,60\n");
}

// Left-out lines are named by number, once; dates whose blocks were added up are told.
TEST_F(History_Command, LeftOutLinesAreNamedOnce)
{
    Directory.Write("Work_Log.csv",
                    Example_Log + ";;;Review;25:00;\r\n" + "\r\nMonday;30.11.2026;18:00 - 19:00;Celkem;01:00;\r\n");
    const Run run = Call({"--report", "all", "--csv"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("1 line(s) of the target log were left out of the count (line 13)."), std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("1 date(s) have blocks of more than one export"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("line(s)"), run.Err.rfind("line(s)")) << run.Err;
}
