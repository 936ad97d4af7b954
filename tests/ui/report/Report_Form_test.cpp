// The report window fed with reports made by hand: what it shows of them, the browsing
// between periods, the damaged history with its rebuild, and the CSV it saves.
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <condition_variable>
#include <mutex>
#include <set>

#include "history/History_Csv.h"
#include "platform/Code_Page.h"
#include "ui/controls/TVela_Button.h"
#include "ui/dialogs/Fake_Main_Form.h"
#include "ui/report/Report_Form_Opener.h"
#include "ui/report/TReport_Form.h"

namespace
{

Work_Type_Minutes Type(const char* name, long long minutes) { return {name, minutes}; }

History_Report_Day Day(int day_of_month, std::vector<Work_Type_Minutes> types, long long full_time = 480)
{
    History_Report_Day day;
    day.Date = {2026, 12, day_of_month};
    for (const Work_Type_Minutes& type : types) day.Worked_Minutes += type.Minutes;
    day.Full_Time_Minutes = full_time;
    day.Overtime_Minutes = day.Worked_Minutes - full_time;
    day.By_Work_Type = std::move(types);
    return day;
}

// A week with a gap: Monday and Wednesday stored, Tuesday not.
History_Report Week_Report()
{
    History_Report report;
    report.From = {2026, 12, 7};
    report.To = {2026, 12, 13};
    report.Days = {Day(7, {Type("Coding", 360), Type("Meeting", 120)}),
                   Day(9, {Type("Meeting", 60), Type("Coding", 180)})};
    report.By_Work_Type = {Type("Coding", 540), Type("Meeting", 180)};
    long long balance = 0;
    for (History_Report_Day& day : report.Days)
    {
        balance += day.Overtime_Minutes;
        day.Balance_Minutes = balance;
        report.Worked_Minutes += day.Worked_Minutes;
        report.Full_Time_Minutes += day.Full_Time_Minutes;
    }
    report.Overtime_Balance_Minutes = balance;
    return report;
}

Report_Load_Outcome Outcome(bool readable, Report_Store_State state = Report_Store_State::Ready,
                            std::string detail = {}, std::string failure = {}, bool rebuild_failed = false)
{
    Report_Load_Outcome outcome;
    outcome.Readable = readable;
    outcome.Store_State = state;
    outcome.Store_Detail = std::move(detail);
    outcome.Failure = std::move(failure);
    outcome.Rebuild_Failed = rebuild_failed;
    return outcome;
}

class Fake_Report_Source final : public Report_Source
{
public:
    Report_Load_Outcome Load(const Report_Progress& progress) override
    {
        return Run(progress, Load_Result, Load_Gated);
    }

    Report_Load_Outcome Rebuild(const Report_Progress& progress) override
    {
        return Run(progress, Rebuild_Result, true);
    }

    History_Report Report_For(Report_Period_Kind kind, int offset) override
    {
        Requests.emplace_back(kind, offset);
        return Report;
    }

    void Open_Gate()
    {
        std::lock_guard lock(Gate_Mutex);
        Gate_Open = true;
        Gate.notify_all();
    }

    Report_Load_Outcome Load_Result = Outcome(true);
    bool Load_Gated = false;
    Report_Load_Outcome Rebuild_Result = Outcome(true);
    History_Report Report = Week_Report();
    std::vector<std::pair<Report_Period_Kind, int>> Requests;

private:
    Report_Load_Outcome Run(const Report_Progress& progress, const Report_Load_Outcome& outcome, bool gated)
    {
        progress(1, 4);
        if (gated)
        {
            // Held halfway until the test lets it finish.
            std::unique_lock lock(Gate_Mutex);
            Gate.wait(lock, [this] { return Gate_Open; });
        }
        progress(4, 4);
        return outcome;
    }

    std::mutex Gate_Mutex;
    std::condition_variable Gate;
    bool Gate_Open = false;
};

struct Report_Fixture
{
    Report_Fixture()
    {
        auto source = std::make_unique<Fake_Report_Source>();
        Source = source.get();
        Report_Form_Setup setup;
        setup.Source = std::move(source);
        setup.Button_Skin = QPixmap(420, 25);
        setup.Button_Skin.fill(Qt::gray);
        for (int key = 1; key <= 7; ++key) setup.Day_Names[std::size_t(key)] = QStringLiteral("D%1").arg(key);
        setup.Ask_Csv_Path = [this](QWidget*, const QString& suggested) {
            Suggested_Paths.push_back(suggested);
            return Csv_Answer;
        };
        Form = std::make_unique<TReport_Form>(std::move(setup));
    }

