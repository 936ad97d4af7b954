// The record editor driven as a user would: keys, clicks and the scripted message dialog.
#include <sys/stat.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QtTest>
#include <cstring>

#include "platform/Code_Page.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Fake_Main_Form.h"
#include "ui/dialogs/TUpdate_Record_Form.h"
#include "ui/dialogs/Update_Record_Work_Type_List.h"

namespace
{
using Action = std::function<void(TUpdate_Record_Form*)>;

struct Editor_Fixture : Dialog_Fixture
{
    Editor_Fixture()
    {
        Write_File(Main.Paths.File("Work_Type_List"), Utf8_To_Cp1250("Testování\r\nTeam meeting\r\nOběd\r\n"));
        Main.Start_Day(8 * 60, 12 * 60);
    }

    // Opens the editor on a new record (or on row Edited), lets the action drive it.
    int Run(bool add_mode, Action action)
    {
        if (add_mode) Main.Edited = static_cast<std::uint8_t>(Main.Log.Size());
        Arm<TUpdate_Record_Form>(std::move(action));
        return Display_Update_Record_Form(Main.Rules, Main.Setup, Main.Texts, Main, Main.Resources, Dialogs,
                                          Main.Edited, add_mode);
    }
};

QComboBox* Work_Type(QWidget* form) { return Part<QComboBox>(form, "Work_Type_Combo_Box"); }
QLineEdit* Hours(QWidget* form) { return Part<QLineEdit>(form, "Hour_Edit_Box"); }
QLineEdit* Minutes(QWidget* form) { return Part<QLineEdit>(form, "Minute_Edit_Box"); }
QPlainTextEdit* Remark(QWidget* form) { return Part<QPlainTextEdit>(form, "Remark_Memo_Box"); }
QString Time_Shown(QWidget* form) { return Hours(form)->text() + ":" + Minutes(form)->text(); }

// Fills the editor and saves it with Enter in the remark.
void Enter_Record(QWidget* form, const QString& work_type, const QString& hours, const QString& minutes,
                  const QString& remark = QString())
{
    Work_Type(form)->setEditText(work_type);
    Hours(form)->setText(hours);
    Minutes(form)->setText(minutes);
    Remark(form)->setPlainText(remark);
    QTest::keyClick(Remark(form), Qt::Key_Return);
}

using Rows = std::vector<std::pair<std::uint8_t, bool>>;
}  // namespace

class Update_Record_Form_Test : public QObject
{
    Q_OBJECT

private slots:
    void A_New_Record_Is_Stored_Through_The_Rules_And_The_Editor_Remembers_Its_Place()
    {
        Editor_Fixture fixture;
        Fake_Main_Form& main = fixture.Main;
        Write_File(main.Paths.File("Setup.ini"), "[Main_Setup]\r\nNew_Log_Record_Working_Hours=90\r\n");
        main.Highlighted = 0;
        main.Setup.Update_Record_Form_Left = 120;
        main.Setup.Update_Record_Form_Top = 110;
        QString proposed;
        QPoint opened_at;
        QCOMPARE(fixture.Run(true,
                             [&](TUpdate_Record_Form* form) {
                                 opened_at = form->pos();
                                 form->move(70, 80);
                                 proposed = Time_Shown(form);
                                 QTest::keyClicks(Work_Type(form), "Coding");
                                 QTest::keyClicks(Remark(form), "first");
                                 QTest::keyClick(Remark(form), Qt::Key_Return);  // saves, makes no line break
                             }),
                 int(QDialog::Accepted));
        QCOMPARE(proposed, QStringLiteral("01:30"));
        QCOMPARE(opened_at, QPoint(120, 110));
        QCOMPARE(QPoint(main.Setup.Update_Record_Form_Left, main.Setup.Update_Record_Form_Top), QPoint(70, 80));
        QCOMPARE(main.Log.Size(), std::size_t(3));
        QCOMPARE(main.Row(2), std::string("Coding|01:30|first"));
        QCOMPARE(main.Highlighted, std::uint8_t(255));
        QVERIFY(fixture.Dialogs.Calls.empty());
    }

