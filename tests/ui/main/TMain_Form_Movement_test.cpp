// The main window's fades into and out of the tray, its answers to the tray icon and to a
// second start, and dragging it by hand inside or across the work area.
#include <QMouseEvent>

#include "Main_Form_Test_Support.h"
#include "ui/controls/Work_Area.h"
#include "ui/tray/TNotificationIcon.h"

namespace
{
// A day with two user records; the fade timer is held back so that the test plays its ticks.
struct Window_Fixture : Started_Main_Form
{
    explicit Window_Fixture(const std::vector<std::string>& setup_lines = {}, bool tray_available = true)
        : Started_Main_Form(setup_lines, [tray_available](Started_Main_Form& start) {
              start.Directory.Write_Day_Log(
                  {Make_Record("Thu", start.Harness->Today(), "08:00 - 08:00", "TOTAL", "00:00", ""),
                   Make_Record("", "", "", "U", "00:00", ""), Make_Record("", "", "", "A", "00:20", ""),
                   Make_Record("", "", "", "B", "00:30", "")});
              start.Harness->Tray.Set_Available(tray_available);
          })
    {
        if (Form().Show_Main_Form()) Form().show();
        QCOMPARE(Peer(Form()).Fader().Effect_Timer_Of_Main_Form().interval(), 30);
        Peer(Form()).Fader().Effect_Timer_Of_Main_Form().setInterval(24 * 3600 * 1000);
    }

    // Plays fade ticks until the fade ends; gives the values the window took.
    std::vector<int> Run_Fade(int limit = 40)
    {
        std::vector<int> values;
        while (Form().Is_Fading() && int(values.size()) < limit)
        {
            Peer(Form()).Fader().Effect_TimerTimer();
            values.push_back(Peer(Form()).Fader().Alpha_Blend_Value());
        }
        return values;
    }
};

std::vector<int> Arithmetic_Run(int first, int step, int count)
{
    std::vector<int> values;
    for (int index = 0; index < count; ++index) values.push_back(first + index * step);
    return values;
}

void Send_Mouse(QWidget& target, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local = target.mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

// Presses on the target at a point of it, drags by the given distance and releases.
void Drag(QWidget& target, QPoint local_start, QPoint distance, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint start = target.mapToGlobal(local_start);
    Send_Mouse(target, QEvent::MouseButtonPress, start, button, button);
    Send_Mouse(target, QEvent::MouseMove, start + distance / 2, Qt::NoButton, button);
    Send_Mouse(target, QEvent::MouseMove, start + distance, Qt::NoButton, button);
    Send_Mouse(target, QEvent::MouseButtonRelease, start + distance, button, Qt::NoButton);
}
}  // namespace

class Main_Form_Movement_Test : public QObject
{
    Q_OBJECT

private slots:
    void Default_Transparency_Fades_Out_In_Twelve_Ticks_And_In_In_Eleven()
    {
        Window_Fixture window;
        TMain_Form& form = window.Form();
        QVERIFY(Peer(form).Fader().Alpha_Blend());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 235);

        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(form.Is_Fading() && !Peer(form).Fader().Fading_In() && form.isVisible());
        std::vector<int> values = window.Run_Fade();
        QCOMPARE(values, Arithmetic_Run(216, -19, 12));  // 235 falls by 19 to 7
        QVERIFY(!form.Is_Fading() && !form.isVisible());
        QVERIFY(form.Tray_Icon()->ShowHint() && !window.Harness->Tray.Shown.Tip.isEmpty());

