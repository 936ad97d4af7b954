#include "ui/tray/Qt_Tray_Shell.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

Qt_Tray_Shell::Qt_Tray_Shell(QObject* parent)
    : QObject(parent), Availability_Timer(Availability_Poll_Ms, [this](TLightTimer*) { Poll_Availability(); })
{
    connect(&Tray_Icon, &QSystemTrayIcon::activated, this, &Qt_Tray_Shell::Tray_Icon_Activated);
    connect(&Tray_Icon, &QSystemTrayIcon::messageClicked, this, [this] { Notify(Notification::Balloon_User_Click); });
    Was_Available = QSystemTrayIcon::isSystemTrayAvailable();
    // Qt reports no "TaskbarCreated"; a tray host that appears again is noticed by polling.
    Availability_Timer.Set_Running(true);
}

Qt_Tray_Shell::~Qt_Tray_Shell() = default;

QString Qt_Tray_Shell::Shown_Text(QString text)
{
    // The texts break their lines with a carriage return, which Qt draws as a blank.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void Qt_Tray_Shell::Apply(const Tray_Icon_Data& data)
{
    if (data.Flags & Tray_Icon_Data::Icon_Flag) Tray_Icon.setIcon(data.Icon);
    if (data.Flags & Tray_Icon_Data::Tip_Flag) Tray_Icon.setToolTip(Shown_Text(data.Tip));
}

bool Qt_Tray_Shell::Add_Icon(const Tray_Icon_Data& data)
{
    Apply(data);
    // Hiding first makes Qt dock the icon anew, which a restarted tray host needs.
    if (Tray_Icon.isVisible()) Tray_Icon.hide();
    Tray_Icon.show();
    Keep_Clicks_Through_Modal_Dialogs();
    return Is_Available();
}

void Qt_Tray_Shell::Keep_Clicks_Through_Modal_Dialogs()
{
    // In an XEmbed tray the icon is a window of Qt's own, which an open modal dialog blocks;
    // a click must still bring the main window and its dialog back (a dialog minimised by
    // its title bar takes the window along, and neither has a taskbar button). Qt lets a
    // dialog's own windows through, so the icon's window is made the blocking dialog's own.
    // A StatusNotifierItem host has no such window and is never blocked.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QSystemTrayIconSys") && window->windowHandle() != nullptr)
            window->windowHandle()->installEventFilter(this);
}

bool Qt_Tray_Shell::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowBlocked)
    {
        // After Qt has gone through all its windows for the dialog that has just opened.
        QMetaObject::invokeMethod(
            this,
            [icon_window = QPointer<QWindow>(qobject_cast<QWindow*>(watched))] {
                QWindow* dialog = QGuiApplication::modalWindow();
                if (icon_window && dialog != nullptr && dialog != icon_window) icon_window->setTransientParent(dialog);
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

bool Qt_Tray_Shell::Modify_Icon(const Tray_Icon_Data& data)
{
    if (!Tray_Icon.isVisible()) return false;
    Apply(data);
    // Qt cannot withdraw a balloon, so clearing one (an empty text) asks nothing of it.
    if ((data.Flags & Tray_Icon_Data::Info_Flag) && !data.Balloon_Text.isEmpty())
    {
        // Out-of-range time-outs get the usual ten seconds, as the Windows tray does.
        const int timeout_ms = data.Balloon_Timeout_Ms >= 1000 && data.Balloon_Timeout_Ms <= 60000
                                   ? static_cast<int>(data.Balloon_Timeout_Ms)
                                   : 10000;
        const QString title = Shown_Text(data.Balloon_Title);
        const QString text = Shown_Text(data.Balloon_Text);
        if (data.Balloon_Icon_Kind == 4) Tray_Icon.showMessage(title, text, data.Icon, timeout_ms);
        else
        {
            QSystemTrayIcon::MessageIcon kind = QSystemTrayIcon::NoIcon;
            if (data.Balloon_Icon_Kind == 1) kind = QSystemTrayIcon::Information;
            else if (data.Balloon_Icon_Kind == 2) kind = QSystemTrayIcon::Warning;
            else if (data.Balloon_Icon_Kind == 3) kind = QSystemTrayIcon::Critical;
            Tray_Icon.showMessage(title, text, kind, timeout_ms);
        }
    }
    return Is_Available();
}

bool Qt_Tray_Shell::Delete_Icon()
{
    const bool was_visible = Tray_Icon.isVisible();
    Tray_Icon.hide();
    return was_visible;
}

bool Qt_Tray_Shell::Is_Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

QPoint Qt_Tray_Shell::Cursor_Position() const { return QCursor::pos(); }

Qt::KeyboardModifiers Qt_Tray_Shell::Keyboard_Modifiers() const { return QGuiApplication::queryKeyboardModifiers(); }

// Qt reports presses only, not releases, so each activation becomes a whole press and
// release of its button:
//   Trigger      -> Left_Button_Down, Left_Button_Up
//   DoubleClick  -> Left_Button_Double_Click, Left_Button_Up
//   Context      -> Right_Button_Down, Right_Button_Up, Context_Menu (the icon takes the
//                   one that fits its notify version)
//   MiddleClick  -> Middle_Button_Down, Middle_Button_Up
//   Unknown      -> nothing
// On X11 the second press of a double click arrives as a Trigger immediately followed by
// DoubleClick in the same event; a Trigger is therefore held back until the event is over
// and dropped when DoubleClick follows, so a double click gives one press, as the tray of
// Windows does.
void Qt_Tray_Shell::Tray_Icon_Activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason)
    {
    case QSystemTrayIcon::Trigger:
        if (!Trigger_Pending)
        {
            Trigger_Pending = true;
            QMetaObject::invokeMethod(this, &Qt_Tray_Shell::Deliver_Pending_Trigger, Qt::QueuedConnection);
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        Trigger_Pending = false;
        Notify(Notification::Left_Button_Double_Click);
        Notify(Notification::Left_Button_Up);
        break;
    case QSystemTrayIcon::Context:
        Notify(Notification::Right_Button_Down);
        Notify(Notification::Right_Button_Up);
        Notify(Notification::Context_Menu);
        break;
    case QSystemTrayIcon::MiddleClick:
        Notify(Notification::Middle_Button_Down);
        Notify(Notification::Middle_Button_Up);
        break;
    case QSystemTrayIcon::Unknown: break;
    }
}

void Qt_Tray_Shell::Deliver_Pending_Trigger()
{
    if (!Trigger_Pending) return;
    Trigger_Pending = false;
    Notify(Notification::Left_Button_Down);
    Notify(Notification::Left_Button_Up);
}

void Qt_Tray_Shell::Poll_Availability()
{
    const bool available = Is_Available();
    const bool appeared = available && !Was_Available;
    Was_Available = available;
    if (appeared) Notify_Tray_Created();
}