    void Down_Offers_The_First_Work_Type_In_Add_Mode_And_The_Next_One_In_Edit_Mode()
    {
        Editor_Fixture fixture;
        const Action down_and_save = [](TUpdate_Record_Form* form) {
            QTest::keyClick(Work_Type(form), Qt::Key_Down);
            QTest::keyClick(Remark(form), Qt::Key_Return);
        };
        fixture.Run(true, down_and_save);
        QCOMPARE(fixture.Main.Log[2][Work_Type_Field], Utf8_To_Cp1250("Testování"));
        fixture.Main.Edited = 2;
        fixture.Run(false, down_and_save);
        QCOMPARE(fixture.Main.Log[2][Work_Type_Field], std::string("Team meeting"));
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
        QCOMPARE(fixture.Run(true,
                             [&](TUpdate_Record_Form* form) {
                                 opened_at = form->frameGeometry();
                                 proposed = Time_Shown(form);
                                 for (int index = 0; index < Work_Type(form)->count(); ++index)
                                     offered << Work_Type(form)->itemText(index);
                                 Work_Type(form)->setEditText("Something");
                                 QTest::keyClick(Work_Type(form), Qt::Key_Escape);
                             }),
                 int(QDialog::Rejected));
        QCOMPARE(proposed, QStringLiteral("00:30"));
        QVERIFY(Primary_Work_Area().contains(opened_at));
        QCOMPARE(offered, QStringList({QString::fromUtf8("Testování"), "Team meeting", QString::fromUtf8("Oběd")}));
        QVERIFY(fixture.Main.Log.Records() == before.Records());
    }

