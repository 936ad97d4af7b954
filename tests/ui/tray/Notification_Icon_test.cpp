// The tray icon over a recording tray: hint and balloon limits, click against double
// click, the icon's return after a tray restart, cycling, exit detection and the owner.
#include <QElapsedTimer>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <vector>

#include "support/Fake_Tray_Shell.h"
#include "ui/tray/TNotificationIcon.h"

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
    int Clicks = 0, Double_Clicks = 0, Enters = 0, Exits = 0, Balloon_Clicks = 0;
    std::vector<Qt::MouseButton> Downs, Ups;

    void Attach(TNotificationIcon& icon, bool with_double_click)
    {
        icon.OnClick = [this](TNotificationIcon*) {
            ++Clicks;
        };
        if (with_double_click)
            icon.OnDblClick = [this](TNotificationIcon*) {
                ++Double_Clicks;
            };
        icon.OnMouseDown = [this](TNotificationIcon*, Qt::MouseButton button, auto, int, int) {
            Downs.push_back(button);
        };
        icon.OnMouseUp = [this](TNotificationIcon*, Qt::MouseButton button, auto, int, int) {
            Ups.push_back(button);
        };
        icon.OnMouseEnter = [this](TNotificationIcon*) {
            ++Enters;
        };
        icon.OnMouseExit = [this](TNotificationIcon*) {
            ++Exits;
        };
        icon.OnBalloonHintClick = [this](TNotificationIcon*) {
            ++Balloon_Clicks;
        };
    }
};
}  // namespace

class Notification_Icon_Test : public QObject
{
    Q_OBJECT
private slots:
    void init() { QApplication::setDoubleClickInterval(150); }

    void Hint_Is_Cut_And_Withheld_While_Show_Hint_Is_Off()
    {
        Fake_Tray_Shell shell;
        TNotificationIcon icon(shell);
        icon.SetIcon(Icon_Of_Colour(Qt::red));
        icon.SetIconVisible(true);
        QVERIFY(shell.Icon_Present);

        QString long_hint;
        for (int i = 0; i < 200; ++i) long_hint += QChar(u'a' + i % 26);
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

    void Balloon_Title_And_Text_Are_Cut_And_The_Old_Balloon_Cleared()
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
        QVERIFY((clearing.Flags & Tray_Icon_Data::Info_Flag) && clearing.Balloon_Text.isEmpty());
        const Tray_Icon_Data& shown = shell.Requests[1].Data;
        QVERIFY(shown.Flags & Tray_Icon_Data::Info_Flag);
        QCOMPARE(shown.Balloon_Title, title.left(63));
        QCOMPARE(shown.Balloon_Text, text.left(255));
        QVERIFY(shown.Balloon_Timeout_Ms == 7000u && shown.Balloon_Icon_Kind == 1);
        QCOMPARE(shell.Balloons_Shown, 1);

        // Later updates do not bring the balloon back.
        icon.SetHint(QStringLiteral("later"));
        QVERIFY(!(shell.Shown.Flags & Tray_Icon_Data::Info_Flag));
        QCOMPARE(shell.Balloons_Shown, 1);

        // Without an icon in the tray the balloon is refused.
        icon.SetIconVisible(false);
        QVERIFY(!icon.DisplayBalloon(QStringLiteral("t"), QStringLiteral("x"), 0, 5));
    }

