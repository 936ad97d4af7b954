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
        std::unique_lock lock(Guard);
        Loads.push_back(Next_Scope);
        // The server's read is held until the test lets it answer.
        if (Next_Scope != Report_Scope::This_Pc) Gate.wait(lock, [this] { return Answer; });
        Answer = false;
        Report_Load_Outcome outcome;
        outcome.Readable = Next_Scope == Report_Scope::This_Pc || Server_Readable;
        outcome.Server_Unreadable = !outcome.Readable;
        if (outcome.Server_Unreadable) outcome.Failure = "timeout expired";
        return outcome;
    }
    Report_Load_Outcome Rebuild(const Report_Progress&) override { return {}; }
    History_Report Report_For(Report_Period_Kind, int) override
    {
        History_Report report;
        report.Worked_Minutes = Next_Scope == Report_Scope::This_Pc ? 60 : 120;
        return report;
    }
    std::vector<Report_Scope> Scopes() const override { return Offered; }
    void Set_Scope(Report_Scope scope) override { Next_Scope = scope; }
    void Let_Answer()
    {
        std::lock_guard lock(Guard);
        Answer = true;
        Gate.notify_all();
    }

    std::vector<Report_Scope> Offered;
    bool Server_Readable = true;
    std::vector<Report_Scope> Loads;  // read once the window is idle

private:
    std::mutex Guard;
    std::condition_variable Gate;
    bool Answer = false;
    Report_Scope Next_Scope = Report_Scope::This_Pc;
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
    TVela_Button* Button(const char* name) const { return Form->findChild<TVela_Button*>(QString::fromLatin1(name)); }
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
    void Reads_The_Server_On_The_Worker_And_Offers_This_Pc_When_It_Cannot()
    {
        QVERIFY(Switch_Fixture({Report_Scope::This_Pc}).Button("This_Pc_Button")->isHidden());  // no server

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

        fixture.Click("Local_History_Button");
        QTRY_VERIFY(!fixture.Form->Busy());
        QVERIFY(!fixture.Form->Problem_Shown());
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
        QCOMPARE(fixture.Source->Loads, (std::vector<Report_Scope>{Report_Scope::This_Pc, Report_Scope::My_Pcs,
                                                                   Report_Scope::This_Pc, Report_Scope::My_Pcs}));
    }
};

QTEST_MAIN(Report_Scope_Switch_Test)
#include "Report_Scope_Switch_test.moc"