    template <typename T>
    T* Part(const char* name) const
    {
        T* part = Form->findChild<T*>(QString::fromLatin1(name));
        if (!part) qFatal("no %s", name);
        return part;
    }
    void Click(const char* name) const
    {
        QTest::mouseClick(Part<TVela_Button>(name), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }
    QString Label(const char* name) const { return Part<QLabel>(name)->text(); }

    Fake_Report_Source* Source = nullptr;
    QString Csv_Answer;
    QStringList Suggested_Paths;
    std::unique_ptr<TReport_Form> Form;
};

}  // namespace

class Report_Form_Test : public QObject
{
    Q_OBJECT

private slots:
    void Shows_Each_Work_Type_With_Time_Share_And_A_Bar_In_Proportion()
    {
        Report_Fixture fixture;
        fixture.Form->Open();
        const TWork_Type_Chart& chart = *fixture.Form->Work_Type_Chart();
        QCOMPARE(chart.Row_Count(), std::size_t(2));
        QCOMPARE(chart.Row_Name(0), QStringLiteral("Coding"));
        QCOMPARE(chart.Row_Time(0), QStringLiteral("09:00"));
        QCOMPARE(chart.Row_Share(0), QStringLiteral("75.0 %"));
        QCOMPARE(chart.Row_Time(1), QStringLiteral("03:00"));
        QCOMPARE(chart.Row_Share(1), QStringLiteral("25.0 %"));
        // 540 against 180 minutes: the second bar is a third of the first.
        const int longest = chart.Row_Bar(0).width();
        QVERIFY(longest > 200);
        QVERIFY(std::abs(chart.Row_Bar(1).width() * 3 - longest) <= 3);
        QVERIFY(chart.Row_Bar(1).top() > chart.Row_Bar(0).bottom());

        // Worked 480 + 240 minutes against 2 x 480: a deficit of four hours.
        QCOMPARE(fixture.Label("Worked_Value_Label"), QStringLiteral("12:00"));
        QCOMPARE(fixture.Label("Full_Time_Value_Label"), QStringLiteral("16:00"));
        QCOMPARE(fixture.Label("Balance_Value_Label"), QStringLiteral("-04:00"));
        QVERIFY(fixture.Label("Period_Label").contains(QString::number(2026)));
        QVERIFY(fixture.Label("Booked_Beyond_Label").isEmpty());

        // An overbooked period says by how much under the totals.
        Report_Fixture overbooked;
        overbooked.Source->Report.Booked_Beyond_Worked_Minutes = 90;
        overbooked.Form->Open();
        QCOMPARE(overbooked.Label("Booked_Beyond_Label"), QStringLiteral("Booked beyond worked: 01:30"));
    }

