#include "ui/tray/TNotificationIcon.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMetaObject>
#include <QWidget>
#include <limits>

TNotificationIcon::TNotificationIcon(Tray_Shell& shell, QWidget* owner)
    : QObject(owner), Shell(shell), Owner(owner), PointerExitTimer(Pointer_Exit_Period_Ms, nullptr)
{
    IconCycleTimer.Set_Tick_Handler([this](TLightTimer*) { Cycle_Step(); });
    SingleClickTimer.Set_Tick_Handler([this](TLightTimer*) { Single_Click_Expired(); });
    PointerExitTimer.Set_Tick_Handler([this](TLightTimer*) { Pointer_Exit_Check(); });
    Shell.Set_Notification_Handler(
        [this](Tray_Shell::Notification notification) { Handle_Notification(notification); });
    Shell.Set_Tray_Created_Handler([this] { Tray_Created(); });
    if (Owner) Owner->installEventFilter(this);
}

TNotificationIcon::~TNotificationIcon()
{
    SetIconVisible(false);
    // The shell outlives the icon and must not call into it any more.
    Shell.Set_Notification_Handler(nullptr);
    Shell.Set_Tray_Created_Handler(nullptr);
    if (Owner) Owner->removeEventFilter(this);
}

void TNotificationIcon::Fill_Icon_Data()
{
    Notify_Data.Icon = Icon_Value;
    Notify_Data.Tip = Show_Hint_Value ? Hint_Value.left(Max_Hint_Length) : QString();
}

bool TNotificationIcon::AddTrayIcon()
{
    Icon_Visible_Value = true;
    Fill_Icon_Data();
    return Shell.Add_Icon(Notify_Data);
}

bool TNotificationIcon::RemoveTrayIcon()
{
    Icon_Visible_Value = false;
    Fill_Icon_Data();
    return Shell.Delete_Icon();
}

bool TNotificationIcon::UpdateTrayIcon()
{
    Fill_Icon_Data();
    return Shell.Modify_Icon(Notify_Data);
}

void TNotificationIcon::SetIcon(const QIcon& value)
{
    Icon_Value = value;
    UpdateTrayIcon();
}

void TNotificationIcon::SetIconVisible(bool value)
{
    if (value) AddTrayIcon();
    else RemoveTrayIcon();
}

void TNotificationIcon::SetHint(const QString& value)
{
    Hint_Value = value;
    UpdateTrayIcon();
}

void TNotificationIcon::SetShowHint(bool value)
{
    Show_Hint_Value = value;
    UpdateTrayIcon();
}

void TNotificationIcon::SetIconList(const QList<QIcon>& value)
{
    Icon_List_Value = value;
    SetIconIndex(0);
}

void TNotificationIcon::SetIconIndex(int value)
{
    if (Icon_List_Value.isEmpty()) Icon_Index_Value = 0;
    else
    {
        const int count = static_cast<int>(Icon_List_Value.size());
        Icon_Index_Value = value >= count ? count - 1 : (value < 0 ? 0 : value);
        Icon_Value = Icon_List_Value[Icon_Index_Value];
    }
    UpdateTrayIcon();
}

void TNotificationIcon::SetCycleIcons(bool value)
{
    Cycle_Icons_Value = value;
    if (value)
    {
        SetIconIndex(0);
        const std::uint32_t limit = std::numeric_limits<std::int32_t>::max();
        IconCycleTimer.Set_Period(
            static_cast<std::int32_t>(Cycle_Interval_Value > limit ? limit : Cycle_Interval_Value));
    }
    IconCycleTimer.Set_Running(value);
}

void TNotificationIcon::SetCycleInterval(std::uint32_t value)
{
    if (value == Cycle_Interval_Value) return;
    Cycle_Interval_Value = value;
    SetCycleIcons(Cycle_Icons_Value);
}

void TNotificationIcon::SetWantEnterExitEvents(bool value)
{
    Want_Enter_Exit_Events_Value = value;
    PointerExitTimer.Set_Running(value);
}

QMenu* TNotificationIcon::PopupMenu() const { return Popup_Menu_Value; }

void TNotificationIcon::SetPopupMenu(QMenu* value) { Popup_Menu_Value = value; }