        window.Harness->Tray.Send(Tray_Shell::Notification::Left_Button_Down);
        QVERIFY(form.Is_Fading() && Peer(form).Fader().Fading_In() && form.isVisible());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 15);
        QVERIFY(!form.Tray_Icon()->ShowHint() && window.Harness->Tray.Shown.Tip.isEmpty());
        values = window.Run_Fade();
        // 34 ... 205, then 224 reaches 220 and the window settles at its resting 235.
        std::vector<int> expected = Arithmetic_Run(34, 19, 10);
        expected.push_back(235);
        QCOMPARE(values, expected);
        QVERIFY(Peer(form).Fader().Alpha_Blend());
        QCOMPARE(form.windowOpacity(), 235 / 255.0);
    }

    void Zero_Transparency_Fades_With_Blending_Switched_On_And_Off()
    {
        Window_Fixture window({"Visual:Main_Form_Transparency=0"});
        TMain_Form& form = window.Form();
        QVERIFY(!Peer(form).Fader().Alpha_Blend());
        QCOMPARE(form.windowOpacity(), 1.0);

        form.Run_Command(Main_Form_Key::Minimize);
        QVERIFY(Peer(form).Fader().Alpha_Blend());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 255);
        QCOMPARE(window.Run_Fade(), Arithmetic_Run(234, -21, 12));  // ... 24, then 3
        QVERIFY(!form.isVisible());

        form.Restore_Request();
        std::vector<int> values = window.Run_Fade();
        QCOMPARE(values, Arithmetic_Run(36, 21, 11));  // ends at 246
        QVERIFY(!Peer(form).Fader().Alpha_Blend());
        QCOMPARE(form.windowOpacity(), 1.0);

        // The next fade-out starts from where the fade-in stopped.
        QTest::mouseDClick(&form, Qt::LeftButton, Qt::NoModifier, QPoint(700, 15));
        QVERIFY(Peer(form).Fader().Alpha_Blend());
        values = window.Run_Fade();
        QCOMPARE(values, Arithmetic_Run(225, -21, 11));  // ... 15
        QVERIFY(!form.isVisible());
    }

    void Every_Transparency_Ends_Both_Fades_At_Its_Resting_Opacity()
    {
        Window_Fixture window;
        TMain_Form& form = window.Form();
        for (int transparency = 0; transparency <= 255; ++transparency)
        {
            form.Settings_Of_Main_Form().Main_Form_Transparency = std::uint8_t(transparency);
            form.Set_Alpha_Blend(transparency > 0, std::uint8_t(255 - transparency));
            Peer(form).Fade_Out_To_Tray();
            window.Run_Fade();
            QVERIFY2(!form.Is_Fading() && !form.isVisible(), qPrintable(QString::number(transparency)));
            Peer(form).Fader().Fade_In();
            window.Run_Fade();
            QVERIFY2(!form.Is_Fading() && form.isVisible(), qPrintable(QString::number(transparency)));
            if (transparency == 0) QVERIFY(!Peer(form).Fader().Alpha_Blend());
            else QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 255 - transparency);
        }
    }

    void Commands_Wait_For_The_Fade_While_The_Minute_Timer_And_Highlight_Go_On()
    {
        Window_Fixture window({"Full_Time_Value=61"});
        TMain_Form& form = window.Form();
        Peer(form).Fade_Out_To_Tray();
        Peer(form).Fader().Effect_TimerTimer();
        const int value = Peer(form).Fader().Alpha_Blend_Value();

        QTest::keyClick(&form, Qt::Key_S);
        QTest::keyClick(&form, Qt::Key_Return);
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::mouseClick(&form, Qt::RightButton, Qt::NoModifier, QPoint(700, 15));
        QTest::mouseDClick(&form, Qt::LeftButton, Qt::NoModifier, QPoint(700, 15));
        form.Restore_Request();
        window.Harness->Tray.Send(Tray_Shell::Notification::Left_Button_Down);
        window.Harness->Tray.Send(Tray_Shell::Notification::Left_Button_Double_Click);
        const QPoint before = form.pos();
        Drag(form, QPoint(400, 20), QPoint(40, 40));
        QVERIFY(window.Harness->Setup_Openings == 0 && Peer(form).Button_Bar_Height() == 0 &&
                !Peer(form).Fader().Fading_In());
        QCOMPARE(form.pos(), before);
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), value);

        // The table still follows the pointer, and the minute still turns.
        QWidget* grid = Peer(form).Data_Grid();
        const QPointF over_row_2(100, 17 * 2 + 5);
        QMouseEvent move(QEvent::MouseMove, over_row_2, grid->mapToGlobal(over_row_2), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid, &move);
        QCOMPARE(int(Peer(form).Data_Grid()->Highlighted_Row()), 2);
        window.Harness->Clock.Advance_Minutes(1);
        Peer(form).Update_TimerTimer();
        QVERIFY(Peer(form).Tray_Hint_Text() == "Elapsed\r01:01" && window.Harness->Tray.Balloons_Shown == 1);

        window.Run_Fade();
        QVERIFY(!form.isVisible());
        // After the window was away a command key acts at once.
        form.Restore_Request();
        window.Run_Fade();
        QTest::keyClick(&form, Qt::Key_S);
        QCOMPARE(window.Harness->Setup_Openings, 1);
    }

    void A_Tray_Press_Brings_The_Window_Forward_And_A_Double_Click_Puts_It_Away()
    {
        Window_Fixture window;
        TMain_Form& form = window.Form();
        Fake_Tray_Shell& tray = window.Harness->Tray;

        // Shown: a press only brings the window to the front.
        tray.Send(Tray_Shell::Notification::Left_Button_Down);
        tray.Send(Tray_Shell::Notification::Left_Button_Up);
        tray.Send(Tray_Shell::Notification::Right_Button_Down);
        QVERIFY(!form.Is_Fading() && form.isVisible());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 235);

        // A dialog of the window keeps it from being put away.
        bool fading_seen = true;
        const auto double_click_now = [&] {
            Peer(form).Tray_IconDblClick();
            fading_seen = form.Is_Fading();
        };
        window.Harness->While_Editor_Open = double_click_now;
        QTest::keyClick(&form, Qt::Key_A);
        QVERIFY(!fading_seen);
        fading_seen = true;
        window.Harness->While_Setup_Open = double_click_now;
        QTest::keyClick(&form, Qt::Key_S);
        QVERIFY(!fading_seen);
        fading_seen = true;
        window.Harness->Dialogs->While_Open = double_click_now;
        window.Harness->Dialogs->Answer(2);
        Peer(form).Data_Grid()->Set_Highlighted_Row(2);
        form.Run_Command(Main_Form_Key::Delete_Highlighted_Record);
        QVERIFY(!fading_seen);
        QVERIFY(window.Harness->Editor_Openings.size() == 1 && window.Harness->Setup_Openings == 1);

        tray.Send(Tray_Shell::Notification::Left_Button_Double_Click);
        QVERIFY(form.Is_Fading() && !Peer(form).Fader().Fading_In());
        window.Run_Fade();
        QVERIFY(!form.isVisible());

        // Hidden: a double click alone does nothing; the press before it fades the window in.
        Peer(form).Tray_IconDblClick();
        QVERIFY(!form.Is_Fading());
        tray.Send(Tray_Shell::Notification::Left_Button_Down);
        tray.Send(Tray_Shell::Notification::Left_Button_Up);
        tray.Send(Tray_Shell::Notification::Left_Button_Double_Click);
        QVERIFY(form.Is_Fading() && Peer(form).Fader().Fading_In());
        window.Run_Fade();
        QVERIFY(form.isVisible());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 235);
    }

    void Only_The_Left_Double_Click_On_The_Background_Or_Title_Puts_The_Window_Away()
    {
        Window_Fixture window;
        TMain_Form& form = window.Form();
        const auto double_click = [](QWidget& target, Qt::MouseButton button) {
            const QPoint global = target.mapToGlobal(QPoint(5, 5));
            Send_Mouse(target, QEvent::MouseButtonPress, global, button, button);
            Send_Mouse(target, QEvent::MouseButtonRelease, global, button, Qt::NoButton);
            Send_Mouse(target, QEvent::MouseButtonDblClick, global, button, button);
            Send_Mouse(target, QEvent::MouseButtonRelease, global, button, Qt::NoButton);
        };
        // Two quick right clicks toggle the bar twice, on the background and on the title.
        double_click(form, Qt::RightButton);
        QVERIFY(!form.Is_Fading() && Peer(form).Button_Bar_Height() == 0);
        Send_Mouse(form, QEvent::MouseButtonPress, form.mapToGlobal(QPoint(5, 5)), Qt::RightButton, Qt::RightButton);
        double_click(*Peer(form).Title_Label(), Qt::RightButton);
        QVERIFY(!form.Is_Fading() && Peer(form).Button_Bar_Height() == 30);
        double_click(form, Qt::MiddleButton);
        QVERIFY(!form.Is_Fading());

        // The testing panel has its mouse-down only.
        QTest::keyClicks(&form, QStringLiteral("qzv"));
        QVERIFY(Peer(form).Testing().Active());
        double_click(Peer(form).Testing().Panel_Of_Window(), Qt::LeftButton);
        QVERIFY(!form.Is_Fading());
        Peer(form).Testing().Exit();

        double_click(*Peer(form).Title_Label(), Qt::LeftButton);
        QVERIFY(form.Is_Fading() && !Peer(form).Fader().Fading_In());
        window.Run_Fade();
        QVERIFY(!form.isVisible());
        form.Restore_Request();
        window.Run_Fade();
        double_click(form, Qt::LeftButton);
        QVERIFY(form.Is_Fading() && !Peer(form).Fader().Fading_In());
    }

    void Without_A_Tray_The_Window_Is_Minimised_And_A_Second_Start_Brings_It_Back()
    {
        Window_Fixture window({"Minimize_To_Tray_After_Start=1"}, false);
        TMain_Form& form = window.Form();
        QVERIFY(form.isVisible());
        QTest::keyClick(&form, Qt::Key_Escape);
        window.Run_Fade();
        QVERIFY(form.isMinimized() && !form.Is_Showing());
        // A double click on the icon of a minimised window does not start a fade.
        Peer(form).Tray_IconDblClick();
        QVERIFY(!form.Is_Fading());
        form.Restore_Request();
        QVERIFY(Peer(form).Fader().Fading_In());
        window.Run_Fade();
        QVERIFY(form.Is_Showing());
        QCOMPARE(int(Peer(form).Fader().Alpha_Blend_Value()), 235);
    }

    void Dragging_Keeps_The_Window_Inside_The_Work_Area_When_Restricted()
    {
        const QRect work_area = Primary_Work_Area();
        Window_Fixture window({"Form_Movement_Restrictions=1", "Visual:Main_Form_Left=20", "Visual:Main_Form_Top=100"});
        TMain_Form& form = window.Form();
        QCOMPARE(form.pos(), QPoint(20, 100));
        QVERIFY(work_area.width() >= 755 + 30);

        Drag(form, QPoint(400, 20), QPoint(10, -20));
        QCOMPARE(form.pos(), QPoint(30, 80));
        Drag(form, QPoint(400, 20), QPoint(-5000, -5000));
        QCOMPARE(form.pos(), work_area.topLeft());
        // By the title, with the middle button, towards the bottom right.
        Drag(*Peer(form).Title_Label(), QPoint(5, 5), QPoint(5000, 5000), Qt::MiddleButton);
        QCOMPARE(form.geometry().bottomRight(), work_area.bottomRight());

        // A window taller than the work area keeps its bottom edge on the area's bottom.
        form.resize(form.width(), work_area.height() + 100);
        Drag(form, QPoint(400, 20), QPoint(-5000, -5000));
        QCOMPARE(form.x(), work_area.x());
        QCOMPARE(form.geometry().bottom(), work_area.bottom());
    }

    void Dragging_Is_Free_Without_Restriction_And_Off_With_An_Anchor()
    {
        Window_Fixture free_window({"Visual:Main_Form_Left=100", "Visual:Main_Form_Top=100"});
        TMain_Form& free_form = free_window.Form();
        Drag(free_form, QPoint(400, 20), QPoint(-300, -250));
        QCOMPARE(free_form.pos(), QPoint(-200, -150));
        // Moving the pointer after the release moves nothing.
        Send_Mouse(free_form, QEvent::MouseMove, free_form.mapToGlobal(QPoint(50, 50)), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(free_form.pos(), QPoint(-200, -150));

        Window_Fixture anchored({"Visual:Main_Form_Anchor=1"});
        TMain_Form& anchored_form = anchored.Form();
        const QPoint corner = anchored_form.pos();
        Drag(anchored_form, QPoint(400, 20), QPoint(200, 200));
        QCOMPARE(anchored_form.pos(), corner);
        QTest::mouseClick(Peer(anchored_form).Title_Label(), Qt::RightButton);
        QCOMPARE(Peer(anchored_form).Button_Bar_Height(), 30);
    }

    void A_Move_By_Hand_Forgets_That_The_Bar_Pushed_The_Window_Up()
    {
        const QRect work_area = Primary_Work_Area();
        const int top = work_area.height() - (4 * 17 + 52) - 10;
        Window_Fixture window({"Visual:Main_Form_Left=50", "Visual:Main_Form_Top=" + std::to_string(top)});
        TMain_Form& form = window.Form();
        // The bar at the bottom pushes the window up, and back when it goes.
        const int pushed_top = work_area.height() - (4 * 17 + 52) - 30;
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        QVERIFY(Peer(form).Moved_For_Bar() && form.y() == pushed_top);
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        QVERIFY(!Peer(form).Moved_For_Bar() && form.y() == top);
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);

        Drag(form, QPoint(400, 20), QPoint(0, -7));
        QVERIFY(!Peer(form).Moved_For_Bar());
        QCOMPARE(form.y(), pushed_top - 7);
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        QCOMPARE(form.y(), pushed_top - 7);

        // Even a move that the restriction cancels counts as a move.
        form.move(form.x(), top);
        form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        QVERIFY(Peer(form).Moved_For_Bar());
        Peer(form).Form_Moving(form.geometry());
        QVERIFY(!Peer(form).Moved_For_Bar());
    }
};

QTEST_MAIN(Main_Form_Movement_Test)
#include "TMain_Form_Movement_test.moc"
