// The settings dialog driven as a user would: clicks, keys, the wheel and scripted answers.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest>

#include "platform/Autostart_Entry.h"
#include "platform/Code_Page.h"
#include "ui/controls/TVela_Button.h"
#include "ui/dialogs/Fake_Main_Form.h"
#include "ui/dialogs/TSetup_Form.h"

namespace
{

struct Setup_Fixture : Dialog_Fixture
{
    Setup_Fixture() { Write_File(Main.Paths.File("Work_Type_List"), "Coding\r\nMeeting\r\n"); }

    std::string Setup_Ini() const { return Read_File(Main.Paths.File("Setup.ini")); }

    void Run(std::function<void(TSetup_Form*)> action)
    {
        Arm<TSetup_Form>(std::move(action));
        Display_Setup_Form(Main.Setup, Main.Texts, Main, Main.Resources, Dialogs);
    }
};

void Click(QWidget* form, const char* name)
{
    QTest::mouseClick(Part<TVela_Button>(form, name), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

void Wheel(QWidget* widget, int notches)
{
    const QPointF inside(3, 3);
    QWheelEvent wheel(inside, widget->mapToGlobal(inside), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void Pointer_Over(QWidget* widget, bool inside)
{
    QEnterEvent enter(QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), widget->mapToGlobal(QPointF(3, 3)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, inside ? static_cast<QEvent*>(&enter) : &leave);
}

// The key=value lines of an INI text in file order, section headers included.
QStringList Ini_Lines(const std::string& bytes)
{
    QStringList lines = QString::fromLatin1(bytes.data(), int(bytes.size())).split(QStringLiteral("\r\n"));
    lines.removeAll(QString());
    return lines;
}

}  // namespace

class Setup_Form_Test : public QObject
{
    Q_OBJECT

private slots:
    void Live_Changes_Declined_Are_Read_Back_From_The_File()
    {
        Setup_Fixture fixture;
        Write_File(fixture.Main.Paths.File("Setup.ini"),
                   "[Main_Setup]\r\nTime_Scroll_Resolution=266\r\nTime_Scroll_Control=1\r\n"
                   "[Visual_Setup]\r\nMain_Form_Transparency=40\r\nMain_Form_Anchor=2\r\n");
        const std::string before = fixture.Setup_Ini();
        fixture.Main.Setup.Main_Form_Transparency = 40;
        fixture.Main.Setup.Main_Form_Anchor = 2;
        fixture.Dialogs.Answers = {2};
        std::vector<std::pair<bool, std::uint8_t>> live_alpha;
        fixture.Run([&](TSetup_Form* form) {
            auto* track_bar = Part<QSlider>(form, "Form_Transparency_Track_Bar");
            track_bar->setValue(150);
            track_bar->setValue(0);
            live_alpha = fixture.Main.Alpha_Calls;
            Click(form, "Bottom_Right_Anchor_Button");
            Part<QCheckBox>(form, "Display_Full_Time_Hint_Check_Box")->click();
            Part<QCheckBox>(form, "Form_Movement_Restrictions_Check_Box")->click();
            Part<QCheckBox>(form, "Time_Scroll_Control_Check_Box")->click();
            Part<QCheckBox>(form, "Display_Zentavo_Overrange_Warning_Check_Box")->click();
            form->close();
        });
        QCOMPARE(live_alpha, (std::vector<std::pair<bool, std::uint8_t>>{{true, 105}, {false, 255}}));
        QCOMPARE(fixture.Dialogs.Messages(), std::vector<std::string>{"M19"});
        const Scripted_Message_Dialogs::Call& question = fixture.Dialogs.Calls[0];
        QVERIFY(question.Icon == "Warning_Icon_Source.bmp" && question.Interval == 32);
        QVERIFY(question.First_Button == "B2" && question.Second_Button == "B3");
        const Settings& setup = fixture.Main.Setup;
        QCOMPARE(int(setup.Main_Form_Transparency), 40);
        QCOMPARE(int(setup.Main_Form_Anchor), 2);
        QCOMPARE(int(setup.Time_Scroll_Resolution), 10);  // 266 held in eight bits
        QVERIFY(setup.Display_Full_Time_Hint && !setup.Form_Movement_Restrictions);
        QVERIFY(setup.Time_Scroll_Control && setup.Display_Zentavo_Overrange_Warning);
        QCOMPARE(fixture.Main.Alpha_Calls.back(), (std::pair<bool, std::uint8_t>{true, 215}));
        QCOMPARE(fixture.Main.Anchors_Applied, (std::vector<int>{4, 2}));
        QCOMPARE(fixture.Setup_Ini(), before);
    }

    void Anchor_Buttons_Act_As_A_Radio_Group_That_Can_Be_Released()
    {
        Setup_Fixture fixture;
        QStringList states;  // the buttons down, top left to bottom right, after each click
        fixture.Run([&](TSetup_Form* form) {
            const char* names[4] = {"Top_Left_Anchor_Button", "Top_Right_Anchor_Button", "Bottom_Left_Anchor_Button",
                                    "Bottom_Right_Anchor_Button"};
            for (int clicked : {1, 2, 2})
            {
                Click(form, names[clicked]);
                states << QString();
                for (const char* name : names)
                    states.last() += Part<TVela_Button>(form, name)->Button_Down() ? '1' : '0';
            }
            fixture.Dialogs.Answers = {2};
            form->close();
        });
        QCOMPARE(states, QStringList({"0100", "0010", "0000"}));
        QCOMPARE(fixture.Main.Anchors_Applied, (std::vector<int>{2, 3, 0, 0}));
    }

    void Wheel_Changes_The_Step_Only_Over_Its_Label_And_Within_Its_Limits()
    {
        Setup_Fixture fixture;
        fixture.Main.Setup.Time_Scroll_Resolution = 240;
        fixture.Main.Setup.Main_Form_Transparency = 90;
        int tag_at_limit = -1, step_elsewhere = 0, step_after_leave = 0;
        QString label_text;
        QColor colour_over, colour_after;
        fixture.Run([&](TSetup_Form* form) {
            auto* label = Part<QLabel>(form, "Time_Scroll_Resolution_Label");
            Wheel(label, 1);  // the pointer has not entered it
            Wheel(Part<QLabel>(form, "Label5"), -1);
            step_elsewhere = fixture.Main.Setup.Time_Scroll_Resolution;
            Pointer_Over(label, true);
            colour_over = label->palette().color(QPalette::WindowText);
            Wheel(label, 1);
            tag_at_limit = form->Tag();
            Wheel(label, -3);
            label_text = label->text();
            Pointer_Over(label, false);
            colour_after = label->palette().color(QPalette::WindowText);
            Wheel(label, -1);
            step_after_leave = fixture.Main.Setup.Time_Scroll_Resolution;
            fixture.Main.Setup.Time_Scroll_Resolution = 1;
            Pointer_Over(label, true);
            Wheel(label, -1);
            fixture.Dialogs.Answers = {2};
            form->close();
        });
        QCOMPARE(step_elsewhere, 240);
        QCOMPARE(tag_at_limit, 0);
        QCOMPARE(label_text, QStringLiteral("237 min"));
        QCOMPARE(step_after_leave, 237);
        QCOMPARE(colour_over, QColor(0, 128, 0));
        QCOMPARE(colour_after, QColor(0, 0, 0));
        QCOMPARE(fixture.Dialogs.Messages(), std::vector<std::string>{"M19"});
        // Declined without a Setup.ini: the defaults come back and the window is re-anchored.
        QCOMPARE(int(fixture.Main.Setup.Time_Scroll_Resolution), 10);
        QCOMPARE(fixture.Main.Alpha_Calls.back(), (std::pair<bool, std::uint8_t>{true, 235}));
        QCOMPARE(fixture.Main.Anchors_Applied, std::vector<int>{0});
    }

    void Save_Writes_Every_Key_In_Its_Order_And_Takes_Values_Into_Memory()
    {
        Setup_Fixture fixture;
        fixture.Main.Setup.Target_Log_File_Name = fixture.Main.Paths.File("Work_Log.csv");
        fixture.Main.Setup.Time_Scroll_Resolution = 12;
        const std::string long_format = std::string(250, 'x') + "%0:s;%1:s";
        fixture.Run([&](TSetup_Form* form) {
            auto* combo = Part<QComboBox>(form, "Default_Work_Type_Combo_Box");
            combo->setCurrentIndex(1);
            Part<QLineEdit>(form, "Default_Remark_Edit_Box")->setText(QString::fromUtf8("Poznámka"));
            Part<QLineEdit>(form, "Target_Log_File_Format_Edit_Box")->setText(QString::fromStdString(long_format));
            Part<QLineEdit>(form, "Target_Log_File_Separator_Edit_Box")->setText(QStringLiteral("----"));
            Part<QCheckBox>(form, "Display_End_Splash_Screen_Check_Box")->click();
            Part<QCheckBox>(form, "Time_Scroll_Control_Check_Box")->click();
            Part<QSlider>(form, "Form_Transparency_Track_Bar")->setValue(33);
            Click(form, "Save_Button");
        });
        QVERIFY(fixture.Dialogs.Calls.empty());
        const QStringList expected = {
            "[Main_Setup]",
            "Target_Log_File_Name=" + QString::fromStdString(fixture.Main.Paths.File("Work_Log.csv")),
            "Target_Log_File_Format=" + QString::fromStdString(long_format),
            "Target_Log_File_Separator=----",
            "Default_Work_Type=Meeting",
            QString::fromLatin1(Utf8_To_Cp1250("Default_Remark=Poznámka").c_str()),
            "Form_Movement_Restrictions=0",
            "Display_Start_Splash_Screen=1",
            "Display_End_Splash_Screen=1",
            "Display_Zentavo_Overrange_Warning=1",
            "Display_Full_Time_Hint=1",
            "Time_Scroll_Control=0",
            "Time_Scroll_Resolution=12",
            "Minimize_To_Tray_After_Start=0",
            "[Visual_Setup]",
            "Main_Form_Transparency=33",
            "Main_Form_Anchor=0",
        };
        QCOMPARE(Ini_Lines(fixture.Setup_Ini()), expected);
        QCOMPARE(fixture.Main.Setup.Target_Log_File_Format, long_format.substr(0, 255));
        QCOMPARE(fixture.Main.Setup.Target_Log_File_Separator, std::string("----"));
        QVERIFY(!fixture.Main.Setup.Time_Scroll_Control);
    }

    void Empty_Default_Work_Type_Refuses_The_Save_And_Keeps_The_Dialog_Open()
    {
        Setup_Fixture fixture;
        fixture.Dialogs.Answers = {1, 1, 1};  // the message, question 19, the message again
        bool open_after_save = false, open_after_close = false;
        fixture.Run([&](TSetup_Form* form) {
            auto* combo = Part<QComboBox>(form, "Default_Work_Type_Combo_Box");
            combo->setEditText(QString());
            Part<QSlider>(form, "Form_Transparency_Track_Bar")->setValue(60);
            Click(form, "Save_Button");
            open_after_save = form->isVisible();
            form->close();  // question 19 answered "save": the message again, nothing lost
            open_after_close = form->isVisible();
            combo->setEditText(QStringLiteral("Coding"));
            fixture.Dialogs.Answers = {1};
            form->close();
        });
        QVERIFY(open_after_save && open_after_close);
        QCOMPARE(fixture.Dialogs.Messages(), (std::vector<std::string>{"M8", "M19", "M8", "M19"}));
        QVERIFY(fixture.Dialogs.Calls[0].Icon == "Error_Icon_Source.bmp" &&
                fixture.Dialogs.Calls[0].First_Button == "B1");
        QCOMPARE(int(fixture.Main.Setup.Main_Form_Transparency), 60);
        QVERIFY(fixture.Setup_Ini().find("Main_Form_Transparency=60\r\n") != std::string::npos);
        QVERIFY(fixture.Setup_Ini().find("Default_Work_Type=Coding\r\n") != std::string::npos);
    }

    // Setup.ini holds file names as CP1250 text and the export needs a pattern that fits six
    // texts: a name CP1250 cannot hold, or a pattern that cannot work, is refused with a message,
    // the focus goes where it can be mended, and nothing is written until both are right.
    void Unstorable_Names_And_Unusable_Patterns_Are_Refused_Before_Anything_Is_Written()
    {
        Setup_Fixture fixture;
        fixture.Main.Setup.Target_Log_File_Name = fixture.Main.Paths.File("Work_Log.csv");
        // Only the pattern's refusal is in this language file; the other has a text of its own.
        Write_File(fixture.Main.Texts.Language_File_Path, Utf8_To_Cp1250("[Setup_Form]\r\n22=Vadný formát %0:s\r\n"));
        // The last one fits whole, but not the 255 characters that memory and every start keep of it.
        const QStringList bad_patterns = {"%0:s;%6:s", "%0:d", "%0:s;%", "%s%s%s%s%s%s%s", QString(252, 'x') + "%0:s"};
        QList<bool> refused;  // still open, the right box focused and Setup.ini untouched, after each save
        fixture.Run([&](TSetup_Form* form) {
            auto* name = Part<QLineEdit>(form, "Target_Log_File_Name_Edit_Box");
            auto* format = Part<QLineEdit>(form, "Target_Log_File_Format_Edit_Box");
            const auto save_refused = [&](QLineEdit* mend_here) {
                Part<QComboBox>(form, "Default_Work_Type_Combo_Box")->setFocus();
                Click(form, "Save_Button");
                refused << (form->isVisible() && form->focusWidget() == mend_here && fixture.Setup_Ini().empty());
            };
            name->setText(QString::fromUtf8("/data/Výkaz 日誌.csv"));
            save_refused(name);
            name->setText(QString::fromUtf8("/data/Výkaz.csv"));
            for (const QString& pattern : bad_patterns)
            {
                format->setText(pattern);
                save_refused(format);
            }
            format->setText(QStringLiteral("%5:s|%0:-12s|%%"));
            Click(form, "Save_Button");
        });
        QCOMPARE(refused, QList<bool>(1 + bad_patterns.size(), true));

        const std::vector<Scripted_Message_Dialogs::Call>& calls = fixture.Dialogs.Calls;
        QCOMPARE(calls.size(), std::size_t(1 + bad_patterns.size()));
        QVERIFY2(calls[0].Message != "21" && calls[0].Message.find("%0:s") != std::string::npos,
                 calls[0].Message.c_str());
        QCOMPARE(calls[0].Arguments, std::vector<std::string>{"/data/V\xFDkaz ??.csv"});
        for (std::size_t index = 0; index < calls.size(); ++index)
            QVERIFY(calls[index].Icon == "Error_Icon_Source.bmp" && calls[index].First_Button == "B1" &&
                    calls[index].Second_Button.empty());
        for (qsizetype index = 0; index < bad_patterns.size(); ++index)
        {
            const Scripted_Message_Dialogs::Call& call = calls[std::size_t(index) + 1];
            QCOMPARE(call.Message, Utf8_To_Cp1250("Vadný formát %0:s"));
            QCOMPARE(call.Arguments, std::vector<std::string>{bad_patterns[index].toStdString().substr(0, 255)});
        }

        const std::string written = fixture.Setup_Ini();
        QVERIFY(written.find("\r\nTarget_Log_File_Name=/data/V\xFDkaz.csv\r\n") != std::string::npos);
        QVERIFY(written.find("\r\nTarget_Log_File_Format=%5:s|%0:-12s|%%\r\n") != std::string::npos);
        QCOMPARE(fixture.Main.Setup.Target_Log_File_Name, std::string("/data/V\xC3\xBDkaz.csv"));
    }

    void Save_Positions_Writes_The_Top_Before_The_Bar_Moved_The_Window()
    {
        Setup_Fixture fixture;
        fixture.Main.Window.move(300, 500);
        fixture.Main.Moved = true;
        fixture.Main.Top_Before = 640;
        fixture.Main.Setup.Message_Dialog_Form_Left = 11;
        fixture.Main.Setup.Message_Dialog_Form_Top = 12;
        fixture.Main.Setup.Update_Record_Form_Left = -5;
        fixture.Main.Setup.Update_Record_Form_Top = 14;
        QPoint dialog_position;
        int tag = -1;
        fixture.Run([&](TSetup_Form* form) {
            form->move(60, 70);
            dialog_position = form->pos();
            Click(form, "Save_Positions_Button");
            tag = form->Tag();
            form->close();
        });
        QCOMPARE(tag, 0);
        QVERIFY(fixture.Dialogs.Calls.empty());
        const QStringList expected = {
            "[Visual_Setup]",
            QStringLiteral("Main_Form_Left=%1").arg(fixture.Main.Window.x()),
            "Main_Form_Top=640",
            "Message_Dialog_Form_Left=11",
            "Message_Dialog_Form_Top=12",
            QStringLiteral("Setup_Form_Left=%1").arg(dialog_position.x()),
            QStringLiteral("Setup_Form_Top=%1").arg(dialog_position.y()),
            "Update_Record_Form_Left=-5",
            "Update_Record_Form_Top=14",
        };
        QCOMPARE(Ini_Lines(fixture.Setup_Ini()), expected);
        QCOMPARE(QPoint(fixture.Main.Setup.Setup_Form_Left, fixture.Main.Setup.Setup_Form_Top), dialog_position);
    }

    void A_Setup_File_That_Cannot_Be_Written_Is_Reported()
    {
        Setup_Fixture fixture;
        QVERIFY(QDir().mkdir(QString::fromStdString(fixture.Main.Paths.File("Setup.ini"))));
        fixture.Run([&](TSetup_Form* form) {
            Click(form, "Save_Positions_Button");
            Click(form, "Save_Button");
        });
        const std::vector<std::string>& lines = fixture.Main.Errors.Lines();
        QCOMPARE(lines.size(), std::size_t(2));
        const std::string tail =
            " - WRITE - UNEXPECTED_ERROR - not possible to write into file " + fixture.Main.Paths.File("Setup.ini");
        QVERIFY(lines[0].find(" - SAVE_WINDOW_POSITIONS" + tail) != std::string::npos);
        QVERIFY(lines[1].find(" - SAVE_SETUP" + tail) != std::string::npos);
    }

    void Captions_Follow_The_Language_File_And_Closing_Unchanged_Asks_Nothing()
    {
        Setup_Fixture fixture;
        Write_File(fixture.Main.Texts.Language_File_Path,
                   Utf8_To_Cp1250("[Setup_Form]\r\n1=Nastavení\r\n2=Výchozí\r\n19=Krok kolečka:\r\n11=Uložit\r\n"));
        fixture.Main.Setup.Main_Form_Anchor = 3;
        fixture.Main.Setup.Time_Scroll_Resolution = 15;
        QStringList seen;
        fixture.Run([&](TSetup_Form* form) {
            const QLabel* label5 = Part<QLabel>(form, "Label5");
            const QLabel* step = Part<QLabel>(form, "Time_Scroll_Resolution_Label");
            seen << form->windowTitle() << Part<QGroupBox>(form, "GroupBox2")->title()
                 << Part<TVela_Button>(form, "Save_Button")->Text()
                 << Part<QCheckBox>(form, "Form_Movement_Restrictions_Check_Box")->text()
                 << QString::number(step->x() - label5->geometry().right() - 1) << step->text()
                 << QString::number(Part<TVela_Button>(form, "Bottom_Left_Anchor_Button")->Button_Down())
                 << Part<QLineEdit>(form, "Target_Log_File_Format_Edit_Box")->toolTip();
            QTest::keyClick(Part<QComboBox>(form, "Default_Work_Type_Combo_Box"), Qt::Key_Escape);
        });
        QCOMPARE(seen, QStringList({QString::fromUtf8("Nastavení"), QString::fromUtf8("  Výchozí  "),
                                    QString::fromUtf8("Uložit"), "8", "5", "15 min", "1",
                                    "%0:s - C0\n%1:s - C1\n%2:s - C2\n%3:s - C3\n%4:s - C4\n%5:s - C5"}));
        QVERIFY(fixture.Dialogs.Calls.empty() && fixture.Main.Alpha_Calls.empty());
        QVERIFY(fixture.Main.Anchors_Applied.empty() && fixture.Setup_Ini().empty());
    }

    void Start_At_Login_Shows_The_Autostart_File_And_A_Save_Writes_Or_Removes_It()
    {
        Setup_Fixture fixture;
        const std::string config = fixture.Directory.path().toStdString() + "/config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        const std::string entry = config + "/autostart/zentavo-logger.desktop";
        const auto open_and = [&fixture](bool& shown, const std::function<void(TSetup_Form*, QCheckBox*)>& act) {
            fixture.Run([&](TSetup_Form* form) {
                auto* box = Part<QCheckBox>(form, "Start_At_Login_Check_Box");
                shown = box->isChecked();
                act(form, box);
            });
        };
        bool shown = true;
        QString caption;
        open_and(shown, [&](TSetup_Form* form, QCheckBox* box) {
            caption = box->text();  // the test's language file has no caption for it
            box->click();
            Click(form, "Save_Button");
        });
        QVERIFY(!shown);
        QCOMPARE(caption, QStringLiteral("Start at login"));
        const std::string program = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        QVERIFY(Read_File(entry).find("\nExec=" + Desktop_Exec_Argument(program) + "\n") != std::string::npos);
        QVERIFY(fixture.Setup_Ini().find("Start_At") == std::string::npos);
        QVERIFY(fixture.Setup_Ini().find("Login") == std::string::npos);

        // Unticked, then the question declined: the file stays, and shows ticked next time.
        fixture.Dialogs.Answers = {2};
        open_and(shown, [](TSetup_Form* form, QCheckBox* box) {
            box->click();
            form->close();
        });
        QVERIFY(shown && Autostart_File_Exists(entry));
        open_and(shown, [](TSetup_Form* form, QCheckBox* box) {
            box->click();
            Click(form, "Save_Button");
        });
        QVERIFY(shown && !Autostart_File_Exists(entry));

        // A folder that cannot be made is told in the protocol; Setup.ini is saved all the same.
        Write_File(config + "-blocked", "a file");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config + "-blocked"));
        open_and(shown, [](TSetup_Form* form, QCheckBox* box) {
            box->click();
            Click(form, "Save_Button");
        });
        qunsetenv("XDG_CONFIG_HOME");
        const std::vector<std::string>& lines = fixture.Main.Errors.Lines();
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY(lines[0].find(" - SAVE_START_AT_LOGIN - WRITE - UNEXPECTED_ERROR - cannot create " + config +
                              "-blocked/autostart") != std::string::npos);
        QVERIFY(!fixture.Setup_Ini().empty());
    }

    void Screenshot_With_The_Czech_Texts()
    {
        Setup_Fixture fixture;
        Use_Installed_Data(fixture.Main);
        fixture.Main.Setup.Target_Log_File_Name = "/home/user/zentavo-logger/Work_Log.csv";
        fixture.Main.Setup.Main_Form_Anchor = 4;
        fixture.Run([&](TSetup_Form* form) {
            QCOMPARE(Grab_Screenshot(form, fixture.Directory.path(), "screenshot-settings.png").size(),
                     QSize(721, 398));
            form->close();
        });
        QVERIFY(fixture.Main.Errors.Lines().empty());
    }
};

QTEST_MAIN(Setup_Form_Test)
#include "Setup_Form_test.moc"