bool TNotificationIcon::Tray_Available() const { return Shell.Is_Available(); }

void TNotificationIcon::Loaded()
{
    if (OnStartup)
    {
        bool show_main_form = true;
        OnStartup(this, show_main_form);
        if (!show_main_form) ConcealMainForm();
    }
    UpdateTrayIcon();
}

bool TNotificationIcon::DisplayBalloon(const QString& title, const QString& text, std::uint8_t icon_kind,
                                       std::uint8_t timeout_seconds)
{
    ClearBalloon();
    Notify_Data.Flags |= Tray_Icon_Data::Info_Flag;
    Notify_Data.Balloon_Text = text.left(Max_Balloon_Text_Length);
    Notify_Data.Balloon_Title = title.left(Max_Balloon_Title_Length);
    Notify_Data.Balloon_Timeout_Ms = static_cast<std::uint32_t>(timeout_seconds) * 1000;
    Notify_Data.Balloon_Icon_Kind = icon_kind;
    const bool accepted = UpdateTrayIcon();
    Notify_Data.Flags = Tray_Icon_Data::Message_Flag | Tray_Icon_Data::Icon_Flag | Tray_Icon_Data::Tip_Flag;
    return accepted;
}

void TNotificationIcon::ClearBalloon()
{
    Notify_Data.Flags |= Tray_Icon_Data::Info_Flag;
    Notify_Data.Balloon_Text.clear();
    UpdateTrayIcon();
}

