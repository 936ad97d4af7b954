// How Qt's tray activations become the icon's notifications.
#include <QApplication>
#include <QSystemTrayIcon>
#include <QtTest>
#include <vector>

#include "ui/tray/Qt_Tray_Shell.h"

using N = Tray_Shell::Notification;

class Qt_Tray_Shell_Test : public QObject
{
    Q_OBJECT
private slots:
    void Activations_Become_Press_And_Release();
    void Double_Click_Swallows_The_Press_That_Came_With_It();
};

namespace
{
QSystemTrayIcon* Tray_Icon_Of(Qt_Tray_Shell& shell)
{
    auto* icon = shell.findChild<QSystemTrayIcon*>();
    Q_ASSERT(icon != nullptr);
    return icon;
}
}

void Qt_Tray_Shell_Test::Activations_Become_Press_And_Release()
{
    Qt_Tray_Shell shell;
    std::vector<N> seen;
    shell.Set_Notification_Handler([&](N notification) { seen.push_back(notification); });
    QSystemTrayIcon* icon = Tray_Icon_Of(shell);

    emit icon->activated(QSystemTrayIcon::Trigger);
    QVERIFY(seen.empty());  // held back until the event is over
    QTRY_COMPARE(seen, (std::vector<N>{N::Left_Button_Down, N::Left_Button_Up}));

    seen.clear();
    emit icon->activated(QSystemTrayIcon::Context);
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    emit icon->activated(QSystemTrayIcon::Unknown);
    QCOMPARE(seen, (std::vector<N>{N::Right_Button_Down, N::Right_Button_Up, N::Context_Menu,
                                   N::Middle_Button_Down, N::Middle_Button_Up}));

    seen.clear();
    emit icon->messageClicked();
    QCOMPARE(seen, std::vector<N>{N::Balloon_User_Click});
}

void Qt_Tray_Shell_Test::Double_Click_Swallows_The_Press_That_Came_With_It()
{
    Qt_Tray_Shell shell;
    std::vector<N> seen;
    shell.Set_Notification_Handler([&](N notification) { seen.push_back(notification); });
    QSystemTrayIcon* icon = Tray_Icon_Of(shell);

    // First press, then the second press and the double click in one event, as X11 sends them.
    emit icon->activated(QSystemTrayIcon::Trigger);
    QCoreApplication::processEvents();
    emit icon->activated(QSystemTrayIcon::Trigger);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    QTest::qWait(20);
    QCOMPARE(seen, (std::vector<N>{N::Left_Button_Down, N::Left_Button_Up, N::Left_Button_Double_Click,
                                   N::Left_Button_Up}));
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Qt_Tray_Shell_Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Qt_Tray_Shell_test.moc"
