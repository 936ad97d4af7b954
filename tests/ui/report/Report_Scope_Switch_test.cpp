// The report window's switch between this PC and the history server, with a source made
// by hand: which scope each load is for, and the server that cannot be read.
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>
#include <condition_variable>
#include <mutex>

#include "ui/controls/TVela_Button.h"
#include "ui/report/TReport_Form.h"

namespace
{

class Scoped_Source final : public Report_Source
{
public:
    Report_Load_Outcome Load(const Report_Progress&) override
    {
        Report_Scope scope = Report_Scope::This_Pc;
        {
            std::unique_lock lock(Guard);
            scope = Next_Scope;
            Loaded_Scopes.push_back(scope);
            // The server's read is held until the test lets it answer.
            if (scope != Report_Scope::This_Pc) Gate.wait(lock, [this] { return Answer; });
            Answer = false;
        }
        Report_Load_Outcome outcome;
        outcome.Readable = scope == Report_Scope::This_Pc || Server_Readable;
        outcome.Server_Unreadable = !outcome.Readable;
        if (outcome.Server_Unreadable) outcome.Failure = "timeout expired";
        return outcome;
    }
    Report_Load_Outcome Rebuild(const Report_Progress&) override { return {}; }
    History_Report Report_For(Report_Period_Kind, int) override
    {
        History_Report report;
        report.From = {2026, 12, 1};
        report.To = {2026, 12, 31};
        report.Worked_Minutes = Next_Scope == Report_Scope::This_Pc ? 60 : 120;
        return report;
    }
    std::vector<Report_Scope> Scopes() const override { return Offered; }
    void Set_Scope(Report_Scope scope) override
    {
        std::lock_guard lock(Guard);
        Next_Scope = scope;
    }
    void Let_Answer()
    {
        std::lock_guard lock(Guard);
        Answer = true;
        Gate.notify_all();
    }
    std::vector<Report_Scope> Loads()
    {
        std::lock_guard lock(Guard);
        return Loaded_Scopes;
    }

    std::vector<Report_Scope> Offered = {Report_Scope::This_Pc};
    bool Server_Readable = true;

private:
    std::mutex Guard;
    std::condition_variable Gate;
    bool Answer = false;
    Report_Scope Next_Scope = Report_Scope::This_Pc;
    std::vector<Report_Scope> Loaded_Scopes;
};

struct Switch_Fixture
{
    explicit Switch_Fixture(std::vector<Report_Scope> offered)
    {
        auto source = std::make_unique<Scoped_Source>();
        Source = source.get();
        Source->Offered = std::move(offered);
        Report_Form_Setup setup;
        setup.Source = std::move(source);
        setup.Button_Skin = QPixmap(420, 25);
        setup.Button_Skin.fill(Qt::gray);
        Form = std::make_unique<TReport_Form>(std::move(setup));
        Form->Open();
    }
    TVela_Button* Button(const char* name) const
    {
        auto* button = Form->findChild<TVela_Button*>(QString::fromLatin1(name));
        if (!button) qFatal("no %s", name);
        return button;
    }
    void Click(const char* name) const
    {
        QTest::mouseClick(Button(name), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }
    // The server answers; the window takes the outcome through its event loop.
    void Answer() const
    {
        QSignalSpy ended(Form.get(), &TReport_Form::Work_Ended);
        Source->Let_Answer();
        QVERIFY(ended.wait(5000));
    }

    Scoped_Source* Source = nullptr;
    std::unique_ptr<TReport_Form> Form;
};

}  // namespace

class Report_Scope_Switch_Test : public QObject
{
    Q_OBJECT

private slots:
    void Shows_No_Switch_Without_A_Server()
    {
        Switch_Fixture fixture({Report_Scope::This_Pc});
        for (const char* name : {"This_Pc_Button", "My_Pcs_Button", "Team_Button"})
            QVERIFY(fixture.Button(name)->isHidden());
    }

    void Reads_The_Server_On_The_Worker_And_Offers_This_Pc_When_It_Cannot()
    {
        Switch_Fixture fixture({Report_Scope::This_Pc, Report_Scope::My_Pcs});
        QVERIFY(fixture.Button("This_Pc_Button")->isVisible());
        QVERIFY(fixture.Button("Team_Button")->isHidden());  // a reporter's only
        fixture.Source->Server_Readable = false;
        fixture.Click("My_Pcs_Button");
        // The click returned while the server has not answered: the window waits, not its loop.
        QVERIFY(fixture.Form->Busy());
        QVERIFY(!fixture.Button("This_Pc_Button")->isEnabled());
        fixture.Answer();
        QVERIFY(fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Form->findChild<QLabel*>(QStringLiteral("Problem_Text"))->text(),
                 QStringLiteral("timeout expired"));
        QVERIFY(fixture.Button("Local_History_Button")->isVisible());

        fixture.Click("Local_History_Button");
        QTRY_VERIFY(!fixture.Form->Busy());
        QVERIFY(!fixture.Form->Problem_Shown());
        QCOMPARE(fixture.Form->Shown_Scope(), Report_Scope::This_Pc);
        QCOMPARE(fixture.Form->Shown_Report().Worked_Minutes, 60LL);

        // The server answers again: its days are shown, and its button stays down.
        fixture.Source->Server_Readable = true;
        fixture.Source->Offered.push_back(Report_Scope::Team);
        fixture.Click("My_Pcs_Button");
        fixture.Answer();
        QCOMPARE(fixture.Form->Shown_Report().Worked_Minutes, 120LL);
        QVERIFY(fixture.Button("My_Pcs_Button")->Button_Down());
        QVERIFY(!fixture.Button("This_Pc_Button")->Button_Down());
        QVERIFY(fixture.Button("Team_Button")->isVisible());
        const std::vector<Report_Scope> loads = fixture.Source->Loads();
        QCOMPARE(loads, (std::vector<Report_Scope>{Report_Scope::This_Pc, Report_Scope::My_Pcs, Report_Scope::This_Pc,
                                                   Report_Scope::My_Pcs}));
    }
};

QTEST_MAIN(Report_Scope_Switch_Test)
#include "Report_Scope_Switch_test.moc"
