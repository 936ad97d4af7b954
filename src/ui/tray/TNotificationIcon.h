#pragma once
// The tray icon of the program: puts an icon with a hint into the notification area, keeps
// it there when the tray host restarts, turns the tray's notifications into events, shows
// balloons, and hides and restores its owner window (the main window).
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "ui/tray/TLightTimer.h"
#include "ui/tray/Tray_Shell.h"

class QMenu;
class QWidget;

class TNotificationIcon : public QObject
{
    Q_OBJECT
public:
    static constexpr int Max_Hint_Length = 127;
    static constexpr int Max_Balloon_Title_Length = 63;
    static constexpr int Max_Balloon_Text_Length = 255;
    static constexpr std::int32_t Pointer_Exit_Period_Ms = 20;

    using TNotifyEvent = std::function<void(TNotificationIcon* sender)>;
    using TMouseEvent = std::function<void(TNotificationIcon* sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TNotificationIcon* sender, Qt::KeyboardModifiers shift, int x, int y)>;
    using TCycleEvent = std::function<void(TNotificationIcon* sender, int next_index)>;
    using TStartupEvent = std::function<void(TNotificationIcon* sender, bool& show_main_form)>;

    // The shell must outlive the icon. The owner is the window that RevealMainForm and
    // ConcealMainForm show and hide; it may be null.
    TNotificationIcon(Tray_Shell& shell, QWidget* owner = nullptr);
    // Takes the icon out of the tray.
    ~TNotificationIcon() override;

    // Events; an unassigned event is not raised. Assigning OnDblClick delays OnClick by
    // the double-click interval, so that a double click gives no click.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnBalloonHintShow;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TNotifyEvent OnBalloonHintClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    TStartupEvent OnStartup;

    // Properties.
    bool Enabled() const { return Enabled_Value; }
    void SetEnabled(bool value) { Enabled_Value = value; }
    const QIcon& Icon() const { return Icon_Value; }
    void SetIcon(const QIcon& value);
    bool IconVisible() const { return Icon_Visible_Value; }
    void SetIconVisible(bool value);
    const QString& Hint() const { return Hint_Value; }
    void SetHint(const QString& value);
    bool ShowHint() const { return Show_Hint_Value; }
    void SetShowHint(bool value);
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);  // a menu that is destroyed is forgotten
    bool LeftPopup() const { return Left_Popup_Value; }
    void SetLeftPopup(bool value) { Left_Popup_Value = value; }
    const QList<QIcon>& IconList() const { return Icon_List_Value; }
    void SetIconList(const QList<QIcon>& value);  // an empty list means none
    int IconIndex() const { return Icon_Index_Value; }
    void SetIconIndex(int value);
    bool CycleIcons() const { return Cycle_Icons_Value; }
    void SetCycleIcons(bool value);
    std::uint32_t CycleInterval() const { return Cycle_Interval_Value; }
    void SetCycleInterval(std::uint32_t value);
    bool WantEnterExitEvents() const { return Want_Enter_Exit_Events_Value; }
    void SetWantEnterExitEvents(bool value);
    bool MinimizeToTray() const { return Minimize_To_Tray_Value; }
    void SetMinimizeToTray(bool value) { Minimize_To_Tray_Value = value; }
    // 0: classic notifications (the right button's release), 1: newer ones (context menu).
    std::uint8_t NotifyVersion() const { return Notify_Version_Value; }
    void ApplyNotifyVersion(std::uint8_t value) { Notify_Version_Value = value; }

    // Whether a notification area exists. Without one the icon cannot be clicked, so
    // ConcealMainForm minimises the owner instead of hiding it.
    bool Tray_Available() const;

    // Once the owner has set the properties up: OnStartup may keep the owner hidden.
    void Loaded();

    // Each gives whether the tray accepted the request.
    bool AddTrayIcon();
    bool RemoveTrayIcon();
    bool UpdateTrayIcon();

    // icon_kind 0 none, 1 information, 2 warning, 3 error, 4 the icon itself.
    bool DisplayBalloon(const QString& title, const QString& text, std::uint8_t icon_kind,
                        std::uint8_t timeout_seconds);
    void ClearBalloon();

    void RevealMainForm();
    void ConcealMainForm();
    void HideAppButton();
    void SendToTray();

    // The data the tray was last given, for the owner's tests.
    const Tray_Icon_Data& Tray_Notify_Data() const { return Notify_Data; }
    const TLightTimer& Single_Click_Timer() const { return SingleClickTimer; }

protected:
    virtual void RaiseClick();
    virtual void RaiseDblClick();
    virtual void RaiseCycle(int next_index);
    virtual void RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void RaiseMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    virtual void RaiseMouseEnter();
    virtual void RaiseMouseExit();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill_Icon_Data();
    void Handle_Notification(Tray_Shell::Notification notification);
    void Tray_Created();
    void Single_Click_Expired();
    void Cycle_Step();
    void Pointer_Exit_Check();
    void Popup_At_Cursor();
    void Click_Default_Menu_Item();

    Tray_Shell& Shell;
    QPointer<QWidget> Owner;

    bool Enabled_Value = true;
    QIcon Icon_Value;
    bool Icon_Visible_Value = false;
    QString Hint_Value;
    bool Show_Hint_Value = true;
    QPointer<QMenu> Popup_Menu_Value;
    bool Left_Popup_Value = false;
    bool Minimize_To_Tray_Value = false;
    bool Left_Button_Down = false;
    bool Click_Pending = false;
    TLightTimer IconCycleTimer;
    TLightTimer SingleClickTimer;
    TLightTimer PointerExitTimer;
    QPoint Last_Pointer_Position;
    bool Pointer_Outside = true;
    bool Want_Enter_Exit_Events_Value = false;
    std::uint8_t Notify_Version_Value = 0;
    bool Double_Clicked = false;
    int Icon_Index_Value = 0;
    QList<QIcon> Icon_List_Value;
    bool Cycle_Icons_Value = false;
    std::uint32_t Cycle_Interval_Value = 0;
    Tray_Icon_Data Notify_Data;
};
