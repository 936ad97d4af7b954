// The record editor driven as a user would: keys, clicks and the scripted message dialog.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "platform/Code_Page.h"
#include "ui/dialogs/Fake_Main_Form.h"
#include "ui/controls/Vela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Update_Record_Form.h"

namespace
{

struct Editor_Fixture
{
    QTemporaryDir Directory;
    Fake_Main_Form Main{Directory.path().toStdString()};
    Scripted_Message_Dialogs Dialogs;

    Editor_Fixture()
    {
        Write_File(Main.Paths.File("Work_Type_List"), Utf8_To_Cp1250("Testování\r\nTeam meeting\r\nOběd\r\n"));
        Main.Start_Day(8 * 60, 12 * 60);
    }

    // Opens the editor, lets the action drive it and gives the editor's result.
    int Run(bool add_mode, std::function<void(TUpdate_Record_Form*)> action)
    {
        Main.Edited = add_mode ? static_cast<std::uint8_t>(Main.Log.Size()) : Main.Edited;
        When_Open<TUpdate_Record_Form>(std::move(action));
        // A dialog left open by a failing step must not hang the test.
        QTimer::singleShot(15000, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) dialog->hide();
        });
        return Display_Update_Record_Form(Main, Dialogs, add_mode);
    }
};

template <typename Widget_Type>
Widget_Type* Part(QWidget* form, const char* name)
{
    auto* widget = form->findChild<Widget_Type*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no %s", name);
    return widget;
}

void Type_Character(QWidget* widget, const QString& character)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(widget, &press);
}

// Fills the editor and saves it with Enter in the remark.
void Enter_Record(TUpdate_Record_Form* form, const QString& work_type, const QString& hours, const QString& minutes,
                  const QString& remark = QString())
{
    Part<QComboBox>(form, "Work_Type_Combo_Box")->setEditText(work_type);
    Part<QLineEdit>(form, "Hour_Edit_Box")->setText(hours);
    Part<QLineEdit>(form, "Minute_Edit_Box")->setText(minutes);
    auto* memo = Part<QPlainTextEdit>(form, "Remark_Memo_Box");
    memo->setPlainText(remark);
    QTest::keyClick(memo, Qt::Key_Return);
}

}  // namespace

class Update_Record_Form_Test : public QObject
{
    Q_OBJECT

private slots:
    void First_Record_Creates_Unassigned_Row_And_Grows_The_Window()
    {
        Editor_Fixture fixture;
        Write_File(fixture.Main.Paths.File("Setup.ini"), "[Main_Setup]\r\nNew_Log_Record_Working_Hours=90\r\n");
        fixture.Main.Highlighted = 0;
        fixture.Main.Setup.Main_Form_Anchor = 4;
        fixture.Main.Window.setGeometry(0, Primary_Work_Area().height() - 40, 755, 120);
        fixture.Main.Setup.Update_Record_Form_Left = 120;
        fixture.Main.Setup.Update_Record_Form_Top = 110;
        QString proposed;
        QPoint opened_at, moved_to;
        const int result = fixture.Run(true, [&](TUpdate_Record_Form* form) {
            opened_at = form->pos();
            form->move(70, 80);
            moved_to = form->pos();
            proposed = Part<QLineEdit>(form, "Hour_Edit_Box")->text() + ":" +
                       Part<QLineEdit>(form, "Minute_Edit_Box")->text();
            QTest::keyClicks(Part<QComboBox>(form, "Work_Type_Combo_Box"), "Coding");
            auto* memo = Part<QPlainTextEdit>(form, "Remark_Memo_Box");
            QTest::keyClicks(memo, "first");
            QTest::keyClick(memo, Qt::Key_Return);  // saves, makes no line break
        });

        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(proposed, QStringLiteral("01:30"));
        const Day_Log& log = fixture.Main.Log;
        QCOMPARE(log.Size(), std::size_t(3));
        QCOMPARE(log.Records[0][Work_Type_Field], std::string("Day total"));
        QCOMPARE(log.Records[0][Remark_Field], std::string());
        QCOMPARE(log.Records[0][Day_Name_Field], std::string("Monday"));
        QCOMPARE(log.Records[1][Work_Type_Field], std::string("DEFAULT"));
        QCOMPARE(log.Records[1][Remark_Field], std::string("default remark"));
        QCOMPARE(log.Records[1][Duration_Field], std::string());
        QCOMPARE(log.Records[2][Work_Type_Field], std::string("Coding"));
        QCOMPARE(log.Records[2][Duration_Field], std::string("01:30"));
        QCOMPARE(log.Records[2][Remark_Field], std::string("first"));
        QCOMPARE(log.Recorded_Minutes, Minute_Of_Day(90));
        QCOMPARE(fixture.Main.Refresh_Count, 1);
        QCOMPARE(fixture.Main.Checkpoint_Count, 1);
        QCOMPARE(fixture.Main.Layout_Count, 1);
        QCOMPARE(fixture.Main.Anchors_Applied, std::vector<int>{4});
        QVERIFY(fixture.Main.Window.y() + fixture.Main.Window.height() <= Primary_Work_Area().height());
        QCOMPARE(fixture.Main.Highlighted, std::uint8_t(255));
        QVERIFY(fixture.Main.Key_Armed);
        QCOMPARE(opened_at, QPoint(120, 110));
        QCOMPARE(QPoint(fixture.Main.Setup.Update_Record_Form_Left, fixture.Main.Setup.Update_Record_Form_Top),
                 moved_to);
        QVERIFY(fixture.Dialogs.Calls.empty());
    }

