// The tray icon over a recording tray: hint and balloon limits, click against double
// click, the icon's return after a tray restart, cycling, exit detection and the owner.
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <vector>

#include "ui/tray/Fake_Tray_Shell.h"
#include "ui/tray/Notification_Icon.h"

using N = Tray_Shell::Notification;

namespace
{
QIcon Icon_Of_Colour(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Counts of the events an icon raised.
struct Event_Log
{
    int Clicks = 0;
    int Double_Clicks = 0;
    std::vector<Qt::MouseButton> Downs;
    std::vector<Qt::MouseButton> Ups;
    int Enters = 0;
    int Exits = 0;
    int Balloon_Clicks = 0;

    void Attach(TNotificationIcon& icon, bool with_double_click)
    {
        icon.OnClick = [this](TNotificationIcon*) { ++Clicks; };
        if (with_double_click)
            icon.OnDblClick = [this](TNotificationIcon*) { ++Double_Clicks; };
        icon.OnMouseDown = [this](TNotificationIcon*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
            Downs.push_back(button);
        };
        icon.OnMouseUp = [this](TNotificationIcon*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
            Ups.push_back(button);
        };
        icon.OnMouseEnter = [this](TNotificationIcon*) { ++Enters; };
        icon.OnMouseExit = [this](TNotificationIcon*) { ++Exits; };
        icon.OnBalloonHintClick = [this](TNotificationIcon*) { ++Balloon_Clicks; };
    }
};
}

class Notification_Icon_Test : public QObject
{
    Q_OBJECT
private slots:
    void init() { QApplication::setDoubleClickInterval(150); }

    void Hint_Is_Cut_And_Withheld_While_Show_Hint_Is_Off();
    void Balloon_Title_And_Text_Are_Cut_And_The_Old_Balloon_Cleared();
    void Single_Click_Comes_After_The_Double_Click_Interval();
    void Double_Click_Gives_One_Press_And_No_Click();
    void Click_Is_Immediate_Without_A_Double_Click_Handler();
    void Visible_Icon_Returns_After_The_Tray_Restarts();
    void Disabled_Icon_Ignores_The_Mouse_But_Not_Balloons();
    void Right_Button_Release_Follows_The_Notify_Version();
    void Icon_Index_Is_Kept_Within_The_List_And_Cycles();
    void Pointer_Leaving_The_Icon_Raises_Exit();
    void Owner_Is_Hidden_Or_Minimised_And_Revealed();
    void Destroyed_Icon_Leaves_The_Tray();
};

void Notification_Icon_Test::Hint_Is_Cut_And_Withheld_While_Show_Hint_Is_Off()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    icon.SetIcon(Icon_Of_Colour(Qt::red));
    icon.SetIconVisible(true);
    QVERIFY(shell.Icon_Present);

    QString long_hint;
    for (int i = 0; i < 200; ++i)
        long_hint += QChar(u'a' + i % 26);
    long_hint[0] = QChar(0x010D);  // a Czech letter counts as one character
    icon.SetHint(long_hint);
    QCOMPARE(shell.Shown.Tip, long_hint.left(127));

    icon.SetShowHint(false);
    QVERIFY(shell.Shown.Tip.isEmpty());
    QCOMPARE(icon.Hint(), long_hint);

    icon.SetHint(QStringLiteral("Elapsed 1:05"));  // the hint changes while it is withheld
    QVERIFY(shell.Shown.Tip.isEmpty());
    icon.SetShowHint(true);
    QCOMPARE(shell.Shown.Tip, QStringLiteral("Elapsed 1:05"));
}

void Notification_Icon_Test::Balloon_Title_And_Text_Are_Cut_And_The_Old_Balloon_Cleared()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    icon.SetIconVisible(true);
    shell.Requests.clear();

    const QString title(100, QChar(u'T'));
    const QString text = QString(254, QChar(u'x')) + QStringLiteral("yz");
    QVERIFY(icon.DisplayBalloon(title, text, 1, 7));

    QCOMPARE(shell.Requests.size(), 2u);
    const Tray_Icon_Data& clearing = shell.Requests[0].Data;
    QVERIFY(clearing.Flags & Tray_Icon_Data::Info_Flag);
    QVERIFY(clearing.Balloon_Text.isEmpty());
    const Tray_Icon_Data& shown = shell.Requests[1].Data;
    QVERIFY(shown.Flags & Tray_Icon_Data::Info_Flag);
    QCOMPARE(shown.Balloon_Title, title.left(63));
    QCOMPARE(shown.Balloon_Text.size(), 255);
    QVERIFY(shown.Balloon_Text.endsWith(QLatin1Char('y')));
    QCOMPARE(shown.Balloon_Timeout_Ms, 7000u);
    QCOMPARE(shown.Balloon_Icon_Kind, std::uint8_t{1});
    QCOMPARE(shell.Balloons_Shown, 1);

    // Later updates do not bring the balloon back.
    icon.SetHint(QStringLiteral("later"));
    QVERIFY(!(shell.Shown.Flags & Tray_Icon_Data::Info_Flag));
    QCOMPARE(shell.Balloons_Shown, 1);

    // Without an icon in the tray the balloon is refused.
    icon.SetIconVisible(false);
    QVERIFY(!icon.DisplayBalloon(QStringLiteral("t"), QStringLiteral("x"), 0, 5));
}

