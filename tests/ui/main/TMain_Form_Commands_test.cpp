// The commands of the main window: deletions, the wheel, keys, buttons, the minute timer
// and the end of the day, with the questions answered both ways.
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include "Main_Form_Test_Support.h"
#include "ui/controls/TVela_Button.h"
#include "ui/tray/TNotificationIcon.h"
#include "worklog/Day_Log_File.h"

namespace
{
// Hands the events of one type that reach a widget to a function.
class Event_Recorder : public QObject
{
public:
    Event_Recorder(QObject* target, QEvent::Type type, std::function<void(QEvent*)> record)
        : Type(type), Record(std::move(record))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == Type) Record(event);
        return false;
    }

private:
    QEvent::Type Type;
    std::function<void(QEvent*)> Record;
};

// A day that began at 08:00 with two records of 20 and 30 minutes; the clock shows 09:00.
struct Day_Fixture : Started_Main_Form
{
    explicit Day_Fixture(const std::vector<std::string>& setup_lines = {},
                         std::vector<std::string> durations = {"00:20", "00:30"}, const std::string& start = "08:00",
                         Date_Time now = {2026, 3, 5, 9, 0, 0, 0})
        : Started_Main_Form(
              setup_lines,
              [=](Started_Main_Form& day) {
                  std::vector<Work_Record> records = {
                      Make_Record("Thu", day.Harness->Today(), start + " - " + start, "TOTAL", "00:00", ""),
                      Make_Record("", "", "", "Unassigned work", "00:00", "its remark")};
                  char name = 'A';
                  for (const std::string& duration : durations)
                      records.push_back(Make_Record("", "", "", std::string("Type ") + name++, duration, "r"));
                  day.Directory.Write_Day_Log(records);
              },
              now)
    {
    }

    TMain_Form& Create()
    {
        Form().show();
        return Form();
    }

    std::vector<Work_Record> Stored_Records() const
    {
        const std::string bytes = Read_File(Directory.Path("Actual_Work_Log.log"));
        std::vector<Work_Record> records;
        for (std::size_t offset = 0; offset + Work_Record_Size <= bytes.size(); offset += Work_Record_Size)
            records.push_back(Decode_Work_Record(std::string_view(bytes).substr(offset, Work_Record_Size)));
        return records;
    }

    Scripted_Message_Dialogs& Dialogs() { return *Harness->Dialogs; }
};

void Point_At_Row(TMain_Form& form, int row)
{
    QWidget* grid = Peer(form).Data_Grid();
    const QPointF local(100, 17 * row + 5);
    QMouseEvent move(QEvent::MouseMove, local, grid->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &move);
}

void Press_Key(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false,
               QEvent::Type type = QEvent::KeyPress)
{
    QKeyEvent press(type, key, modifiers, QString(), repeat);
    QApplication::sendEvent(&target, &press);
}

void Release_Key(QWidget& target, Qt::Key key, bool repeat = false)
{
    Press_Key(target, key, Qt::NoModifier, repeat, QEvent::KeyRelease);
}

// The window takes the wheel wherever the pointer is (a real wheel over the table reaches it
// through the table, which leaves the event to its parent).
void Turn_Wheel(TMain_Form& form, int notches)
{
    const QPointF local(100, 60);
    QWheelEvent wheel(local, form.mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&form, &wheel);
}

void Click_Row(TMain_Form& form, int row, Qt::MouseButton button)
{
    QWidget* grid = Peer(form).Data_Grid();
    const QPointF local(100, 17 * row + 5);
    QMouseEvent press(QEvent::MouseButtonPress, local, grid->mapToGlobal(local), button, button, Qt::NoModifier);
    QApplication::sendEvent(grid, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, grid->mapToGlobal(local), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(grid, &release);
}
}  // namespace

class Main_Form_Commands_Test : public QObject
{
    Q_OBJECT

private slots:
    void Deleting_A_Record_Asks_And_Keeps_It_On_The_Second_Button()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        QCOMPARE(form.height(), 4 * 17 + 52);
        Point_At_Row(form, 2);
        QCOMPARE(int(Peer(form).Data_Grid()->Highlighted_Row()), 2);