    void Duplicate_Work_Type_Flashes_Its_Row_While_The_Message_Is_Open()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 30);
        const Day_Log before = fixture.Main.Log;
        std::vector<qint64> ticks;
        fixture.Dialogs.While_Open = [&] {
            QElapsedTimer clock;
            clock.start();
            fixture.Main.Drawn_Rows.clear();
            // Two ticks: highlighted, then normal; a busy machine may delay them.
            while (fixture.Main.Drawn_Rows.size() < 2 && clock.elapsed() < 5000)
            {
                const std::size_t drawn = fixture.Main.Drawn_Rows.size();
                QTest::qWait(5);
                if (fixture.Main.Drawn_Rows.size() != drawn) ticks.push_back(clock.elapsed());
            }
        };
        bool still_open = false;
        QCOMPARE(fixture.Run(true,
                             [&](TUpdate_Record_Form* form) {
                                 // Letter case does not matter; the Unassigned_Row takes part too.
                                 Enter_Record(form, "default", "00", "10");
                                 QCOMPARE(fixture.Main.Drawn_Rows, (Rows{{1, true}, {1, false}, {1, false}}));
                                 Enter_Record(form, "TEAM MEETING", "00", "10");
                                 still_open = form->isVisible();
                                 QTest::keyClick(Hours(form), Qt::Key_Escape);
                             }),
                 int(QDialog::Rejected));
        QVERIFY(still_open);
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M9", "M9"}));
        const Scripted_Message_Dialogs::Call& call = fixture.Dialogs.Calls[0];
        QVERIFY(call.Icon == "Error_Icon_Source.bmp" && call.Interval == 70 && call.Second_Button.empty());
        QCOMPARE(fixture.Main.Drawn_Rows.back(), (std::pair<std::uint8_t, bool>{2, false}));
        QVERIFY(ticks.size() >= 2);
        QVERIFY2(ticks[0] >= 700 && ticks[0] < 2000 && ticks[1] - ticks[0] >= 700,
                 qPrintable(QString::number(ticks[0])));
        QVERIFY(fixture.Main.Log.Records() == before.Records());
    }

    void Refusals_Name_The_Rest_Of_The_Day_And_Overtime_Is_Asked()
    {
        Editor_Fixture fixture;  // 4 hours have passed
        fixture.Main.Texts.Is_Czech_Language = true;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            Enter_Record(form, "Coding", "16", "00");
            Enter_Record(form, "Coding", "24", "00");
            Enter_Record(form, "Coding", "00", "75");
            Enter_Record(form, "Coding", "00", "00");
            fixture.Main.Texts.Is_Czech_Language = false;
            Enter_Record(form, "Coding", "16", "00");
            Enter_Record(form, QString(), "01", "00");
            form->reject();
        });
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M11", "M11", "M11", "M12", "M11", "M8"}));
        const std::vector<std::string> czech = {"15:59", "15 hodin a 59 minut"};
        QCOMPARE(fixture.Dialogs.Calls[0].Arguments, czech);
        QCOMPARE(fixture.Dialogs.Calls[1].Arguments, czech);
        QCOMPARE(fixture.Dialogs.Calls[4].Arguments, (std::vector<std::string>{"15:59", ""}));
        QVERIFY(fixture.Dialogs.Calls[3].Arguments.empty());
        QCOMPARE(fixture.Main.Log.Size(), std::size_t(1));

        // Overtime declined keeps the editor open with the entry; accepted, it saves.
        fixture.Dialogs.Calls.clear();
        fixture.Dialogs.Answers = {2, 1};
        QString hours_after_refusal;
        QCOMPARE(fixture.Run(true,
                             [&](TUpdate_Record_Form* form) {
                                 Enter_Record(form, "Long", "05", "00");
                                 hours_after_refusal = Hours(form)->text();
                                 QTest::keyClick(Minutes(form), Qt::Key_Enter);
                             }),
                 int(QDialog::Accepted));
        QCOMPARE(hours_after_refusal, QStringLiteral("05"));
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M13", "M13"}));
        const Scripted_Message_Dialogs::Call& call = fixture.Dialogs.Calls[0];
        QVERIFY(call.Icon == "Overtime_Icon_Source.bmp" && call.First_Button == "B2" && call.Second_Button == "B3");
        QCOMPARE(fixture.Main.Log.Recorded_Minutes(), Minute_Of_Day(300));
    }

    void A_Message_Leaves_The_Remark_And_The_Time_Boxes_As_The_User_Typed_Them()
    {
        Editor_Fixture fixture;
        // The message takes the focus to its own window, which gives it back when it closes.
        fixture.Dialogs.While_Open = [] {
            QWidget* editor = QApplication::activeWindow();
            QDialog message;
            message.show();
            QVERIFY(QTest::qWaitForWindowActive(&message));
            message.hide();
            editor->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(editor));
        };
        QString minutes_after_refusal;
        QCOMPARE(fixture.Run(true,
                             [&](TUpdate_Record_Form* form) {
                                 Minutes(form)->setFocus(Qt::TabFocusReason);
                                 Minutes(form)->clear();
                                 QTest::keyClicks(Minutes(form), "7");
                                 QTest::keyClick(Minutes(form), Qt::Key_Return);  // no work type: refused
                                 minutes_after_refusal = Minutes(form)->text();
                                 QTest::keyClick(Minutes(form), Qt::Key_Tab);  // leaving the box formats it

                                 QCOMPARE(QApplication::focusWidget(), Remark(form));
                                 QTest::keyClicks(Remark(form), "first");
                                 QTest::keyClick(Remark(form), Qt::Key_Return);  // refused again
                                 QTest::keyClicks(Remark(form), " part");
                                 QTest::keyClicks(Work_Type(form), "Coding");
                                 QTest::keyClick(Remark(form), Qt::Key_Return);
                             }),
                 int(QDialog::Accepted));
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M8", "M8"}));
        QCOMPARE(minutes_after_refusal, QStringLiteral("7"));
        QCOMPARE(fixture.Main.Row(2), std::string("Coding|00:07|first part"));
    }

    void A_Typed_Work_Type_Is_Saved_As_Typed_While_The_List_Still_Offers_Its_Entries()
    {
        Editor_Fixture fixture;
        int offered = 0;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            QTest::keyClicks(Work_Type(form), "Test");
            offered = Work_Type(form)->count();
            QTest::keyClick(Remark(form), Qt::Key_Return);
        });
        QCOMPARE(offered, 3);
        QCOMPARE(fixture.Main.Log[2][Work_Type_Field], std::string("Test"));

        // The settings dialog's box comes from the same maker.
        QWidget parent;
        QComboBox* box = New_Work_Type_Combo_Box(&parent, "Default_Work_Type_Combo_Box", QRect(0, 0, 200, 21));
        box->addItems({QStringLiteral("Team meeting"), QStringLiteral("Testování")});
        box->setEditText(QString());
        QTest::keyClicks(box, "Te");
        QCOMPARE(box->currentText(), QStringLiteral("Te"));
    }

    void Time_Boxes_Take_Digits_From_The_Czech_Number_Row_Only()
    {
        Editor_Fixture fixture;
        QStringList seen;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            Hours(form)->setFocus();
            Hours(form)->clear();
            for (const char* character : {"a", "ě", "-", "é"})
            {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(character));
                QApplication::sendEvent(Hours(form), &press);
            }
            seen << Hours(form)->text();
            Hours(form)->setText("5");
            Minutes(form)->setFocus();
            seen << Hours(form)->text();
            Minutes(form)->setText("x!");  // pasted
            Hours(form)->setFocus();
            seen << Minutes(form)->text();
            Hours(form)->clear();
            Minutes(form)->setText("30");
            Work_Type(form)->setEditText("Short");
            QTest::keyClick(Minutes(form), Qt::Key_Return);
            seen << Hours(form)->text();
        });
        QCOMPARE(seen, QStringList({"20", "05", "00", "00"}));
        QCOMPARE(fixture.Main.Row(2), std::string("Short|00:30|"));
    }

    void Editing_A_User_Row_Adjusts_The_Recorded_Total()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 60);
        fixture.Main.Add_User_Row("Review", 30);
        fixture.Main.Edited = 2;
        fixture.Main.Highlighted = 2;
        fixture.Dialogs.Answers = {2};
        QCOMPARE(fixture.Run(false,
                             [&](TUpdate_Record_Form* form) {
                                 QVERIFY(Hours(form)->isEnabled());
                                 // Keeping the work type (in other letters) skips the duplicate check.
                                 Enter_Record(form, "team MEETING", "04", "00", "more");  // 4:30 > 4:00 elapsed
                                 Enter_Record(form, "team MEETING", "02", "00", "line\nbreak");
                             }),
                 int(QDialog::Accepted));
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M14"}));
        QCOMPARE(fixture.Main.Row(2), std::string("team MEETING|02:00|line break"));
        QCOMPARE(fixture.Main.Log.Recorded_Minutes(), Minute_Of_Day(150));
        QCOMPARE(fixture.Main.Highlighted, std::uint8_t(255));
        QCOMPARE(fixture.Main.Drawn_Rows.back(), (std::pair<std::uint8_t, bool>{2, false}));
    }

    void Summary_Rows_Keep_Their_Durations_And_Only_Change_Texts()
    {
        Editor_Fixture fixture;
        fixture.Main.Add_User_Row("Team meeting", 300);  // the Unassigned_Row reads "- 01:00"
        fixture.Main.Edited = 0;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            QVERIFY(!Work_Type(form)->isEnabled() && !Minutes(form)->isEnabled());
            Remark(form)->setPlainText("whole day");
            QTest::keyClick(Remark(form), Qt::Key_Return);
        });
        fixture.Main.Edited = 1;
        QString unassigned_shown;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            QVERIFY(!Hours(form)->isEnabled());
            unassigned_shown = Time_Shown(form);
            Enter_Record(form, "Idle", "00", "00");
        });
        QCOMPARE(unassigned_shown, QStringLiteral("01:00"));
        QVERIFY(fixture.Dialogs.Calls.empty());
        QCOMPARE(fixture.Main.Row(0), std::string("Day total|04:00|whole day"));
        QCOMPARE(fixture.Main.Log[0][Date_Field], std::string("07.12.2026"));
        QCOMPARE(fixture.Main.Log[1][Work_Type_Field], std::string("Idle"));
        QCOMPARE(fixture.Main.Log.Recorded_Minutes(), Minute_Of_Day(300));
    }

    void Captions_Come_From_The_Language_File_And_A_Missing_List_Is_Reported()
    {
        Editor_Fixture fixture;
        Write_File(
            fixture.Main.Texts.Language_File_Path,
            Utf8_To_Cp1250("[Update_Record_Form]\r\n1=Nový záznam\r\n2=Úprava\r\n3=Data\r\n4=Typ\r\n7=Uložit\r\n"));
        QFile::remove(QString::fromStdString(fixture.Main.Paths.File("Work_Type_List")));
        QStringList seen;
        fixture.Run(true, [&](TUpdate_Record_Form* form) {
            seen << form->windowTitle() << Part<QGroupBox>(form, "GroupBox1")->title()
                 << Part<QLabel>(form, "Label3")->text() << Part<TVela_Button>(form, "Update_Record_Button")->Text()
                 << QString::number(Work_Type(form)->count());
            form->reject();
        });
        fixture.Main.Edited = 0;
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            seen << form->windowTitle();
            form->reject();
        });
        QCOMPARE(seen, QStringList({QString::fromUtf8("Nový záznam"), "  Data  ", "5", QString::fromUtf8("Uložit"), "0",
                                    QString::fromUtf8("Úprava")}));
        const std::vector<std::string>& lines = fixture.Main.Errors.Lines();
        QCOMPARE(lines.size(), std::size_t(2));
        QVERIFY(lines[0].find(" - OPEN_WORK_TYPE_LIST - FILE_NOT_FOUND - file " +
                              fixture.Main.Paths.File("Work_Type_List")) != std::string::npos);
    }

    void A_Fifo_Or_A_Folder_In_Place_Of_The_List_Is_Reported_At_Once_And_Offers_Nothing()
    {
        Editor_Fixture fixture;
        const std::string path = fixture.Main.Paths.File("Work_Type_List");
        for (const bool fifo : {true, false})
        {
            QFile::remove(QString::fromStdString(path));
            QVERIFY(fifo ? ::mkfifo(path.c_str(), 0644) == 0 : QDir().mkdir(QString::fromStdString(path)));
            int offered = -1;
            fixture.Run(true, [&](TUpdate_Record_Form* form) {
                offered = Work_Type(form)->count();
                form->reject();
            });
            QCOMPARE(offered, 0);
            const std::string error =
                fifo ? "22 - " + std::string(std::strerror(EINVAL)) : "21 - " + std::string(std::strerror(EISDIR));
            QVERIFY(fixture.Main.Errors.Lines().back().find(" - OPEN_WORK_TYPE_LIST - UNEXPECTED_ERROR - not possible "
                                                            "to read file " +
                                                            path + ". " + error) != std::string::npos);
            QDir().rmdir(QString::fromStdString(path));
        }
    }

    void Dragging_Stays_Inside_The_Work_Area_Only_With_The_Restriction()
    {
        Editor_Fixture fixture;
        QPoint free_position, restricted_position;
        QRect title_bar_moved;
        const auto drag_far_up_left = [](QWidget* form) {
            QWidget* handle = Part<QGroupBox>(form, "GroupBox1");
            const QPoint grip = handle->mapToGlobal(QPoint(5, 5)), far = grip - QPoint(3000, 3000);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), grip, Qt::RightButton, Qt::RightButton, {});
            QApplication::sendEvent(handle, &press);
            QMouseEvent move(QEvent::MouseMove, handle->mapFromGlobal(far), far, Qt::NoButton, Qt::RightButton, {});
            QApplication::sendEvent(handle, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, handle->mapFromGlobal(far), far, Qt::RightButton,
                                Qt::NoButton, {});
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
        fixture.Run(false, [&](TUpdate_Record_Form* form) {
            QCOMPARE(form->windowTitle(), QString::fromUtf8("Úprava záznamu"));
            QCOMPARE(Work_Type(form)->count(), 18);
            QCOMPARE(Grab_Screenshot(form, fixture.Directory.path(), "screenshot-record-editor.png").size(),
                     QSize(327, 279));
            form->reject();
        });
        QVERIFY(fixture.Main.Errors.Lines().empty());
    }
};

QTEST_MAIN(Update_Record_Form_Test)
#include "Update_Record_Form_test.moc"
