// The hidden testing panel: its access code, its place in the window, closing it, the
// tooltip of long protocol lines and the credits sequence.
#include <QFontMetrics>
#include <QFrame>
#include <QListWidget>
#include <QToolTip>

#include "Main_Form_Test_Support.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Work_Area.h"

namespace
{
struct Panel_Fixture : Started_Main_Form
{
    explicit Panel_Fixture(const std::vector<std::string>& setup_lines = {}, int user_rows = 2)
        : Started_Main_Form(setup_lines, [user_rows](Started_Main_Form& start) {
              std::vector<Work_Record> records = {
                  Make_Record("Thu", start.Harness->Today(), "08:00 - 08:00", "TOTAL", "00:00", "")};
              if (user_rows > 0) records.push_back(Make_Record("", "", "", "U", "00:00", ""));
              for (int row = 0; row < user_rows; ++row) records.push_back(Make_Record("", "", "", "A", "00:10", ""));
              start.Directory.Write_Day_Log(records);
          })
    {
        Form().show();
    }
};

// Types the characters as keys on the target, with Shift for capitals.
void Type(QWidget& target, const QString& text)
{
    for (const QChar character : text)
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        {
            QKeyEvent event(type, character.toUpper().unicode(),
                            character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(character));
            QApplication::sendEvent(&target, &event);
        }
}

// A line of ASCII characters exactly this wide in the font, or an empty one if none is found.
QString Line_Of_Width(const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    QString base;
    while (metrics.horizontalAdvance(base + QLatin1Char('m')) < width - 30) base += QLatin1Char('m');
    const QString pieces = QStringLiteral("abcdefghijklmnopqrstuvwxyz.:;!|iIl1 ");
    for (const QChar first : pieces)
        for (const QChar second : pieces)
            for (const QChar third : pieces)
                for (const QChar fourth : pieces)
                {
                    const QString line = base + first + second + third + fourth;
                    if (metrics.horizontalAdvance(line) == width) return line;
                }
    return {};
}

void Point_At(QListWidget& list, int row)
{
    QWidget* viewport = list.viewport();
    const QPoint local =
        row < list.count() ? list.visualItemRect(list.item(row)).center() : QPoint(20, list.viewport()->height() - 3);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(viewport->mapToGlobal(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
}
}  // namespace

class Main_Form_Testing_Panel_Test : public QObject
{
    Q_OBJECT

private slots:
    void The_Code_Opens_The_Panel_Only_When_Typed_Exactly_In_A_Row_Also_In_A_Fade()
    {
        Panel_Fixture panel;
        TMain_Form& form = panel.Form();
        const int normal_height = form.height();

        Type(form, QStringLiteral("qqzv"));
        Type(form, QStringLiteral("QZV"));
        Type(form, QStringLiteral("qz"));
        QTest::keyClick(&form, Qt::Key_Backspace);
        Type(form, QStringLiteral("v"));
        QVERIFY(!Peer(form).Testing().Active() && !Peer(form).Testing().Panel_Of_Window().isVisible());
        QCOMPARE(form.height(), normal_height);

        // An unrelated character just before the code does not matter.
        Type(form, QStringLiteral("xqzv"));
        QVERIFY(Peer(form).Testing().Active() && Peer(form).Testing().Panel_Of_Window().isVisible());
        QCOMPARE(Peer(form).Testing().Access_Code_Position(), 1);
        QCOMPARE(form.height(), 620);
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().geometry(), QRect(6, 620 - 239, 743, 233));

        // The code counts during a fade and in the list box.
        Peer(form).Testing().Exit();
        Peer(form).Fader().Effect_Timer_Of_Main_Form().setInterval(24 * 3600 * 1000);
        Peer(form).Fade_Out_To_Tray();
        Type(form, QStringLiteral("qzv"));
        QVERIFY(Peer(form).Testing().Active());
        Peer(form).Fader().Effect_Timer_Of_Main_Form().stop();

        Peer(form).Testing().Exit();
        QVERIFY(!Peer(form).Testing().Active());
        Peer(form).Testing().Panel_Of_Window().Error_List_Box()->setFocus();
        Type(*Peer(form).Testing().Panel_Of_Window().Error_List_Box(), QStringLiteral("q"));
        Type(form, QStringLiteral("zv"));
        QVERIFY(Peer(form).Testing().Active());
    }

    void The_List_Is_A_Snapshot_Taken_At_Each_Opening()
    {
        Panel_Fixture panel;
        TMain_Form& form = panel.Form();
        Error_List& errors = form.Error_List_Of_Main_Form();
        QListWidget& list = *Peer(form).Testing().Panel_Of_Window().Error_List_Box();
        // Start-up fills it once.
        QCOMPARE(list.count(), int(errors.Lines().size()));
        errors.Add_Bare("first extra line");
        QCOMPARE(list.count(), int(errors.Lines().size()) - 1);

        Type(form, QStringLiteral("qzv"));
        QCOMPARE(list.count(), int(errors.Lines().size()));
        QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("first extra line"));
        errors.Add_Bare("second extra line");
        QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("first extra line"));
        Type(form, QStringLiteral("qzv"));
        QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("second extra line"));
        QCOMPARE(form.height(), 620);
    }

    void The_Window_Keeps_Its_Testing_Height_Until_The_Panel_Closes()
    {
        Panel_Fixture panel({}, 0);
        TMain_Form& form = panel.Form();
        QCOMPARE(form.height(), 17 + 52);
        Type(form, QStringLiteral("qzv"));
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        QCOMPARE(form.height(), 620);
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);

        QTest::mouseClick(Peer(form).Testing().Panel_Of_Window().Exit_Testing_Mode_Button(), Qt::LeftButton);
        QVERIFY(!Peer(form).Testing().Active() && !Peer(form).Testing().Panel_Of_Window().isVisible());
        QCOMPARE(form.height(), 17 + 52);
    }

    void A_Bottom_Anchor_Keeps_The_Window_On_The_Work_Areas_Bottom()
    {
        const QRect work_area = Primary_Work_Area();
        for (const int anchor : {3, 4})
        {
            Panel_Fixture panel({"Visual:Main_Form_Anchor=" + std::to_string(anchor)});
            TMain_Form& form = panel.Form();
            const int left = form.x();
            Type(form, QStringLiteral("qzv"));
            QVERIFY(form.y() + form.height() == work_area.height() && form.x() == left);
            Peer(form).Testing().Exit();
            QCOMPARE(form.height(), 4 * 17 + 52);
            QCOMPARE(form.y() + form.height(), work_area.height());
        }
        // A top anchor leaves the window where it is.
        Panel_Fixture top_anchored({"Visual:Main_Form_Anchor=2"});
        Type(top_anchored.Form(), QStringLiteral("qzv"));
        QCOMPARE(top_anchored.Form().y(), 0);
    }

    void Keys_The_List_Ignores_Act_Once_And_The_Buttons_Are_There_Below_The_Table()
    {
        Panel_Fixture panel;
        TMain_Form& form = panel.Form();
        TVela_Button* add = Peer(form).Add_Record_Button();
        QVERIFY(!add->isVisible());
        Type(form, QStringLiteral("qzv"));

        // The bar is hidden, but the 620-pixel window holds the buttons below the table.
        QVERIFY(add->isVisible() && form.rect().contains(add->geometry()));
        QTest::mouseClick(add, Qt::LeftButton, Qt::NoModifier, QPoint(50, 12));
        QCOMPARE(panel.Harness->Editor_Openings, std::vector<bool>{true});

        // The window previews the list's keys; one the list ignores must not act again.
        QListWidget* list = Peer(form).Testing().Panel_Of_Window().Error_List_Box();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        list->setFocus();
        QCOMPARE(QApplication::focusWidget(), list);
        panel.Harness->Dialogs->Answer(2);
        QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(panel.Harness->Dialogs->Questions.size(), std::size_t(1));
        QCOMPARE(Peer(form).Day_Log_Of_Main_Form().Size(), std::size_t(4));

        Peer(form).Testing().Exit();
        QVERIFY(!add->isVisible());
    }

    void Only_Lines_Wider_Than_740_Pixels_Show_As_A_Tooltip()
    {
        Panel_Fixture panel;
        TMain_Form& form = panel.Form();
        QListWidget& list = *Peer(form).Testing().Panel_Of_Window().Error_List_Box();
        const QString exact = Line_Of_Width(list.font(), 740);
        const QString wider = Line_Of_Width(list.font(), 741);
        QVERIFY(!exact.isEmpty() && !wider.isEmpty());
        Error_List& errors = form.Error_List_Of_Main_Form();
        errors.Add_Bare(wider.toStdString());
        errors.Add_Bare(exact.toStdString());
        Type(form, QStringLiteral("qzv"));
        const int wider_row = list.count() - 2;
        const int exact_row = list.count() - 1;
        list.scrollToBottom();

        Point_At(list, wider_row);
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().Error_List_Box_Hint(), wider);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), wider);

        Point_At(list, exact_row);
        QTRY_VERIFY(!QToolTip::isVisible());
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().Error_List_Box_Hint(), wider);  // the hint keeps its last text

        Point_At(list, wider_row);
        QVERIFY(QToolTip::isVisible());
        Point_At(list, list.count());  // below the last line
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void The_Credits_Need_Both_Letters_The_Button_And_The_Last_Letter_In_Order()
    {
        Panel_Fixture panel;
        TMain_Form& form = panel.Form();
        Scripted_Message_Dialogs& dialogs = *panel.Harness->Dialogs;
        Type(form, QStringLiteral("qzv"));
        QListWidget& list = *Peer(form).Testing().Panel_Of_Window().Error_List_Box();
        TVela_Button& exit_button = *Peer(form).Testing().Panel_Of_Window().Exit_Testing_Mode_Button();
        const auto enter_button = [&] {
            QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(exit_button.mapToGlobal(QPoint(3, 3))));
            QApplication::sendEvent(&exit_button, &enter);
        };

        // Out of order, or broken by another character: nothing.
        Type(list, QStringLiteral("zlg"));
        enter_button();
        Type(list, QStringLiteral("zl"));
        enter_button();
        Type(list, QStringLiteral("x"));
        Type(list, QStringLiteral("g"));
        Type(form, QStringLiteral("zl"));  // on the window, not in the list
        enter_button();
        Type(form, QStringLiteral("g"));
        QVERIFY(dialogs.Questions.empty());
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().Credits_Step(), 0);

        // A repeated letter of the sequence keeps the step it reached.
        Type(list, QStringLiteral("zzll"));
        enter_button();
        enter_button();
        dialogs.Answer(1);
        Type(list, QStringLiteral("g"));
        QCOMPARE(dialogs.Questions.size(), std::size_t(1));
        Question credits = dialogs.Questions.front();
        QVERIFY(credits.Message.find(Application_Title) != std::string::npos);
        credits.Message.clear();
        QCOMPARE(credits.Text(), std::string("Warning_Icon_Source.bmp|120||:o)|"));
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().Credits_Step(), 4);

        // It stays at the last step until another character resets it.
        Type(list, QStringLiteral("zlg"));
        QCOMPARE(dialogs.Questions.size(), std::size_t(1));
        Type(list, QStringLiteral("x"));
        QCOMPARE(Peer(form).Testing().Panel_Of_Window().Credits_Step(), 0);
        QVERIFY(Peer(form).Testing().Active());
    }
};

QTEST_MAIN(Main_Form_Testing_Panel_Test)
#include "TMain_Form_Testing_Panel_test.moc"