    void Down_Offers_The_First_Work_Type_In_Add_Mode_And_The_Next_One_In_Edit_Mode()
    {
        Editor_Fixture fixture;
        fixture.Run(true, [](TUpdate_Record_Form* form) {
            auto* combo = Part<QComboBox>(form, "Work_Type_Combo_Box");
            QTest::keyClick(combo, Qt::Key_Down);
            QTest::keyClick(Part<QPlainTextEdit>(form, "Remark_Memo_Box"), Qt::Key_Return);
        });
        QCOMPARE(fixture.Main.Log.Size(), std::size_t(3));
        QCOMPARE(fixture.Main.Log.Records[2][Work_Type_Field], Utf8_To_Cp1250("Testování"));

        fixture.Main.Edited = 2;
        fixture.Run(false, [](TUpdate_Record_Form* form) {
            QTest::keyClick(Part<QComboBox>(form, "Work_Type_Combo_Box"), Qt::Key_Down);
            QTest::keyClick(Part<QPlainTextEdit>(form, "Remark_Memo_Box"), Qt::Key_Return);
        });
        QCOMPARE(fixture.Main.Log.Records[2][Work_Type_Field], std::string("Team meeting"));
    }

    void Proposal_Without_The_Key_Is_Half_An_Hour_And_Escape_Changes_Nothing()
    {
        Editor_Fixture fixture;
        const Day_Log before = fixture.Main.Log;
        fixture.Main.Setup.Update_Record_Form_Left = 30000;  // remembered on a screen since removed
        fixture.Main.Setup.Update_Record_Form_Top = -500;
        QString proposed;
        QStringList offered;
        QRect opened_at;
        const int result = fixture.Run(true, [&](TUpdate_Record_Form* form) {
            opened_at = form->frameGeometry();
            proposed = Part<QLineEdit>(form, "Hour_Edit_Box")->text() + ":" +
                       Part<QLineEdit>(form, "Minute_Edit_Box")->text();
            auto* combo = Part<QComboBox>(form, "Work_Type_Combo_Box");
            for (int index = 0; index < combo->count(); ++index) offered << combo->itemText(index);
            combo->setEditText(QStringLiteral("Something"));
            QTest::keyClick(combo, Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(proposed, QStringLiteral("00:30"));
        QVERIFY2(Primary_Work_Area().contains(opened_at), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6").arg(opened_at.x()).arg(opened_at.y()).arg(opened_at.width()).arg(opened_at.height()).arg(Primary_Work_Area().width()).arg(Primary_Work_Area().height())));
        QCOMPARE(offered, QStringList({QString::fromUtf8("Testování"), "Team meeting", QString::fromUtf8("Oběd")}));
        QVERIFY(fixture.Main.Log.Records == before.Records);
        QCOMPARE(fixture.Main.Refresh_Count, 0);
        QCOMPARE(fixture.Main.Layout_Count, 0);
        QVERIFY(fixture.Main.Key_Armed);
    }

    void Duplicate_Work_Type_Flashes_Its_Row_While_The_Message_Is_Open()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 30);
        const Day_Log before = fixture.Main.Log;
        std::vector<qint64> tick_times;
        fixture.Dialogs.While_Open = [&] {
            QElapsedTimer clock;
            clock.start();
            fixture.Main.Drawn_Rows.clear();
            // Two ticks: highlighted, then normal; a busy machine may delay them.
            while (fixture.Main.Drawn_Rows.size() < 2 && clock.elapsed() < 5000)
            {
                const std::size_t drawn = fixture.Main.Drawn_Rows.size();
                QTest::qWait(5);
                if (fixture.Main.Drawn_Rows.size() != drawn) tick_times.push_back(clock.elapsed());
            }
        };
        bool still_open = false;
        const int result = fixture.Run(true, [&](TUpdate_Record_Form* form) {
            // Letter case does not matter; the Unassigned_Row takes part too.
            Enter_Record(form, QStringLiteral("default"), "00", "10");
            QCOMPARE(fixture.Main.Drawn_Rows,
                     (std::vector<std::pair<std::uint8_t, bool>>{{1, true}, {1, false}, {1, false}}));
            Enter_Record(form, QStringLiteral("TEAM MEETING"), "00", "10");
            still_open = form->isVisible();
            QTest::keyClick(Part<QLineEdit>(form, "Hour_Edit_Box"), Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(still_open);
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M9", "M9"}));
        QCOMPARE(fixture.Dialogs.Calls[0].Icon, std::string("Error_Icon_Source.bmp"));
        QCOMPARE(fixture.Dialogs.Calls[0].Interval, 70);
        QCOMPARE(fixture.Dialogs.Calls[0].Second_Button, std::string());
        QCOMPARE(fixture.Main.Drawn_Rows.back(), (std::pair<std::uint8_t, bool>{2, false}));
        QVERIFY(tick_times.size() >= 2);
        QVERIFY2(tick_times[0] >= 700 && tick_times[0] < 2000, qPrintable(QString::number(tick_times[0])));
        QVERIFY2(tick_times[1] - tick_times[0] >= 700, qPrintable(QString::number(tick_times[1])));
        QVERIFY(fixture.Main.Log.Records == before.Records);
    }

    void Out_Of_Range_Durations_Are_Refused_With_The_Rest_Of_The_Day()
    {
        Editor_Fixture fixture;
        fixture.Main.Texts.Is_Czech_Language = true;
        const int result = fixture.Run(true, [&](TUpdate_Record_Form* form) {
            Enter_Record(form, QStringLiteral("Coding"), "16", "00");
            Enter_Record(form, QStringLiteral("Coding"), "24", "00");
            Enter_Record(form, QStringLiteral("Coding"), "00", "75");
            Enter_Record(form, QStringLiteral("Coding"), "00", "00");
            fixture.Main.Texts.Is_Czech_Language = false;
            Enter_Record(form, QStringLiteral("Coding"), "16", "00");
            Enter_Record(form, QString(), "01", "00");
            form->reject();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M11", "M11", "M11", "M12", "M11", "M8"}));
        const std::vector<std::string> czech = {"15:59", "15 hodin a 59 minut"};
        QCOMPARE(fixture.Dialogs.Calls[0].Arguments, czech);
        QCOMPARE(fixture.Dialogs.Calls[1].Arguments, czech);
        QCOMPARE(fixture.Dialogs.Calls[4].Arguments, (std::vector<std::string>{"15:59", ""}));
        QVERIFY(fixture.Dialogs.Calls[3].Arguments.empty());
        QCOMPARE(fixture.Main.Log.Size(), std::size_t(1));
    }

    void Overtime_Question_Declined_Keeps_The_Editor_Open()
    {
        Editor_Fixture fixture;  // 4 hours have passed
        fixture.Dialogs.Answers = {2, 1};
        QString hours_after_refusal;
        const int result = fixture.Run(true, [&](TUpdate_Record_Form* form) {
            Enter_Record(form, QStringLiteral("Long"), "05", "00");
            hours_after_refusal = Part<QLineEdit>(form, "Hour_Edit_Box")->text();
            QTest::keyClick(Part<QLineEdit>(form, "Minute_Edit_Box"), Qt::Key_Enter);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(hours_after_refusal, QStringLiteral("05"));
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M13", "M13"}));
        QCOMPARE(fixture.Dialogs.Calls[0].Icon, std::string("Overtime_Icon_Source.bmp"));
        QCOMPARE(fixture.Dialogs.Calls[0].First_Button, std::string("B2"));
        QCOMPARE(fixture.Dialogs.Calls[0].Second_Button, std::string("B3"));
        QCOMPARE(fixture.Main.Log.Size(), std::size_t(3));
        QCOMPARE(fixture.Main.Log.Recorded_Minutes, Minute_Of_Day(300));
    }

    void Time_Boxes_Take_Digits_From_The_Czech_Number_Row_Only()
    {
        Editor_Fixture fixture;
        QString typed, after_exit, pasted_after_exit, empty_hours_saved;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            auto* hours = Part<QLineEdit>(form, "Hour_Edit_Box");
            auto* minutes = Part<QLineEdit>(form, "Minute_Edit_Box");
            hours->setFocus();
            hours->clear();
            for (const char* character : {"a", "ě", "-", "é"}) Type_Character(hours, QString::fromUtf8(character));
            typed = hours->text();
            hours->setText(QStringLiteral("5"));
            minutes->setFocus();
            after_exit = hours->text();
            minutes->setText(QStringLiteral("x!"));  // pasted
            hours->setFocus();
            pasted_after_exit = minutes->text();
            hours->clear();
            minutes->setText(QStringLiteral("30"));
            Part<QComboBox>(form, "Work_Type_Combo_Box")->setEditText(QStringLiteral("Short"));
            QTest::keyClick(minutes, Qt::Key_Return);
            empty_hours_saved = hours->text();
        });
        QCOMPARE(typed, QStringLiteral("20"));
        QCOMPARE(after_exit, QStringLiteral("05"));
        QCOMPARE(pasted_after_exit, QStringLiteral("00"));
        QCOMPARE(empty_hours_saved, QStringLiteral("00"));
        QCOMPARE(fixture.Main.Log.Records.back()[Duration_Field], std::string("00:30"));
    }

    void Editing_A_User_Row_Adjusts_The_Recorded_Total()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 60);
        fixture.Main.Add_User_Row("Review", 30);
        fixture.Main.Edited = 2;
        fixture.Main.Highlighted = 2;
        fixture.Dialogs.Answers = {2};
        bool time_enabled = false;
        const int result = fixture.Run(false, [&](TUpdate_Record_Form* form) {
            time_enabled = Part<QLineEdit>(form, "Hour_Edit_Box")->isEnabled();
            // Keeping the work type (in other letters) skips the duplicate check.
            Enter_Record(form, QStringLiteral("team MEETING"), "04", "00", "more");  // 4:30 > 4:00 elapsed
            Enter_Record(form, QStringLiteral("team MEETING"), "02", "00", "line\nbreak");
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(time_enabled);
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M14"}));
        QCOMPARE(fixture.Main.Log.Records[2][Work_Type_Field], std::string("team MEETING"));
        QCOMPARE(fixture.Main.Log.Records[2][Duration_Field], std::string("02:00"));
        QCOMPARE(fixture.Main.Log.Records[2][Remark_Field], std::string("line break"));
        QCOMPARE(fixture.Main.Log.Recorded_Minutes, Minute_Of_Day(150));
        QCOMPARE(fixture.Main.Highlighted, std::uint8_t(255));
        QCOMPARE(fixture.Main.Drawn_Rows.back(), (std::pair<std::uint8_t, bool>{2, false}));
        QCOMPARE(fixture.Main.Layout_Count, 0);
    }

    void Summary_Rows_Keep_Their_Durations_And_Only_Change_Texts()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 300);  // the Unassigned_Row reads "- 01:00"
        bool day_type_enabled = true, day_time_enabled = true, unassigned_time_enabled = true;
        QString unassigned_shown;
        fixture.Main.Edited = 0;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            day_type_enabled = Part<QComboBox>(form, "Work_Type_Combo_Box")->isEnabled();
            day_time_enabled = Part<QLineEdit>(form, "Minute_Edit_Box")->isEnabled();
            Part<QPlainTextEdit>(form, "Remark_Memo_Box")->setPlainText(QStringLiteral("whole day"));
            QTest::keyClick(Part<QPlainTextEdit>(form, "Remark_Memo_Box"), Qt::Key_Return);
        });
        fixture.Main.Edited = 1;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            unassigned_time_enabled = Part<QLineEdit>(form, "Hour_Edit_Box")->isEnabled();
            unassigned_shown = Part<QLineEdit>(form, "Hour_Edit_Box")->text() + ":" +
                               Part<QLineEdit>(form, "Minute_Edit_Box")->text();
            Part<QLineEdit>(form, "Hour_Edit_Box")->setText(QStringLiteral("00"));
            Part<QLineEdit>(form, "Minute_Edit_Box")->setText(QStringLiteral("00"));
            Enter_Record(form, QStringLiteral("Idle"), "00", "00");
        });
        QVERIFY(!day_type_enabled && !day_time_enabled && !unassigned_time_enabled);
        QCOMPARE(unassigned_shown, QStringLiteral("01:00"));
        QVERIFY(fixture.Dialogs.Calls.empty());
        const Day_Log& log = fixture.Main.Log;
        QCOMPARE(log.Records[0][Remark_Field], std::string("whole day"));
        QCOMPARE(log.Records[0][Work_Type_Field], std::string("Day total"));
        QCOMPARE(log.Records[0][Date_Field], std::string("07.12.2026"));
        QCOMPARE(log.Records[1][Work_Type_Field], std::string("Idle"));
        QCOMPARE(log.Recorded_Minutes, Minute_Of_Day(300));
        QCOMPARE(fixture.Main.Add_Button_Changes, 0);
    }

    void Add_Button_Follows_The_Time_Left_And_The_Row_Limit()
    {
        Editor_Fixture fixture;
        fixture.Main.Setup.Display_Zentavo_Overrange_Warning = false;
        fixture.Main.Start_Day(22 * 60, 23 * 60);  // 1:59 left until 23:59
        fixture.Run(true, [&](TUpdate_Record_Form* form) { Enter_Record(form, QStringLiteral("All"), "01", "59"); });
        QVERIFY(!fixture.Main.Add_Enabled);
        fixture.Main.Edited = 2;
        fixture.Run(false, [&](TUpdate_Record_Form* form) { Enter_Record(form, QStringLiteral("All"), "01", "58"); });
        QVERIFY(fixture.Main.Add_Enabled);

        fixture.Main.Start_Day(8 * 60, 9 * 60);
        for (int row = 0; row < 13; ++row) fixture.Main.Add_User_Row("Row " + std::to_string(row), 1);
        fixture.Run(true, [&](TUpdate_Record_Form* form) { Enter_Record(form, QStringLiteral("Last"), "00", "01"); });
        QCOMPARE(fixture.Main.Log.Size(), Max_Day_Log_Records);
        QVERIFY(!fixture.Main.Add_Enabled);
    }

    void Captions_Come_From_The_Language_File_And_A_Missing_List_Is_Reported()
    {
        Editor_Fixture fixture;
        Write_File(fixture.Main.Texts.Language_File_Path,
                   Utf8_To_Cp1250("[Update_Record_Form]\r\n1=Nový záznam\r\n2=Úprava\r\n3=Data\r\n4=Typ\r\n7=Uložit\r\n"));
        QFile::remove(QString::fromStdString(fixture.Main.Paths.File("Work_Type_List")));
        QString title_add, title_edit, group, duration_label, button, offered_count;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            title_add = form->windowTitle();
            group = Part<QGroupBox>(form, "GroupBox1")->title();
            duration_label = Part<QLabel>(form, "Label3")->text();
            button = Part<TVela_Button_>(form, "Update_Record_Button")->Text();
            offered_count = QString::number(Part<QComboBox>(form, "Work_Type_Combo_Box")->count());
            form->reject();
        });
        fixture.Main.Edited = 0;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            title_edit = form->windowTitle();
            form->reject();
        });
        QCOMPARE(title_add, QString::fromUtf8("Nový záznam"));
        QCOMPARE(title_edit, QString::fromUtf8("Úprava"));
        QCOMPARE(group, QStringLiteral("  Data  "));
        QCOMPARE(duration_label, QStringLiteral("5"));
        QCOMPARE(button, QString::fromUtf8("Uložit"));
        QCOMPARE(offered_count, QStringLiteral("0"));
        const std::vector<std::string>& lines = fixture.Main.Errors.Lines();
        QCOMPARE(lines.size(), std::size_t(2));
        QVERIFY(lines[0].find(" - OPEN_WORK_TYPE_LIST - FILE_NOT_FOUND - file " +
                              fixture.Main.Paths.File("Work_Type_List")) != std::string::npos);
    }

    void Dragging_Stays_Inside_The_Work_Area_Only_With_The_Restriction()
    {
        Editor_Fixture fixture;
        QPoint free_position, restricted_position;
        QRect title_bar_moved;
        const auto drag_far_up_left = [](TUpdate_Record_Form* form) {
            QWidget* handle = Part<QGroupBox>(form, "GroupBox1");
            const QPoint grip = handle->mapToGlobal(QPoint(5, 5));
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(grip), Qt::RightButton,
                              Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(handle, &press);
            const QPoint far = grip - QPoint(3000, 3000);
            QMouseEvent move(QEvent::MouseMove, QPointF(handle->mapFromGlobal(far)), QPointF(far), Qt::NoButton,
                             Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(handle, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(handle->mapFromGlobal(far)), QPointF(far),
                                Qt::RightButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(handle, &release);
        };
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            drag_far_up_left(form);
            free_position = form->pos();
            fixture.Main.Setup.Form_Movement_Restrictions = true;  // acts at once
            form->move(200, 200);
            drag_far_up_left(form);
            restricted_position = form->frameGeometry().topLeft();
            form->move(Primary_Work_Area().bottomRight());  // as the title bar's drag would
            title_bar_moved = form->frameGeometry();
            form->reject();
        });
        QVERIFY(free_position.x() < -1000 && free_position.y() < -1000);
        QCOMPARE(restricted_position, Primary_Work_Area().topLeft());
        QCOMPARE(title_bar_moved.bottomRight(), Primary_Work_Area().bottomRight());
    }

    void Screenshot_With_The_Czech_Texts()
    {
        Editor_Fixture fixture;
        Use_Installed_Data(fixture.Main);
        fixture.Main.Add_User_Row(Utf8_To_Cp1250("Programování"), 150, Utf8_To_Cp1250("Editor záznamů"));
        fixture.Main.Edited = 2;
        QImage image;
        QString title;
        int offered = 0;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            title = form->windowTitle();
            offered = Part<QComboBox>(form, "Work_Type_Combo_Box")->count();
            image = Grab_Screenshot(form, fixture.Directory.path(), "screenshot-record-editor.png");
            form->reject();
        });
        QCOMPARE(image.size(), QSize(327, 279));
        QCOMPARE(title, QString::fromUtf8("Úprava záznamu"));
        QCOMPARE(offered, 18);
        QVERIFY(fixture.Main.Errors.Lines().empty());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Update_Record_Form_Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Update_Record_Form_test.moc"