void TNotificationIcon::RevealMainForm()
{
    if (!Owner) return;
    if (Owner->isMinimized()) Owner->setWindowState(Owner->windowState() & ~Qt::WindowMinimized);
    Owner->show();
    Owner->raise();
    Owner->activateWindow();
    // A question or editor that is open must stay above the window it belongs to, and one
    // minimised by its title bar comes back with it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != Owner)
    {
        if (modal->isMinimized()) modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}

void TNotificationIcon::ConcealMainForm()
{
    if (!Owner) return;
    if (!Tray_Available())
    {
        // Without a tray nothing could bring a hidden window back.
        Owner->showMinimized();
        return;
    }
    Owner->hide();
    HideAppButton();
}

void TNotificationIcon::HideAppButton()
{
    // The application has no hidden window of its own here; the taskbar button is the
    // owner's, and a tool window has none.
    if (!Owner || (Owner->windowFlags() & Qt::Tool)) return;
    const bool was_visible = Owner->isVisible();
    Owner->setWindowFlag(Qt::Tool, true);
    if (was_visible) Owner->show();
}

void TNotificationIcon::SendToTray()
{
    ConcealMainForm();
    SetIconVisible(true);
}

void TNotificationIcon::Tray_Created()
{
    if (Icon_Visible_Value) AddTrayIcon();
}

void TNotificationIcon::Handle_Notification(Tray_Shell::Notification notification)
{
    using N = Tray_Shell::Notification;
    switch (notification)
    {
    case N::Balloon_Show:
        if (OnBalloonHintShow) OnBalloonHintShow(this);
        return;
    case N::Balloon_Hide:
        if (OnBalloonHintHide) OnBalloonHintHide(this);
        return;
    case N::Balloon_Timeout:
        if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
        return;
    case N::Balloon_User_Click:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        return;
    default: break;
    }
    if (!Enabled_Value) return;

    const Qt::KeyboardModifiers shift = Shell.Keyboard_Modifiers();
    const QPoint position = Shell.Cursor_Position();
    switch (notification)
    {
    case N::Mouse_Move:
        if (Want_Enter_Exit_Events_Value && Pointer_Outside)
        {
            RaiseMouseEnter();
            Pointer_Outside = false;
        }
        RaiseMouseMove(shift, position.x(), position.y());
        Last_Pointer_Position = position;
        break;
    case N::Left_Button_Down:
        // A press that starts a new gesture forgets a double click that had no timer to end it.
        if (!SingleClickTimer.Is_Running()) Double_Clicked = false;
        if (OnDblClick)
        {
            SingleClickTimer.Set_Period(QApplication::doubleClickInterval());
            SingleClickTimer.Set_Running(true);
        }
        RaiseMouseDown(Qt::LeftButton, shift, position.x(), position.y());
        Left_Button_Down = true;
        if (Left_Popup_Value && Popup_Menu_Value) Popup_At_Cursor();
        break;
    case N::Left_Button_Up:
        if (Left_Button_Down) Click_Pending = true;
        if (Left_Button_Down && !SingleClickTimer.Is_Running())
        {
            Left_Button_Down = false;
            Click_Pending = false;
            RaiseClick();
        }
        Left_Button_Down = false;
        RaiseMouseUp(Qt::LeftButton, shift, position.x(), position.y());
        break;
    case N::Left_Button_Double_Click:
        Click_Pending = false;
        Double_Clicked = true;
        RaiseDblClick();
        if (Popup_Menu_Value && !Left_Popup_Value) Click_Default_Menu_Item();
        break;
    case N::Right_Button_Down:
        RaiseMouseDown(Qt::RightButton, shift, position.x(), position.y());
        if (Popup_Menu_Value) Popup_At_Cursor();
        break;
    case N::Right_Button_Up:
        if (Notify_Version_Value == 0) RaiseMouseUp(Qt::RightButton, shift, position.x(), position.y());
        break;
    case N::Context_Menu:
    case N::Select:
    case N::Key_Select:
        if (Notify_Version_Value == 1) RaiseMouseUp(Qt::RightButton, shift, position.x(), position.y());
        break;
    case N::Middle_Button_Down: RaiseMouseDown(Qt::MiddleButton, shift, position.x(), position.y()); break;
    case N::Middle_Button_Up: RaiseMouseUp(Qt::MiddleButton, shift, position.x(), position.y()); break;
    default: break;
    }
}

void TNotificationIcon::Single_Click_Expired()
{
    SingleClickTimer.Set_Running(false);
    if (!Double_Clicked && Click_Pending)
    {
        Click_Pending = false;
        RaiseClick();
    }
    Double_Clicked = false;
}

void TNotificationIcon::Cycle_Step()
{
    if (Icon_List_Value.isEmpty())
    {
        RaiseCycle(0);
        return;
    }
    if (Icon_Index_Value >= static_cast<int>(Icon_List_Value.size())) Icon_Index_Value = 0;
    Icon_Value = Icon_List_Value[Icon_Index_Value];
    UpdateTrayIcon();
    const int next = Icon_Index_Value + 1 < static_cast<int>(Icon_List_Value.size()) ? Icon_Index_Value + 1 : 0;
    RaiseCycle(next);
    // The handler may have changed the list.
    Icon_Index_Value = next < static_cast<int>(Icon_List_Value.size()) ? next : 0;
}

void TNotificationIcon::Pointer_Exit_Check()
{
    if (Pointer_Outside) return;
    if (Shell.Cursor_Position() != Last_Pointer_Position)
    {
        Pointer_Outside = true;
        RaiseMouseExit();
    }
}

void TNotificationIcon::Popup_At_Cursor()
{
    if (Popup_Menu_Value) Popup_Menu_Value->popup(Shell.Cursor_Position());
}

void TNotificationIcon::Click_Default_Menu_Item()
{
    if (Popup_Menu_Value && Popup_Menu_Value->defaultAction()) Popup_Menu_Value->defaultAction()->trigger();
}

bool TNotificationIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Owner && event->type() == QEvent::WindowStateChange && Minimize_To_Tray_Value &&
        Owner->isMinimized() && Tray_Available())
    {
        if (OnMinimizeToTray) OnMinimizeToTray(this);
        // Hiding inside the window's own state change confuses some window managers.
        QMetaObject::invokeMethod(this, &TNotificationIcon::SendToTray, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TNotificationIcon::RaiseClick()
{
    if (OnClick) OnClick(this);
}

void TNotificationIcon::RaiseDblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TNotificationIcon::RaiseCycle(int next_index)
{
    if (OnCycle) OnCycle(this, next_index);
}

void TNotificationIcon::RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TNotificationIcon::RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TNotificationIcon::RaiseMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TNotificationIcon::RaiseMouseEnter()
{
    if (OnMouseEnter) OnMouseEnter(this);
}

void TNotificationIcon::RaiseMouseExit()
{
    if (OnMouseExit) OnMouseExit(this);
}
