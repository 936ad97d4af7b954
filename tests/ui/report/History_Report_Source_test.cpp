// The report window's source over a real target log and database in a private folder:
// the first load reads the target log in, periods move from today, and a damaged or
// missing history is told and rebuilt.
#include "ui/report/History_Report_Source.h"

#include <QtTest>

#include "history/History_Store.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

struct Source_Fixture
{
    Source_Fixture()
    {
        Settings.Program_Directory = Directory.Path();
        Settings.Target_Log_File_Name = Directory.File("Work_Log.csv");
        Settings.Format.Line_Pattern = "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s";
        Settings.Format.Short_Date_Pattern = "dd.MM.yyyy";
        Settings.Full_Time_Minutes = 480;
        // Two Mondays a week apart, and a line that fits no pattern.
        Directory.Write("Work_Log.csv",
                        "\r\n"
                        "Mon;30.11.2026;08:00 - 17:00;Working day;09:00;\r\n"
                        ";;;DEFAULT;01:00;\r\n"
                        ";;;Coding;08:00;\r\n"
                        "\r\n"
                        "Mon;07.12.2026;08:00 - 15:00;DEFAULT;07:00;\r\n"
                        "not a record of this log\r\n");
        Source = std::make_unique<History_Report_Source>([this] { return Settings; },
                                                         [] {
                                                             return Calendar_Date{2026, 12, 9};
                                                         });
    }

    Report_Load_Outcome Load()
    {
        Source->Prepare_Work();
        return Source->Load({});
    }
    Report_Load_Outcome Rebuild()
    {
        Source->Prepare_Work();
        return Source->Rebuild({});
    }
    bool Database_Ready() const
    {
        return Check_History_Store(Settings.Store_Path()).State == History_Store_State::Ready;
    }

    Test_Temporary_Directory Directory;
    History_Settings Settings;
    std::unique_ptr<History_Report_Source> Source;
};

}  // namespace

class History_Report_Source_Test : public QObject
{
    Q_OBJECT

private slots:
    void The_First_Load_Reads_The_Target_Log_In_And_Periods_Move_From_Today()
    {
        Source_Fixture fixture;
        const Report_Load_Outcome outcome = fixture.Load();
        QVERIFY(outcome.Readable);
        QVERIFY(outcome.Store_State == Report_Store_State::Ready);
        QCOMPARE(outcome.Unreadable_Lines, std::uint64_t(1));
        QVERIFY(outcome.First_Unreadable_Line_Numbers == std::vector<std::uint64_t>{7});
        QVERIFY(fixture.Database_Ready());

        const History_Report this_week = fixture.Source->Report_For(Report_Period_Kind::Week, 0);
        QVERIFY((this_week.From == Calendar_Date{2026, 12, 7}) && (this_week.To == Calendar_Date{2026, 12, 13}));
        QCOMPARE(this_week.Worked_Minutes, 420LL);
        const History_Report last_week = fixture.Source->Report_For(Report_Period_Kind::Week, -1);
        QVERIFY((last_week.From == Calendar_Date{2026, 11, 30}) && (last_week.To == Calendar_Date{2026, 12, 6}));
        QCOMPARE(last_week.Overtime_Balance_Minutes, 60LL);
        const History_Report november = fixture.Source->Report_For(Report_Period_Kind::Month, -1);
        QVERIFY((november.From == Calendar_Date{2026, 11, 1}) && (november.To == Calendar_Date{2026, 11, 30}));
        QCOMPARE(november.Days.size(), std::size_t(1));
        // The whole history ignores the offset and spans the stored days.
        const History_Report all = fixture.Source->Report_For(Report_Period_Kind::All, -3);
        QVERIFY((all.From == Calendar_Date{2026, 11, 30}) && (all.To == Calendar_Date{2026, 12, 7}));
        QCOMPARE(all.Worked_Minutes, 540LL + 420LL);
    }

    void A_Damaged_Database_Is_Told_While_The_Target_Log_Still_Gives_The_Figures()
    {
        Source_Fixture fixture;
        fixture.Directory.Write("Work_History.sqlite", std::string(4096, '\x5a'));
        const Report_Load_Outcome outcome = fixture.Load();
        QVERIFY(outcome.Readable);
        QVERIFY(outcome.Store_State == Report_Store_State::Damaged);
        QVERIFY(!outcome.Store_Detail.empty());
        QCOMPARE(fixture.Source->Report_For(Report_Period_Kind::All, 0).Days.size(), std::size_t(2));
        QVERIFY(!fixture.Database_Ready());

        const Report_Load_Outcome rebuilt = fixture.Rebuild();
        QVERIFY(rebuilt.Readable && !rebuilt.Rebuild_Failed);
        QVERIFY(rebuilt.Store_State == Report_Store_State::Ready);
        QCOMPARE(rebuilt.Unreadable_Lines, std::uint64_t(1));
        QVERIFY(fixture.Database_Ready());
    }

    void Without_Database_And_Target_Log_Nothing_Is_Readable_And_The_Rebuild_Says_Why()
    {
        Source_Fixture fixture;
        std::filesystem::remove(fixture.Directory.File("Work_Log.csv"));
        const Report_Load_Outcome outcome = fixture.Load();
        QVERIFY(!outcome.Readable);
        QVERIFY(!outcome.Failure.empty());
        QVERIFY(outcome.Store_State == Report_Store_State::Missing);
        // No fault: nothing has been finished yet.
        QVERIFY(outcome.History_Not_Begun);

        const Report_Load_Outcome rebuilt = fixture.Rebuild();
        QVERIFY(rebuilt.Rebuild_Failed && !rebuilt.Readable);
        QVERIFY(!rebuilt.Failure.empty());
        QVERIFY(!std::filesystem::exists(fixture.Settings.Store_Path()));

        // A target log that exists but cannot be read is a fault.
        std::filesystem::create_directory(fixture.Directory.File("Work_Log.csv"));
        QVERIFY(!fixture.Load().History_Not_Begun);
    }
};

QTEST_MAIN(History_Report_Source_Test)
#include "History_Report_Source_test.moc"
