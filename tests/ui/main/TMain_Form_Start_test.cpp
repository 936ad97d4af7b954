// The creation of the main window: what a normal start leaves, and the early ends.
#include <QListWidget>

#include "Main_Form_Test_Support.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/tray/TNotificationIcon.h"

namespace
{
bool Ends_With(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

class Main_Form_Start_Test : public QObject
{
    Q_OBJECT

private slots:
    void A_Day_That_Cannot_Be_Stored_Is_Told_Once_Until_It_Is_Stored_Again()
    {
        Started_Main_Form start({"First_Start=1"});
        TMain_Form& form = start.Form();
        const QString day_log = start.Directory.Path("Actual_Work_Log.log");
        QTRY_COMPARE(Read_File(day_log).size(), std::size_t(1536));
        const auto warnings = [&] {
            int count = 0;
            for (const Question& question : start.Harness->Dialogs->Questions)
                count += question.Message.find("could not be saved") != std::string::npos &&
                         question.First_Button == Peer(form).Texts_Of_Main_Form().Message_Buttons[1] &&
                         question.Second_Button.empty();
            return count;
        };
        const auto next_minute = [&] {
            start.Harness->Clock.Advance_Minutes(1);
            Peer(form).Update_TimerTimer();
            QCoreApplication::processEvents();
        };
        const auto protocol_has = [&](const std::string& text) {
            int count = 0;
            for (const std::string& line : form.Error_List_Of_Main_Form().Lines())
                count += line.find(text) != std::string::npos;
            return count;
        };

        // A folder where the day log was: no save can replace it.
        QVERIFY(QFile::remove(day_log));
        QVERIFY(QDir().mkdir(day_log));
        next_minute();
        QTRY_COMPARE(warnings(), 1);
        QCOMPARE(protocol_has(" - SAVE_ACTUAL_WORK_LOG - REWRITE - UNEXPECTED_ERROR - not possible to create file"), 1);
        next_minute();
        next_minute();
        QCOMPARE(warnings(), 1);
        QCOMPARE(protocol_has(" - SAVE_ACTUAL_WORK_LOG - REWRITE - "), 1);

        // Each minute tries again: once the way is free the day is stored, and said so.
        QVERIFY(QDir().rmdir(day_log));
        next_minute();
        QCOMPARE(Read_File(day_log).size(), std::size_t(1536));
        QCOMPARE(Read_File(day_log).substr(513, 13), std::string("09:00 - 09:04"));
        QCOMPARE(protocol_has(" - SAVE_ACTUAL_WORK_LOG - CHECKPOINT - OK - actual log saved again to "), 1);

        // A new failure after a success is told again.
        QVERIFY(QFile::remove(day_log));
        QVERIFY(QDir().mkdir(day_log));
        next_minute();
        QTRY_COMPARE(warnings(), 2);
        QVERIFY(QDir().rmdir(day_log));
    }

    void A_First_Start_Begins_A_New_Day_Without_Questions()
    {
        Started_Main_Form start({"First_Start=1"});
        TMain_Form& form = start.Form();
        QVERIFY(!form.Termination_Requested() && form.Show_Main_Form());
        QVERIFY(start.Harness->Dialogs->Questions.empty() && start.Harness->Plain_Messages.empty());
        // The marker is gone, the other keys stay.
        const std::string setup = Read_File(start.Directory.Path("Setup.ini"));
        QVERIFY(setup.find("First_Start") == std::string::npos);
        QVERIFY(setup.find("Language_File_Name=Test.lng") != std::string::npos);

        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QCOMPARE(log.Size(), std::size_t(1));
        QCOMPARE(log[0][Day_Name_Field], std::string("Thu"));
        QCOMPARE(log[0][Time_Span_Field], std::string("09:00 - 09:00"));
        QCOMPARE(log[0][Duration_Field], std::string("00:00"));

        // One row: 17 pixels of table, 52 around it; the bar's buttons lie below, out of sight.
        QCOMPARE(form.size(), QSize(755, 17 + 52));
        QCOMPARE(Peer(form).Data_Grid()->geometry(), QRect(6, 46, 743, 17));
        QCOMPARE(Peer(form).Add_Record_Button()->y(), 17 + 51);
        QVERIFY(Peer(form).Add_Record_Button()->isEnabled());
        QCOMPARE(Peer(form).Add_Record_Button()->Text(), QStringLiteral("Add"));
        QCOMPARE(Peer(form).Title_Label()->text(), QStringLiteral("Zentavo Logger " ZL_PROGRAM_VERSION));
        QVERIFY(form.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::Tool));
        QVERIFY(Peer(form).Update_Timer_Of_Main_Form().isActive() && !form.Is_Fading());
        QCOMPARE(Peer(form).Update_Timer_Of_Main_Form().interval(), 500);

        // Transparency 20: blend value 235; the tray hint is off while the window shows.
        QVERIFY(Peer(form).Fader().Alpha_Blend());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 235);
        QCOMPARE(Peer(form).Tray_Hint_Text(), QStringLiteral("Elapsed\r00:00"));
        QVERIFY(!form.Tray_Icon()->ShowHint());

        // The new day is stored on the first turn of the event loop, not before the window
        // could show; the protocol was emptied at the start.
        QVERIFY(Read_File(start.Directory.Path("Actual_Work_Log.log")).empty());
        QTRY_COMPARE(Read_File(start.Directory.Path("Actual_Work_Log.log")).size(), std::size_t(1536));
        QCOMPARE(Read_File(start.Directory.Path("Error_Log.log")), std::string());
        QVERIFY(Peer(form).Testing().Panel_Of_Window().Error_List_Box()->count() >= 1);
        QVERIFY(Peer(form).Testing().Panel_Of_Window().Error_List_Box()->item(0)->text().contains(
            QStringLiteral("FILE_NOT_FOUND")));
    }

