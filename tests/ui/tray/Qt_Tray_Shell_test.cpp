// How Qt's tray activations become the icon's notifications.
#include "ui/tray/Qt_Tray_Shell.h"

#include <QSystemTrayIcon>
#include <QtTest>
#include <vector>

#include "support/Fake_Tray_Shell.h"
#include "ui/tray/Deferred_Tray_Shell.h"
#include "ui/tray/TNotificationIcon.h"

using N = Tray_Shell::Notification;

class Qt_Tray_Shell_Test : public QObject
{
    Q_OBJECT

private slots:
    void Activations_Become_Presses_And_Releases()
    {
        Qt_Tray_Shell shell;
        std::vector<N> seen;
        shell.Set_Notification_Handler([&](N notification) { seen.push_back(notification); });
        QSystemTrayIcon* icon = shell.findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(seen.empty());  // held back until the event is over
        QTRY_COMPARE(seen, (std::vector<N>{N::Left_Button_Down, N::Left_Button_Up}));
        // The second press and the double click come in one event, as X11 sends them.
        emit icon->activated(QSystemTrayIcon::Trigger);
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        emit icon->activated(QSystemTrayIcon::Context);
        emit icon->activated(QSystemTrayIcon::MiddleClick);
        emit icon->activated(QSystemTrayIcon::Unknown);
        emit icon->messageClicked();
        QTest::qWait(20);
        QCOMPARE(seen, (std::vector<N>{N::Left_Button_Down, N::Left_Button_Up, N::Left_Button_Double_Click,
                                       N::Left_Button_Up, N::Right_Button_Down, N::Right_Button_Up, N::Context_Menu,
                                       N::Middle_Button_Down, N::Middle_Button_Up, N::Balloon_User_Click}));
    }

    void The_Hint_Reaches_The_Tray_With_Its_Line_Breaks()
    {
        Qt_Tray_Shell shell;
        TNotificationIcon icon(shell);
        icon.SetIcon(QIcon(QPixmap(16, 16)));
        icon.SetIconVisible(true);
        // Language texts break lines with carriage returns, which Qt would draw as blanks.
        icon.SetHint(QStringLiteral("Zentavo Logger\rOd začátku dne: 01:00"));
        QSystemTrayIcon* tray_icon = shell.findChild<QSystemTrayIcon*>();
        QVERIFY(tray_icon);
        QCOMPARE(tray_icon->toolTip(), QStringLiteral("Zentavo Logger\nOd začátku dne: 01:00"));
        icon.SetHint(QStringLiteral("a\r\nb\rc"));
        QCOMPARE(tray_icon->toolTip(), QStringLiteral("a\nb\nc"));
    }

    void A_Deferred_Tray_Is_Made_On_The_First_Turn_With_The_Icon_Wanted_Meanwhile()
    {
        Fake_Tray_Shell* real = nullptr;
        Deferred_Tray_Shell shell([&] {
            auto made = std::make_unique<Fake_Tray_Shell>();
            real = made.get();
            return made;
        });
        std::vector<N> seen;
        shell.Set_Notification_Handler([&](N notification) { seen.push_back(notification); });
        Tray_Icon_Data data;
        data.Tip = QStringLiteral("first");
        QVERIFY(!shell.Modify_Icon(data));  // no icon to change yet
        QVERIFY(shell.Add_Icon(data));
        data.Tip = QStringLiteral("second");
        QVERIFY(shell.Modify_Icon(data));
        QVERIFY(!shell.Real_Shell_Created());
        QTRY_VERIFY(shell.Real_Shell_Created());
        QVERIFY(real->Icon_Present && real->Shown.Tip == QStringLiteral("second"));
        real->Send(N::Left_Button_Down);
        QCOMPARE(seen, std::vector<N>{N::Left_Button_Down});
        QVERIFY(shell.Delete_Icon() && !real->Icon_Present);
    }

    void Asking_For_The_Tray_Or_A_Balloon_Makes_The_Real_Tray_At_Once()
    {
        Fake_Tray_Shell* real = nullptr;
        Deferred_Tray_Shell shell([&] {
            auto made = std::make_unique<Fake_Tray_Shell>();
            made->Set_Available(false);
            real = made.get();
            return made;
        });
        QVERIFY(!shell.Is_Available() && shell.Real_Shell_Created());

        Deferred_Tray_Shell other([&] {
            auto made = std::make_unique<Fake_Tray_Shell>();
            real = made.get();
            return made;
        });
        QVERIFY(other.Add_Icon({}));
        Tray_Icon_Data balloon;
        balloon.Flags |= Tray_Icon_Data::Info_Flag;
        balloon.Balloon_Text = QStringLiteral("now");
        QVERIFY(other.Modify_Icon(balloon));
        QVERIFY(other.Real_Shell_Created() && real->Icon_Present && real->Balloons_Shown == 1);
    }
};

QTEST_MAIN(Qt_Tray_Shell_Test)
#include "Qt_Tray_Shell_test.moc"