    void Stacks_Each_Day_In_The_Periods_Order_At_Its_Date_Under_The_Full_Time_Line()
    {
        Report_Fixture fixture;
        fixture.Form->Open();
        const TDay_Chart& chart = *fixture.Form->Day_Chart();
        const TWork_Type_Chart& types = *fixture.Form->Work_Type_Chart();
        QCOMPARE(chart.Day_Count(), std::size_t(2));

        // Wednesday stands two slots right of Monday; Tuesday's slot stays empty.
        const QRect monday = chart.Day_Bar(0);
        const QRect wednesday = chart.Day_Bar(1);
        const int slot = (chart.width() - chart.Plot_Left() - TDay_Chart::Plot_Right_Margin) / 7;
        QVERIFY(std::abs(wednesday.left() - monday.left() - 2 * slot) <= 2);

        // The day listed Meeting first, but Coding (the period's largest) stacks at the bottom
        // in the colour the work-type rows give it.
        const std::vector<TDay_Chart::Segment> parts = chart.Day_Segments(1);
        QCOMPARE(parts.size(), std::size_t(2));
        QCOMPARE(parts[0].Work_Type, std::string("Coding"));
        QCOMPARE(parts[0].Color, types.Row_Color(0));
        QCOMPARE(parts[1].Color, types.Row_Color(1));
        QVERIFY(parts[0].Rectangle.top() > parts[1].Rectangle.top());
        // 180 against 60 minutes.
        QVERIFY(std::abs(parts[0].Rectangle.height() - 3 * parts[1].Rectangle.height()) <= 3);
        // Monday worked exactly its full time: the bar's top touches the line.
        const std::vector<QLine> lines = chart.Full_Time_Lines();
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY(std::abs(monday.top() - lines[0].y1()) <= 1);
        QCOMPARE(chart.Minutes_To_Y(480), lines[0].y1());
        QVERIFY(chart.Scale_Minutes() >= 480 && chart.Scale_Minutes() % 120 == 0);

        // The week's days are named from the language file (D1 Sunday .. D7 Saturday).
        const std::vector<TDay_Chart::Axis_Label> week = chart.Axis_Labels();
        QCOMPARE(week.size(), std::size_t(7));
        QCOMPARE(week[0].Text, QStringLiteral("D2 7."));
        QCOMPARE(week[6].Text, QStringLiteral("D1 13."));

        // A year is labelled by months, each over its own days.
        History_Report year;
        year.From = {2024, 1, 1};
        year.To = {2024, 12, 31};
        fixture.Form->Day_Chart()->Set_Report(year);
        const std::vector<TDay_Chart::Axis_Label> months = chart.Axis_Labels();
        QCOMPARE(months.size(), std::size_t(12));
        QCOMPARE(months[1].Text, QStringLiteral("2."));
        QCOMPARE(months[1].First_Slot, 31LL);
        QCOMPARE(months[1].Last_Slot, 59LL);  // a leap February
        QCOMPARE(months[11].Last_Slot, 365LL);

        // A target that changed within the period is drawn over each day at its own level.
        History_Report changed = Week_Report();
        changed.Days[1].Full_Time_Minutes = 240;
        fixture.Form->Day_Chart()->Set_Report(changed);
        const std::vector<QLine> pieces = chart.Full_Time_Lines();
        QCOMPARE(pieces.size(), std::size_t(2));
        QVERIFY(pieces[1].y1() > pieces[0].y1());
        QVERIFY(pieces[1].x1() > pieces[0].x2());
    }

    void A_Year_Shows_A_Bar_Per_Week_And_The_Whole_History_One_Per_Month()
    {
        Report_Fixture fixture;
        History_Report report;
        report.From = {2026, 1, 1};  // a Thursday: its week began in December
        report.To = {2026, 12, 31};
        for (const Calendar_Date date : {Calendar_Date{2026, 1, 1}, Calendar_Date{2026, 1, 2},
                                         Calendar_Date{2026, 1, 5}, Calendar_Date{2026, 3, 31}})
        {
            History_Report_Day day = Day(1, {Type("Coding", 300), Type("Meeting", 60)});
            day.Date = date;
            report.Days.push_back(day);
        }
        report.By_Work_Type = {Type("Coding", 1200), Type("Meeting", 240)};
        fixture.Source->Report = report;
        fixture.Form->Open();
        fixture.Form->Show_Period(Report_Period_Kind::Year, 0);
        const TDay_Chart& chart = *fixture.Form->Day_Chart();
        // Thursday and Friday make one week's bar, the Monday after and March 31 their own.
        QCOMPARE(chart.Day_Count(), std::size_t(3));
        QCOMPARE(chart.Bar_Day(0).Worked_Minutes, 720LL);
        QCOMPARE(chart.Bar_Day(0).Full_Time_Minutes, 960LL);
        QCOMPARE(chart.Bar_Day(1).Date, (Calendar_Date{2026, 1, 5}));
        QVERIFY(chart.Day_Bar(1).width() > 5);
        const std::vector<TDay_Chart::Axis_Label> months = chart.Axis_Labels();
        QCOMPARE(months.size(), std::size_t(12));
        QCOMPARE(months[0].Text, QStringLiteral("1."));

        fixture.Form->Show_Period(Report_Period_Kind::All, 0);
        QCOMPARE(chart.Day_Count(), std::size_t(2));
        QCOMPARE(chart.Bar_Day(0).Worked_Minutes, 3 * 360LL);
        QCOMPARE(chart.Bar_Day(1).Date, (Calendar_Date{2026, 3, 1}));
        QCOMPARE(chart.Axis_Labels().size(), std::size_t(12));

        // Every work type its own colour, however many there are.
        std::set<QRgb> colors;
        for (std::size_t order = 0; order < 60; ++order) colors.insert(Work_Type_Color(order).rgb());
        QCOMPARE(colors.size(), std::size_t(60));
    }