    void Todays_Day_Log_Is_Continued_And_A_Full_Day_Has_No_Room_To_Add()
    {
        Started_Main_Form start({}, [](Started_Main_Form& starting) {
            std::vector<Work_Record> records = {
                Make_Record("Thu", starting.Harness->Today(), "08:00 - 08:30", "TOTAL", "00:30", ""),
                Make_Record("", "", "", "DEFAULT", "00:00", "")};
            for (int index = 0; index < 14; ++index)
                records.push_back(Make_Record("", "", "", "Type " + std::to_string(index), "00:05", ""));
            starting.Directory.Write_Day_Log(records);
        });
        const Day_Log& log = Peer(start.Form()).Day_Log_Of_Main_Form();
        QCOMPARE(log.Size(), std::size_t(16));
        QCOMPARE(int(log.Recorded_Minutes()), 70);
        QCOMPARE(Peer(start.Form()).Data_Grid()->height(), 272);
        QCOMPARE(start.Form().height(), 272 + 52);
        QVERIFY(!Peer(start.Form()).Add_Record_Button()->isEnabled());
        // The summary rows show the day from 08:00 to now, 09:00.
        QCOMPARE(log[0][Time_Span_Field], std::string("08:00 - 09:00"));
        QCOMPARE(log[0][Duration_Field], std::string("01:00"));
        QCOMPARE(log[1][Duration_Field], std::string("- 00:10"));

        // A day started at the last minute has no room either.
        Started_Main_Form late({"First_Start=1"}, {}, {2026, 3, 5, 23, 59, 0, 0});
        QVERIFY(!Peer(late.Form()).Add_Record_Button()->isEnabled());
    }