void Notification_Icon_Test::Single_Click_Comes_After_The_Double_Click_Interval()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, true);

    QElapsedTimer clock;
    clock.start();
    shell.Send(N::Left_Button_Down);
    shell.Send(N::Left_Button_Up);
    QCOMPARE(log.Downs.size(), 1u);
    QCOMPARE(log.Ups.size(), 1u);
    QCOMPARE(log.Clicks, 0);
    QVERIFY(icon.Single_Click_Timer().Is_Running());
    QTRY_COMPARE_WITH_TIMEOUT(log.Clicks, 1, 2000);
    QVERIFY2(clock.elapsed() >= 140, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!icon.Single_Click_Timer().Is_Running());

    // A press held past the interval clicks on its release.
    shell.Send(N::Left_Button_Down);
    QTest::qWait(250);
    QCOMPARE(log.Clicks, 1);
    shell.Send(N::Left_Button_Up);
    QCOMPARE(log.Clicks, 2);
    QTest::qWait(200);
    QCOMPARE(log.Clicks, 2);
}

void Notification_Icon_Test::Double_Click_Gives_One_Press_And_No_Click()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, true);

    for (int round = 1; round <= 2; ++round)
    {
        shell.Send(N::Left_Button_Down);
        shell.Send(N::Left_Button_Up);
        shell.Send(N::Left_Button_Double_Click);
        shell.Send(N::Left_Button_Up);
        QCOMPARE(log.Double_Clicks, round);
        QTest::qWait(300);
        QCOMPARE(log.Clicks, 0);
        QCOMPARE(log.Downs.size(), static_cast<size_t>(round));
    }
    // After the double clicks a single click counts again.
    shell.Send(N::Left_Button_Down);
    shell.Send(N::Left_Button_Up);
    QTRY_COMPARE_WITH_TIMEOUT(log.Clicks, 1, 2000);
}

void Notification_Icon_Test::Click_Is_Immediate_Without_A_Double_Click_Handler()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, false);
    shell.Send(N::Left_Button_Down);
    QVERIFY(!icon.Single_Click_Timer().Is_Running());
    QCOMPARE(log.Clicks, 0);
    shell.Send(N::Left_Button_Up);
    QCOMPARE(log.Clicks, 1);
    // A release without a press is no click.
    shell.Send(N::Left_Button_Up);
    QCOMPARE(log.Clicks, 1);
}

void Notification_Icon_Test::Visible_Icon_Returns_After_The_Tray_Restarts()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    icon.SetHint(QStringLiteral("Zentavo Logger"));
    icon.SetIconVisible(true);
    shell.Restart_Tray();
    QVERIFY(shell.Icon_Present);
    QCOMPARE(shell.Shown.Tip, QStringLiteral("Zentavo Logger"));
    QCOMPARE(shell.Requests.back().Kind, Fake_Tray_Shell::Request_Kind::Add);

    // A tray that goes away and comes back later.
    shell.Set_Available(false);
    QVERIFY(!icon.Tray_Available());
    QVERIFY(!icon.UpdateTrayIcon());
    shell.Set_Available(true);
    QVERIFY(shell.Icon_Present);
    QVERIFY(icon.IconVisible());

    icon.SetIconVisible(false);
    QVERIFY(!shell.Icon_Present);
    const size_t requests = shell.Requests.size();
    shell.Restart_Tray();
    QVERIFY(!shell.Icon_Present);
    QCOMPARE(shell.Requests.size(), requests);
}

void Notification_Icon_Test::Disabled_Icon_Ignores_The_Mouse_But_Not_Balloons()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, false);
    icon.SetEnabled(false);
    shell.Send(N::Left_Button_Down);
    shell.Send(N::Left_Button_Up);
    shell.Send(N::Middle_Button_Down);
    shell.Send(N::Balloon_User_Click);
    QCOMPARE(log.Clicks, 0);
    QVERIFY(log.Downs.empty());
    QCOMPARE(log.Balloon_Clicks, 1);

    icon.SetEnabled(true);
    shell.Send(N::Middle_Button_Down);
    shell.Send(N::Middle_Button_Up);
    QCOMPARE(log.Downs, std::vector<Qt::MouseButton>{Qt::MiddleButton});
    QCOMPARE(log.Ups, std::vector<Qt::MouseButton>{Qt::MiddleButton});
}