        day.Dialogs().Answer(2);
        Press_Key(form, Qt::Key_Delete);
        QCOMPARE(day.Dialogs().Questions.size(), std::size_t(1));
        QCOMPARE(day.Dialogs().Questions[0].Text(), std::string("Warning_Icon_Source.bmp|32|1#|2|3"));
        QVERIFY(Peer(form).Day_Log_Of_Main_Form().Size() == 4 && Peer(form).Data_Grid()->Highlighted_Row() == 255);
        // With no highlighted row a second Delete asks nothing.
        Press_Key(form, Qt::Key_Delete);
        QCOMPARE(day.Dialogs().Questions.size(), std::size_t(1));

        Point_At_Row(form, 2);
        day.Dialogs().Answer(1);
        Press_Key(form, Qt::Key_D);
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QVERIFY(log.Size() == 3 && log[2][Work_Type_Field] == "Type B" && log.Recorded_Minutes() == 30);
        QCOMPARE(log[1][Duration_Field], std::string("00:30"));
        QVERIFY(form.height() == 3 * 17 + 52 && Peer(form).Data_Grid()->Highlighted_Row() == 255);
        QCOMPARE(day.Stored_Records().size(), std::size_t(3));  // stored at once
    }

    void Deleting_The_Last_Record_Folds_The_Table_Into_The_Day_Row()
    {
        Day_Fixture day({}, {"00:20"});
        TMain_Form& form = day.Create();
        Point_At_Row(form, 2);
        day.Dialogs().Answer(1);
        Click_Row(form, 2, Qt::RightButton);
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QVERIFY(log.Size() == 1 && log.Recorded_Minutes() == 0 && form.height() == 17 + 52);
        QCOMPARE(log[0][Work_Type_Field] + "|" + log[0][Remark_Field], std::string("Unassigned work|its remark"));
        QCOMPARE(day.Stored_Records().size(), std::size_t(1));
    }

    void The_Summary_Rows_Cannot_Be_Deleted()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        for (int row : {0, 1})
        {
            Point_At_Row(form, row);
            Click_Row(form, row, Qt::RightButton);
            Press_Key(form, Qt::Key_Delete);
        }
        QVERIFY(day.Dialogs().Questions.empty());
        QCOMPARE(Peer(form).Day_Log_Of_Main_Form().Size(), std::size_t(4));
    }

    void Clearing_All_Records_Asks_And_Only_Exactly_Ctrl_Clears()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        Point_At_Row(form, 3);
        day.Dialogs().Answer(2);
        Press_Key(form, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(day.Dialogs().Questions.back().Message, std::string("10#"));
        QVERIFY(Peer(form).Day_Log_Of_Main_Form().Size() == 4 && Peer(form).Data_Grid()->Highlighted_Row() == 255);

        // Ctrl+Shift+D is the delete of the highlighted record.
        Point_At_Row(form, 3);
        day.Dialogs().Answer(1);
        Press_Key(form, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(day.Dialogs().Questions.back().Message, std::string("1#"));
        QCOMPARE(Peer(form).Day_Log_Of_Main_Form().Size(), std::size_t(3));

        day.Dialogs().Answer(1);
        Press_Key(form, Qt::Key_Delete, Qt::ControlModifier);
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QVERIFY(log.Size() == 1 && log[0][Work_Type_Field] == "Unassigned work");
        QVERIFY(Peer(form).Add_Record_Button()->isEnabled());

        // With only the Day_Row there is nothing to clear and nothing is asked.
        const std::size_t asked = day.Dialogs().Questions.size();
        Press_Key(form, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(day.Dialogs().Questions.size(), asked);
    }

    void The_Wheel_Shortens_And_Asks_Before_A_Record_Would_Reach_Zero()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        Point_At_Row(form, 2);
        Turn_Wheel(form, -1);
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QVERIFY(log[2][Duration_Field] == "00:10" && log.Recorded_Minutes() == 40);
        QCOMPARE(log[1][Duration_Field], std::string("00:20"));
        QCOMPARE(day.Stored_Records()[2][Duration_Field], std::string("00:10"));

        day.Dialogs().Answer(2);
        Turn_Wheel(form, -1);
        QCOMPARE(day.Dialogs().Questions.size(), std::size_t(1));
        QCOMPARE(day.Dialogs().Questions[0].Message, std::string("1#"));
        QVERIFY(log[2][Duration_Field] == "00:10" && log.Size() == 4);

        // The wheel acts on the row last under the pointer, also after the pointer left.
        Point_At_Row(form, 3);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(Peer(form).Data_Grid(), &leave);
        QCOMPARE(int(Peer(form).Data_Grid()->Highlighted_Row()), 255);
        Turn_Wheel(form, -2);
        QCOMPARE(log[3][Duration_Field], std::string("00:10"));
    }

    void The_Wheel_Redraws_The_Row_It_Changed_After_The_Pointer_Left()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        QWidget* grid = Peer(form).Data_Grid();
        QRegion painted;
        Event_Recorder recorder(grid, QEvent::Paint,
                                [&](QEvent* event) { painted += static_cast<QPaintEvent*>(event)->region(); });
        Point_At_Row(form, 3);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(grid, &leave);
        QCoreApplication::processEvents();
        painted = QRegion();

        Turn_Wheel(form, 1);
        QCOMPARE(Peer(form).Day_Log_Of_Main_Form()[3][Duration_Field], std::string("00:40"));
        QCoreApplication::processEvents();
        QVERIFY(painted.contains(QRect(0, 3 * 17, grid->width(), 17)));
        QVERIFY(!Peer(form).Data_Grid()->Row_Drawn_Highlighted(3));
    }

    void The_Wheel_Lengthens_And_Asks_Past_The_Elapsed_Time()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        Point_At_Row(form, 2);
        Turn_Wheel(form, 1);  // 60 of 60 elapsed minutes: no question yet
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QVERIFY(log[2][Duration_Field] == "00:30" && day.Dialogs().Questions.empty());
        QCOMPARE(log[1][Duration_Field], std::string("00:00"));

        day.Dialogs().Answer(2);
        Turn_Wheel(form, 1);
        QCOMPARE(day.Dialogs().Questions.back().Text(), std::string("Overtime_Icon_Source.bmp|70|14#|2|3"));
        QCOMPARE(log[2][Duration_Field], std::string("00:30"));

        day.Dialogs().Answer(1);
        Turn_Wheel(form, 1);
        QVERIFY(log[2][Duration_Field] == "00:40" && log.Recorded_Minutes() == 70);
        QCOMPARE(log[1][Duration_Field], std::string("- 00:10"));

        // Over the summary rows the wheel does nothing.
        Point_At_Row(form, 1);
        Turn_Wheel(form, 1);
        Turn_Wheel(form, -1);
        QCOMPARE(int(log.Recorded_Minutes()), 70);
    }

    void The_Wheel_Does_Nothing_When_Switched_Off_And_Without_A_Warning_Asks_Nothing()
    {
        Day_Fixture off({"Time_Scroll_Control=0"});
        TMain_Form& form = off.Create();
        Point_At_Row(form, 2);
        Turn_Wheel(form, -1);
        QCOMPARE(Peer(form).Day_Log_Of_Main_Form()[2][Duration_Field], std::string("00:20"));

        // 266 is held in 8 bits: 10.
        Day_Fixture quiet({"Display_Zentavo_Overrange_Warning=0", "Time_Scroll_Resolution=266"});
        TMain_Form& quiet_form = quiet.Create();
        Point_At_Row(quiet_form, 2);
        Turn_Wheel(quiet_form, 6);
        QVERIFY(quiet.Dialogs().Questions.empty());
        QCOMPARE(Peer(quiet_form).Day_Log_Of_Main_Form()[2][Duration_Field], std::string("01:20"));
    }

    void The_Wheel_Stops_At_The_End_Of_The_Day_And_The_Add_Button_Follows()
    {
        Day_Fixture day({}, {"00:49"}, "23:00", {2026, 3, 5, 23, 59, 0, 0});
        TMain_Form& form = day.Create();
        QVERIFY(Peer(form).Add_Record_Button()->isEnabled());
        Point_At_Row(form, 2);
        Turn_Wheel(form, 1);  // 23:00 + 59 minutes = 23:59, the last minute
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QCOMPARE(log[2][Duration_Field], std::string("00:59"));
        QVERIFY(!Peer(form).Add_Record_Button()->isEnabled());
        Turn_Wheel(form, 1);
        QCOMPARE(log[2][Duration_Field], std::string("00:59"));
        Press_Key(form, Qt::Key_A);  // the day is full: no editor
        QVERIFY(day.Harness->Editor_Openings.empty());
        Turn_Wheel(form, -1);
        QVERIFY(Peer(form).Add_Record_Button()->isEnabled());
        QVERIFY(day.Dialogs().Questions.empty());
    }

    void Command_Keys_Act_Once_Per_Press()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        Press_Key(form, Qt::Key_O);
        Press_Key(form, Qt::Key_O, Qt::NoModifier, true);
        Release_Key(form, Qt::Key_O, true);  // a held key repeats as release and press pairs
        Press_Key(form, Qt::Key_O, Qt::NoModifier, true);
        QCOMPARE(day.Harness->Shell.Opened.size(), std::size_t(1));
        QCOMPARE(day.Harness->Shell.Opened[0], day.Directory.Directory_Path() + "Work_Log.csv");
        Release_Key(form, Qt::Key_O);

        // A modifier's own key-down does not disarm the letter it goes with.
        Press_Key(form, Qt::Key_Shift, Qt::ShiftModifier);
        Press_Key(form, Qt::Key_S, Qt::ShiftModifier);
        Release_Key(form, Qt::Key_S);
        Release_Key(form, Qt::Key_Shift);
        Press_Key(form, Qt::Key_Control, Qt::ControlModifier);
        Press_Key(form, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
        Press_Key(form, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        Release_Key(form, Qt::Key_S);
        QCOMPARE(day.Harness->Setup_Openings, 2);
        day.Harness->Setup_Openings = 0;

        // The settings dialog re-arms the keys when it closes; letters act with any modifier.
        Press_Key(form, Qt::Key_S, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(day.Harness->Setup_Openings, 1);
        QVERIFY(Peer(form).Key_Armed_State());
        Press_Key(form, Qt::Key_S, Qt::NoModifier, true);
        Release_Key(form, Qt::Key_S);
        QCOMPARE(day.Harness->Setup_Openings, 2);

        Press_Key(form, Qt::Key_R);
        Press_Key(form, Qt::Key_R, Qt::NoModifier, true);
        Release_Key(form, Qt::Key_R);
        QCOMPARE(day.Harness->Report_Openings, 1);

        Press_Key(form, Qt::Key_A);
        Release_Key(form, Qt::Key_A);
        QCOMPARE(day.Harness->Editor_Openings, std::vector<bool>{true});
        QCOMPARE(int(Peer(form).Edited_Row()), 4);

        // Enter shows the button bar: 30 pixels more, the buttons 5 pixels below the table.
        Press_Key(form, Qt::Key_Return);
        Release_Key(form, Qt::Key_Return);
        QCOMPARE(Peer(form).Button_Bar_Height(), 30);
        QCOMPARE(form.height(), 4 * 17 + 52 + 30);
        QCOMPARE(Peer(form).Add_Record_Button()->geometry(), QRect(6, 4 * 17 + 51, 105, 25));
        QVERIFY(Peer(form).Add_Record_Button()->isVisible());
        Press_Key(form, Qt::Key_Return);
        Release_Key(form, Qt::Key_Return);
        QVERIFY(form.height() == 4 * 17 + 52 && !Peer(form).Add_Record_Button()->isVisible());

        // While a fade runs only the delete keys and the wheel act.
        Peer(form).Fader().Effect_Timer_Of_Main_Form().start();
        Press_Key(form, Qt::Key_S);
        Release_Key(form, Qt::Key_S);
        Click_Row(form, 2, Qt::LeftButton);
        Peer(form).Fader().Effect_Timer_Of_Main_Form().stop();
        QVERIFY(day.Harness->Setup_Openings == 2 && day.Harness->Editor_Openings.size() == 1);

        Click_Row(form, 3, Qt::LeftButton);
        QCOMPARE(day.Harness->Editor_Openings, (std::vector<bool>{true, false}));
        QCOMPARE(int(Peer(form).Edited_Row()), 3);
    }

    void The_Minute_Timer_Refreshes_The_Summary_Once_A_Minute_And_Announces_The_Full_Day()
    {
        Day_Fixture day({"Full_Time_Value=61"}, {"00:20"});
        TMain_Form& form = day.Create();
        const Day_Log& log = Peer(form).Day_Log_Of_Main_Form();
        QCOMPARE(Peer(form).Tray_Hint_Text(), QStringLiteral("Elapsed\r01:00"));
        Peer(form).Update_TimerTimer();
        QCOMPARE(day.Harness->Tray.Balloons_Shown, 0);

        day.Harness->Clock.Advance_Minutes(1);
        Peer(form).Update_TimerTimer();
        QCOMPARE(log[0][Time_Span_Field] + "|" + log[0][Duration_Field] + "|" + log[1][Duration_Field],
                 std::string("08:00 - 09:01|01:01|00:41"));
        QCOMPARE(Peer(form).Tray_Hint_Text(), QStringLiteral("Elapsed\r01:01"));
        QCOMPARE(day.Harness->Tray.Balloons_Shown, 1);
        QVERIFY(day.Harness->Tray.Shown.Balloon_Title == "Full time" && day.Harness->Tray.Shown.Balloon_Icon_Kind == 4);
        QCOMPARE(day.Stored_Records()[0][Time_Span_Field], std::string("08:00 - 09:01"));

        day.Harness->Clock.Advance_Minutes(1);
        Peer(form).Update_TimerTimer();
        QVERIFY(day.Harness->Tray.Balloons_Shown == 1 && log[0][Duration_Field] == "01:02");
    }

    void A_Hint_Format_That_Does_Not_Fit_Gives_An_Empty_Hint()
    {
        Started_Main_Form day({"First_Start=1"}, [](Started_Main_Form& starting) {
            Write_File(starting.Directory.Path("Test.lng"), "[Tray_Icon]\r\n1=%d minutes\r\n");
        });
        TMain_Form& form = day.Form();
        QVERIFY(Peer(form).Tray_Hint_Text().isEmpty() && form.Tray_Icon()->Hint().isEmpty());
    }

    void Shutdown_Asks_Then_Ends_The_Day_Before_The_System_Goes_Down()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        day.Dialogs().Answer(2);
        form.Run_Command(Main_Form_Key::Shutdown);
        QCOMPARE(day.Dialogs().Questions.back().Text(), std::string("Shutdown_Icon_Source.bmp|35|7#|2|3"));
        QVERIFY(!form.Day_Ended() && day.Harness->Shell.Shutdown_Requests == 0);

        Point_At_Row(form, 2);
        Turn_Wheel(form, 1);
        bool day_saved_before_shutdown = false;
        day.Harness->Shell.Before_Shutdown = [&] {
            day_saved_before_shutdown =
                form.Day_Ended() && day.Stored_Records().size() == 4 &&
                Read_File(day.Directory.Path("Error_Log.log")).find("SAVE_ACTUAL_WORK_LOG - OK") != std::string::npos;
        };
        day.Dialogs().Answer(1);
        form.Run_Command(Main_Form_Key::Shutdown);
        QVERIFY(day.Harness->Shell.Shutdown_Requests == 1 && day_saved_before_shutdown);
        QVERIFY(!form.isVisible() && day.Harness->Quit_Requests == 1);
        QCOMPARE(day.Stored_Records()[2][Duration_Field], std::string("00:30"));
        QVERIFY(!day.Harness->Tray.Icon_Present);
    }

    void Closing_Ends_The_Day_Once()
    {
        Day_Fixture day;
        TMain_Form& form = day.Create();
        form.close();
        QVERIFY(form.Day_Ended());
        const std::string protocol = Read_File(day.Directory.Path("Error_Log.log"));
        QVERIFY(protocol.find("OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual") != std::string::npos);
        QVERIFY(protocol.find("SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " +
                              day.Directory.Directory_Path() + "Actual_Work_Log.log") != std::string::npos);
        // A second request (a signal after the close) changes nothing.
        QFile::remove(day.Directory.Path("Actual_Work_Log.log"));
        form.End_Day_And_Quit();
        QVERIFY(!QFile::exists(day.Directory.Path("Actual_Work_Log.log")));
        QCOMPARE(day.Harness->Quit_Requests, 1);
    }
};

QTEST_MAIN(Main_Form_Commands_Test)
#include "TMain_Form_Commands_test.moc"