    void The_Window_Starts_In_Its_Anchor_Corner_Or_At_Its_Position_Inside_The_Work_Area()
    {
        const QRect area = Primary_Work_Area();
        const int right = area.width() - 755, bottom = area.height() - 69;
        const QList<QPair<std::vector<std::string>, QPoint>> table = {
            {{"Visual:Main_Form_Anchor=1", "Visual:Main_Form_Left=33", "Visual:Main_Form_Top=44"}, {0, 0}},
            {{"Visual:Main_Form_Anchor=2", "Visual:Main_Form_Left=33", "Visual:Main_Form_Top=44"}, {right, 0}},
            {{"Visual:Main_Form_Anchor=3", "Visual:Main_Form_Left=33", "Visual:Main_Form_Top=44"}, {0, bottom}},
            {{"Visual:Main_Form_Anchor=4", "Visual:Main_Form_Left=33", "Visual:Main_Form_Top=44"}, {right, bottom}},
            {{"Visual:Main_Form_Left=33", "Visual:Main_Form_Top=44"}, {33, 44}},
            // A position on a screen that is gone is brought back into the work area.
            {{"Visual:Main_Form_Left=9000", "Visual:Main_Form_Top=-5000"}, {area.right() + 1 - 755, area.top()}},
        };
        for (const auto& [lines, position] : table)
        {
            std::vector<std::string> setup = lines;
            setup.push_back("First_Start=1");
            QCOMPARE(Started_Main_Form(setup).Form().pos(), position);
        }
    }

    void Transparency_Zero_Keeps_The_Window_Opaque_And_Tray_Start_Shows_Nothing()
    {
        Started_Main_Form opaque({"First_Start=1", "Visual:Main_Form_Transparency=0"});
        QVERIFY(!Peer(opaque.Form()).Fader().Alpha_Blend());
        QCOMPARE(opaque.Form().windowOpacity(), 1.0);

        Started_Main_Form tray({"First_Start=1", "Minimize_To_Tray_After_Start=1"});
        QVERIFY(!tray.Form().Show_Main_Form() && Peer(tray.Form()).Fader().Alpha_Blend());
        QVERIFY(tray.Harness->Tray.Icon_Present && tray.Form().Tray_Icon()->ShowHint());

        // Without a notification area the window shows all the same.
        Started_Main_Form no_tray({"First_Start=1", "Minimize_To_Tray_After_Start=1"},
                                  [](Started_Main_Form& starting) { starting.Harness->Tray.Set_Available(false); });
        QVERIFY(no_tray.Form().Show_Main_Form());
    }

    void A_Missing_Required_File_Ends_The_Start_With_Its_Protocol_And_No_Window()
    {
        Started_Main_Form start({"First_Start=1"}, [](Started_Main_Form& starting) {
            Write_File(starting.Directory.Path("File_List"), "Skin/Header_Row.bmp\r\nNot_There.bmp\r\n\r\nSkin\r\n");
        });
        QVERIFY(start.Form().Termination_Requested() && !start.Form().Show_Main_Form() && !start.Form().isVisible());
        QCOMPARE(start.Harness->Quit_Requests, 1);
        QCOMPARE(start.Harness->Plain_Messages,
                 std::vector<QString>{"Some of source files needed for this application is missing.\r"
                                      "It will be probably needed to reinstall the application.\r"
                                      "Protocol will be saved to file " +
                                      start.Directory.Path("Error_Log.log")});
        // The count line, then the names as written; an empty line and a directory count.
        const std::vector<std::string> lines = start.Protocol_Lines();
        QCOMPARE(lines.size(), std::size_t(4));
        QVERIFY(Ends_With(lines[0], " - CHECK_FILE_AVAILABILITY - missing 3 file(s)"));
        QCOMPARE(std::vector<std::string>(lines.begin() + 1, lines.end()),
                 (std::vector<std::string>{"Not_There.bmp", "", "Skin"}));
        // Setup.ini was not read: the marker is still there; no day log was written.
        QVERIFY(Read_File(start.Directory.Path("Setup.ini")).find("First_Start") != std::string::npos);
        QVERIFY(!QFile::exists(start.Directory.Path("Actual_Work_Log.log")));
    }