    void Browses_Periods_With_Buttons_And_Keys_And_Escape_Closes()
    {
        Report_Fixture fixture;
        fixture.Form->Open();
        QVERIFY(fixture.Form->isVisible());
        using Kind = Report_Period_Kind;
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::Week, 0));
        // Nothing lies after the present period.
        QVERIFY(!fixture.Part<TVela_Button>("Next_Button")->isEnabled());
        fixture.Click("Month_Button");
        fixture.Click("Previous_Button");
        fixture.Click("Previous_Button");
        QTest::keyClick(fixture.Form.get(), Qt::Key_Right);
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::Month, -1));
        QVERIFY(fixture.Part<TVela_Button>("Month_Button")->Button_Down());
        QVERIFY(!fixture.Part<TVela_Button>("Week_Button")->Button_Down());
        // A new kind starts at the present period again.
        fixture.Click("Year_Button");
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::Year, 0));
        QTest::keyClick(fixture.Form.get(), Qt::Key_Left);
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::Year, -1));
        // The whole history has no neighbours.
        fixture.Click("All_Button");
        const std::size_t asked = fixture.Source->Requests.size();
        QTest::keyClick(fixture.Form.get(), Qt::Key_Left);
        fixture.Click("Previous_Button");
        QCOMPARE(fixture.Source->Requests.size(), asked);
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::All, 0));

        // Reopened, it shows the same period with fresh figures.
        QTest::keyClick(fixture.Form.get(), Qt::Key_Escape);
        QVERIFY(!fixture.Form->isVisible());
        fixture.Form->Open();
        QCOMPARE(fixture.Source->Requests.size(), asked + 1);
        QCOMPARE(fixture.Source->Requests.back(), std::pair(Kind::All, 0));
    }

    void An_Empty_Period_Shows_Nothing_Recorded_And_Zero_Totals()
    {
        Report_Fixture fixture;
        History_Report empty;
        empty.From = {2026, 11, 30};
        empty.To = {2026, 12, 6};
        fixture.Source->Report = empty;
        fixture.Form->Open();
        QCOMPARE(fixture.Form->Work_Type_Chart()->Row_Count(), std::size_t(0));
        QCOMPARE(fixture.Form->Day_Chart()->Day_Count(), std::size_t(0));
        QVERIFY(fixture.Form->Day_Chart()->Full_Time_Lines().empty());
        QCOMPARE(fixture.Label("Balance_Value_Label"), QStringLiteral("00:00"));
    }

    void An_Unreadable_History_Says_Why_And_Rebuilds_With_Progress()
    {
        Report_Fixture fixture;
        fixture.Source->Load_Result =
            Outcome(false, Report_Store_State::Damaged, "Work_History.sqlite: file is not a database",
                    "The target log Work_Log.csv does not exist.");
        fixture.Source->Rebuild_Result.Unreadable_Lines = 3;
        fixture.Source->Rebuild_Result.First_Unreadable_Line_Numbers = {4, 6, 12};
        fixture.Form->Open();
        QVERIFY(fixture.Form->Problem_Shown());
        QVERIFY(fixture.Source->Requests.empty());
        QCOMPARE(fixture.Label("Problem_Headline"),
                 QString::fromLatin1(Report_Texts::Built_In(Report_Text::History_Unreadable)));
        const QString problem = fixture.Label("Problem_Text");
        QVERIFY(problem.contains(QString::fromLatin1(Report_Texts::Built_In(Report_Text::Store_Damaged))));
        QVERIFY(problem.contains(QStringLiteral("file is not a database")));
        QVERIFY(problem.contains(QStringLiteral("Work_Log.csv does not exist")));
        QVERIFY(!fixture.Part<TVela_Button>("Save_Csv_Button")->isEnabled());
        QVERIFY(!fixture.Part<TVela_Button>("Month_Button")->isEnabled());

        QSignalSpy ended(fixture.Form.get(), &TReport_Form::Work_Ended);
        fixture.Click("Rebuild_Button");
        auto* progress = fixture.Part<QProgressBar>("Progress_Bar");
        QTRY_COMPARE(progress->value(), 250);
        QVERIFY(progress->isVisible() && fixture.Form->Busy());
        // Nothing else may ask the history while it is being rebuilt.
        QVERIFY(fixture.Part<TVela_Button>("Rebuild_Button")->isHidden());
        fixture.Click("Month_Button");
        QTest::keyClick(fixture.Form.get(), Qt::Key_Left);
        QVERIFY(fixture.Source->Requests.empty());

        fixture.Source->Open_Gate();
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!fixture.Form->Problem_Shown() && !fixture.Form->Busy());
        QCOMPARE(fixture.Form->Work_Type_Chart()->Row_Count(), std::size_t(2));
        // The lines left out are counted and named, not hidden.
        QVERIFY(fixture.Label("Notice_Label").endsWith(QStringLiteral(" 3 (4, 6, 12)")));
        QVERIFY(fixture.Part<TVela_Button>("Save_Csv_Button")->isEnabled());
    }

    void A_History_Not_Begun_Is_Calm_And_An_Error_Fits_Its_Space()
    {
        Report_Fixture fixture;
        fixture.Source->Load_Result = Outcome(false, Report_Store_State::Missing, "Work_History.sqlite is not found",
                                              "target log /tmp/Work_Log.csv not found");
        fixture.Source->Load_Result.History_Not_Begun = true;
        fixture.Form->Open();
        QVERIFY(fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Label("Problem_Headline"),
                 QString::fromLatin1(Report_Texts::Built_In(Report_Text::No_Finished_Days)));
        QVERIFY(!fixture.Label("Problem_Text").contains(QStringLiteral("Work_Log.csv")));
        QVERIFY(fixture.Part<TVela_Button>("Rebuild_Button")->isHidden());
        QVERIFY(!fixture.Form->Notice_Shown());

        // A fault names each file on its own line, and every line is shown whole.
        const std::string folder = "/home/someone/" + std::string(120, 'x') + "/";
        fixture.Source->Load_Result =
            Outcome(false, Report_Store_State::Damaged, folder + "Work_History.sqlite is damaged",
                    "target log " + folder + "Work_Log.csv cannot be read");
        fixture.Form->Open();
        QTRY_VERIFY(!fixture.Form->Busy());
        const auto* text = fixture.Part<QLabel>("Problem_Text");
        const auto* explanation = fixture.Part<QLabel>("Problem_Explanation");
        QCOMPARE(text->text().count(QLatin1Char('\n')), 2);
        QVERIFY(text->height() >= text->heightForWidth(text->width()));
        QVERIFY(explanation->geometry().top() >= text->geometry().bottom());
        QVERIFY(fixture.Part<TVela_Button>("Rebuild_Button")->geometry().top() >= explanation->geometry().bottom());
    }

    void A_Damaged_Database_Still_Shows_The_Target_Logs_Figures_And_Offers_The_Rebuild()
    {
        Report_Fixture fixture;
        fixture.Source->Load_Result = Outcome(true, Report_Store_State::Locked, "Work_History.sqlite is locked");
        fixture.Source->Rebuild_Result =
            Outcome(true, Report_Store_State::Locked, "Work_History.sqlite is locked", "database is locked", true);
        fixture.Form->Open();
        QVERIFY(!fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Form->Work_Type_Chart()->Row_Count(), std::size_t(2));
        QVERIFY(fixture.Label("Notice_Label")
                    .startsWith(QString::fromLatin1(Report_Texts::Built_In(Report_Text::Store_Locked))));
        QVERIFY(fixture.Part<TVela_Button>("Notice_Rebuild_Button")->isVisible());

        // A rebuild that wrote nothing says so, and the figures stay in view.
        QSignalSpy ended(fixture.Form.get(), &TReport_Form::Work_Ended);
        fixture.Source->Open_Gate();
        fixture.Click("Notice_Rebuild_Button");
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!fixture.Form->Problem_Shown());
        QVERIFY(fixture.Label("Notice_Label")
                    .startsWith(QString::fromLatin1(Report_Texts::Built_In(Report_Text::Rebuild_Failed))));
        QVERIFY(fixture.Label("Notice_Label").contains(QStringLiteral("database is locked")));
        QVERIFY(fixture.Part<TVela_Button>("Notice_Rebuild_Button")->isEnabled());
    }

    void A_Slow_History_Opens_The_Window_At_Once_With_Progress()
    {
        Report_Fixture fixture;
        fixture.Source->Load_Gated = true;
        QSignalSpy ended(fixture.Form.get(), &TReport_Form::Work_Ended);
        fixture.Form->Open();
        QVERIFY(fixture.Form->isVisible() && fixture.Form->Busy());
        QVERIFY(fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Label("Problem_Headline"), QString::fromLatin1(Report_Texts::Built_In(Report_Text::Loading)));
        QTRY_COMPARE(fixture.Part<QProgressBar>("Progress_Bar")->value(), 250);
        // Opening again while it loads only brings the window forward.
        fixture.Form->Open();
        fixture.Source->Open_Gate();
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Source->Requests.size(), std::size_t(1));
    }

    void Saves_What_It_Shows_As_Csv_And_Says_When_It_Cannot()
    {
        Report_Fixture fixture;
        QTemporaryDir folder;
        fixture.Form->Open();
        fixture.Csv_Answer = folder.filePath(QStringLiteral("week.csv"));
        fixture.Click("Save_Csv_Button");
        QVERIFY(fixture.Suggested_Paths.back().endsWith(QStringLiteral("work-history-2026-12-07-2026-12-13.csv")));
        QFile saved(fixture.Csv_Answer);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), Work_Type_Csv(Week_Report()) + "\n" + Days_Csv(Week_Report()));
        QVERIFY(fixture.Label("Notice_Label").contains(QStringLiteral("week.csv")));

        // A cancelled dialog writes nothing; a folder that does not exist is reported.
        fixture.Csv_Answer.clear();
        fixture.Click("Save_Csv_Button");
        fixture.Csv_Answer = folder.filePath(QStringLiteral("missing/week.csv"));
        fixture.Click("Save_Csv_Button");
        QVERIFY(!QFile::exists(fixture.Csv_Answer));
        QVERIFY(fixture.Label("Notice_Label")
                    .startsWith(QString::fromLatin1(Report_Texts::Built_In(Report_Text::Csv_Not_Saved))));
    }

    void The_Main_Window_Opens_One_Window_In_Its_Language_And_Keeps_It()
    {
        QTemporaryDir folder;
        Fake_Main_Form main_form(QFile::encodeName(folder.path()).toStdString());
        main_form.Setup.Language_File_Path = std::string(ZL_SOURCE_DATA_DIR) + "/Czech.lng";
        main_form.Setup.Main_Form_Color = 0x00C0C0C0;
        int sources_made = 0;
        Report_Form_Opener opener(
            [&sources_made](const Program_Paths&, const Settings&) {
                ++sources_made;
                return std::make_unique<Fake_Report_Source>();
            },
            "yyyy/M/d");
        QVERIFY(opener.Report_Form() == nullptr);
        // The key R is released over the report window: the main window must not wait for it.
        QVERIFY(opener.Display_Report_Form(main_form.Setup, main_form.Texts, main_form.Resources));
        TReport_Form* form = opener.Report_Form();
        QVERIFY(form != nullptr && form->isVisible());
        QCOMPARE(form->parentWidget(), &main_form.Window);
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Přehled odpracované doby"));
        // The period's dates are written as the program writes dates, not as Qt's locale would.
        QCOMPARE(form->findChild<QLabel*>("Period_Label")->text(), QString::fromUtf8("2026/12/7  –  2026/12/13"));

        form->Show_Period(Report_Period_Kind::Year, -1);
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(opener.Display_Report_Form(main_form.Setup, main_form.Texts, main_form.Resources));
        QCOMPARE(opener.Report_Form(), form);
        QVERIFY(form->isVisible());
        QCOMPARE(sources_made, 1);
        // It comes back on the period it showed.
        QVERIFY(form->Period_Kind() == Report_Period_Kind::Year && form->Period_Offset() == -1);
    }
};

QTEST_MAIN(Report_Form_Test)
#include "Report_Form_test.moc"
