// How Qt's tray activations become the icon's notifications.
#include <QSystemTrayIcon>
#include <QtTest>
#include <vector>

#include "ui/tray/Qt_Tray_Shell.h"

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
};

QTEST_MAIN(Qt_Tray_Shell_Test)
#include "Qt_Tray_Shell_test.moc"