    void A_Missing_Empty_Overlong_Or_Unreadable_File_Ends_The_Start()
    {
        std::string overlong;
        for (int index = 0; index < 257; ++index) overlong += "Skin/Header_Row.bmp\r\n";
        struct Case
        {
            const char* File;
            const char* Content;  // nullptr: the file is removed
            const char* Protocol_Tail;
            const char* Last_Line;
        };
        for (const Case& expected :
             {Case{"File_List", nullptr, " - CHECK_FILE_AVAILABILITY - missing 1 file(s)", "File_List"},
              Case{"File_List", "", "File_List names no file", nullptr},
              Case{"File_List", overlong.c_str(), "File_List names more than 256 files", nullptr},
              Case{"Skin/Header_Row.bmp", "not a bitmap", " - missing 1 file(s)", "Skin/Header_Row.bmp"}})
        {
            Started_Main_Form start({}, [&](Started_Main_Form& starting) {
                if (expected.Content) Write_File(starting.Directory.Path(expected.File), expected.Content);
                else QFile::remove(starting.Directory.Path(expected.File));
            });
            QVERIFY(start.Form().Termination_Requested() && !start.Form().Show_Main_Form());
            QCOMPARE(start.Harness->Plain_Messages.size(), std::size_t(1));
            const std::vector<std::string> lines = start.Protocol_Lines();
            QVERIFY(!lines.empty());
            QVERIFY2(Ends_With(lines[0], expected.Protocol_Tail), lines[0].c_str());
            if (expected.Last_Line) QCOMPARE(lines.back(), std::string(expected.Last_Line));
            else  // the message names the fault itself
                QVERIFY(start.Harness->Plain_Messages[0].contains(QString::fromLatin1(expected.Protocol_Tail) + "."));
        }
    }

    void An_Error_Log_That_Cannot_Be_Created_Ends_The_Start_Before_Anything_Is_Read()
    {
        Started_Main_Form start({"First_Start=1"}, [](Started_Main_Form& starting) {
            QVERIFY(QDir().mkdir(starting.Directory.Path("Error_Log.log")));  // a directory is no file
        });
        QVERIFY(start.Form().Termination_Requested());
        QCOMPARE(
            start.Harness->Plain_Messages,
            std::vector<QString>{QString::fromStdString("Attempt to create the error log file " +
                                                        start.Directory.Directory_Path() + "Error_Log.log\rfailed.")});
        QVERIFY(Read_File(start.Directory.Path("Setup.ini")).find("First_Start") != std::string::npos);
    }

    void Ending_The_Program_At_The_Missing_Log_Question_Writes_The_Protocol_Only()
    {
        bool icon_during_question = false;
        Started_Main_Form start({}, [&icon_during_question](Started_Main_Form& starting) {
            starting.Harness->Dialogs->Answer(2);
            // The icon is in the tray from the window's layout on, during the starting's questions too.
            Fake_Tray_Shell& tray = starting.Harness->Tray;
            starting.Harness->Dialogs->While_Open = [&icon_during_question, &tray] {
                icon_during_question = tray.Icon_Present;
            };
        });
        QVERIFY(icon_during_question);
        QVERIFY(start.Form().Termination_Requested() && !start.Form().Show_Main_Form());
        QCOMPARE(start.Harness->Dialogs->Questions.size(), std::size_t(1));
        QCOMPARE(start.Harness->Dialogs->Questions[0].Icon, std::string("Error_Icon_Source.bmp"));
        QVERIFY(!QFile::exists(start.Directory.Path("Actual_Work_Log.log")));
        const std::vector<std::string> lines = start.Protocol_Lines();
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY(lines[0].find("FILE_NOT_FOUND") != std::string::npos);
        // A close or a termination signal now must not save an empty day over anything.
        start.Form().End_Day_And_Quit();
        QVERIFY(!QFile::exists(start.Directory.Path("Actual_Work_Log.log")));
    }
};

QTEST_MAIN(Main_Form_Start_Test)
#include "TMain_Form_Start_test.moc"