void Notification_Icon_Test::Right_Button_Release_Follows_The_Notify_Version()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, false);
    // The real tray sends all three for one right click; each version takes one of them.
    const auto Right_Click = [&] {
        shell.Send(N::Right_Button_Down);
        shell.Send(N::Right_Button_Up);
        shell.Send(N::Context_Menu);
    };
    Right_Click();
    QCOMPARE(log.Ups.size(), 1u);
    icon.ApplyNotifyVersion(1);
    Right_Click();
    QCOMPARE(log.Ups.size(), 2u);
    QCOMPARE(log.Downs.size(), 2u);
    shell.Send(N::Key_Select);
    QCOMPARE(log.Ups.size(), 3u);
}

void Notification_Icon_Test::Icon_Index_Is_Kept_Within_The_List_And_Cycles()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    icon.SetIconVisible(true);
    const QList<QIcon> icons{Icon_Of_Colour(Qt::red), Icon_Of_Colour(Qt::green), Icon_Of_Colour(Qt::blue)};
    icon.SetIconIndex(2);
    QCOMPARE(icon.IconIndex(), 0);  // without a list

    icon.SetIconList(icons);
    icon.SetIconIndex(10);
    QCOMPARE(icon.IconIndex(), 2);
    QCOMPARE(shell.Shown.Icon.cacheKey(), icons[2].cacheKey());

    std::vector<int> next_indices;
    icon.OnCycle = [&](TNotificationIcon*, int next) { next_indices.push_back(next); };
    icon.SetCycleInterval(15);
    icon.SetCycleIcons(true);
    QCOMPARE(icon.IconIndex(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(next_indices.size() >= 4, 2000);
    icon.SetCycleIcons(false);
    QCOMPARE((std::vector<int>(next_indices.begin(), next_indices.begin() + 4)), (std::vector<int>{1, 2, 0, 1}));
    const size_t cycles = next_indices.size();
    QTest::qWait(60);
    QCOMPARE(next_indices.size(), cycles);
}

void Notification_Icon_Test::Pointer_Leaving_The_Icon_Raises_Exit()
{
    Fake_Tray_Shell shell;
    TNotificationIcon icon(shell);
    Event_Log log;
    log.Attach(icon, false);

    shell.Cursor = QPoint(5, 5);
    shell.Send(N::Mouse_Move);
    QCOMPARE(log.Enters, 0);  // not wanted yet

    icon.SetWantEnterExitEvents(true);
    shell.Cursor = QPoint(6, 5);
    shell.Send(N::Mouse_Move);
    shell.Send(N::Mouse_Move);
    QCOMPARE(log.Enters, 1);
    QTest::qWait(80);
    QCOMPARE(log.Exits, 0);  // the pointer rests on the icon

    shell.Cursor = QPoint(300, 5);
    QTRY_COMPARE_WITH_TIMEOUT(log.Exits, 1, 2000);
    QTest::qWait(60);
    QCOMPARE(log.Exits, 1);
    shell.Send(N::Mouse_Move);
    QCOMPARE(log.Enters, 2);
}

void Notification_Icon_Test::Owner_Is_Hidden_Or_Minimised_And_Revealed()
{
    Fake_Tray_Shell shell;
    QWidget owner;
    owner.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    auto* icon = new TNotificationIcon(shell, &owner);
    icon->SetIconVisible(true);

    icon->ConcealMainForm();
    QVERIFY(!owner.isVisible());
    icon->RevealMainForm();
    QVERIFY(owner.isVisible());

    // Without a tray the window could not come back from hiding.
    shell.Set_Available(false);
    QVERIFY(!icon->Tray_Available());
    icon->ConcealMainForm();
    QVERIFY(owner.isVisible());
    QVERIFY(owner.isMinimized());
    icon->RevealMainForm();
    QVERIFY(owner.isVisible());
    QVERIFY(!owner.isMinimized());

    // SendToTray puts the icon back as well.
    shell.Set_Available(true);
    icon->SetIconVisible(false);
    icon->SendToTray();
    QVERIFY(!owner.isVisible());
    QVERIFY(shell.Icon_Present);

    // A window that has a taskbar button loses it.
    QWidget plain;
    TNotificationIcon plain_icon(shell, &plain);
    plain_icon.HideAppButton();
    QVERIFY(plain.windowFlags() & Qt::Tool);
}

void Notification_Icon_Test::Destroyed_Icon_Leaves_The_Tray()
{
    Fake_Tray_Shell shell;
    auto icon = std::make_unique<TNotificationIcon>(shell);
    Event_Log log;
    log.Attach(*icon, true);
    icon->SetIconVisible(true);
    shell.Send(N::Left_Button_Down);  // its single-click timer is running
    icon.reset();
    QVERIFY(!shell.Icon_Present);
    // The tray may still send notifications for a moment.
    shell.Send(N::Left_Button_Up);
    shell.Restart_Tray();
    QVERIFY(!shell.Icon_Present);
    QTest::qWait(250);
    QCOMPARE(log.Clicks, 0);
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Notification_Icon_Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Notification_Icon_test.moc"