    void A_Click_Waits_For_The_Double_Click_Interval_Only_With_A_Double_Click_Handler()
    {
        Fake_Tray_Shell shell;
        TNotificationIcon icon(shell);
        Event_Log log;
        log.Attach(icon, true);
        QElapsedTimer clock;
        clock.start();
        shell.Send(N::Left_Button_Down);
        shell.Send(N::Left_Button_Up);
        QVERIFY(log.Downs.size() == 1u && log.Ups.size() == 1u && log.Clicks == 0);
        QTRY_COMPARE_WITH_TIMEOUT(log.Clicks, 1, 2000);
        QVERIFY2(clock.elapsed() >= 140, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!icon.Single_Click_Timer().Is_Running());

        // A press held past the interval clicks on its release.
        shell.Send(N::Left_Button_Down);
        QTest::qWait(250);
        QCOMPARE(log.Clicks, 1);
        shell.Send(N::Left_Button_Up);
        QCOMPARE(log.Clicks, 2);

        // A double click gives one press and no click, twice over.
        for (int round = 1; round <= 2; ++round)
        {
            for (N notification :
                 {N::Left_Button_Down, N::Left_Button_Up, N::Left_Button_Double_Click, N::Left_Button_Up})
                shell.Send(notification);
            QCOMPARE(log.Double_Clicks, round);
            QTest::qWait(300);
            QVERIFY(log.Clicks == 2 && log.Downs.size() == std::size_t(2 + round));
        }

        // Without a double-click handler the click comes on the release; a lone release is none.
        icon.OnDblClick = nullptr;
        shell.Send(N::Left_Button_Down);
        QVERIFY(!icon.Single_Click_Timer().Is_Running());
        shell.Send(N::Left_Button_Up);
        QCOMPARE(log.Clicks, 3);
        shell.Send(N::Left_Button_Up);
        QCOMPARE(log.Clicks, 3);
    }

    void Visible_Icon_Returns_After_The_Tray_Restarts()
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
        QVERIFY(!icon.Tray_Available() && !icon.UpdateTrayIcon());
        shell.Set_Available(true);
        QVERIFY(shell.Icon_Present && icon.IconVisible());

        icon.SetIconVisible(false);
        QVERIFY(!shell.Icon_Present);
        const size_t requests = shell.Requests.size();
        shell.Restart_Tray();
        QVERIFY(!shell.Icon_Present);
        QCOMPARE(shell.Requests.size(), requests);
    }

    void Disabled_Icon_Ignores_The_Mouse_And_The_Right_Release_Follows_The_Notify_Version()
    {
        Fake_Tray_Shell shell;
        TNotificationIcon icon(shell);
        Event_Log log;
        log.Attach(icon, false);
        icon.SetEnabled(false);
        for (N notification : {N::Left_Button_Down, N::Left_Button_Up, N::Middle_Button_Down, N::Balloon_User_Click})
            shell.Send(notification);
        QVERIFY(log.Clicks == 0 && log.Downs.empty() && log.Balloon_Clicks == 1);
        icon.SetEnabled(true);

        // The real tray sends all three for one right click; each version takes one of them.
        const auto right_click = [&] {
            for (N notification : {N::Right_Button_Down, N::Right_Button_Up, N::Context_Menu}) shell.Send(notification);
        };
        right_click();
        QCOMPARE(log.Ups.size(), 1u);
        icon.ApplyNotifyVersion(1);
        right_click();
        shell.Send(N::Key_Select);
        shell.Send(N::Middle_Button_Down);
        shell.Send(N::Middle_Button_Up);
        QCOMPARE(log.Downs, (std::vector<Qt::MouseButton>{Qt::RightButton, Qt::RightButton, Qt::MiddleButton}));
        QCOMPARE(log.Ups,
                 (std::vector<Qt::MouseButton>{Qt::RightButton, Qt::RightButton, Qt::RightButton, Qt::MiddleButton}));
    }

    void Icon_Index_Is_Kept_Within_The_List_And_Cycles()
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
        icon.OnCycle = [&](TNotificationIcon*, int next) {
            next_indices.push_back(next);
        };
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

    void Pointer_Leaving_The_Icon_Raises_Exit()
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

    void Owner_Is_Hidden_Or_Minimised_And_Revealed()
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
        QVERIFY(owner.isVisible() && owner.isMinimized());
        icon->RevealMainForm();
        QVERIFY(owner.isVisible() && !owner.isMinimized());

        // SendToTray puts the icon back as well.
        shell.Set_Available(true);
        icon->SetIconVisible(false);
        icon->SendToTray();
        QVERIFY(!owner.isVisible() && shell.Icon_Present);

        // A window that has a taskbar button loses it.
        QWidget plain;
        TNotificationIcon plain_icon(shell, &plain);
        plain_icon.HideAppButton();
        QVERIFY(plain.windowFlags() & Qt::Tool);
    }

    void Destroyed_Icon_Leaves_The_Tray()
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
};

QTEST_MAIN(Notification_Icon_Test)
#include "Notification_Icon_test.moc"
