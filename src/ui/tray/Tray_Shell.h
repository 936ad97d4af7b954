#pragma once
// The notification area as the tray icon sees it: one icon per shell object. The program
// uses Qt_Tray_Shell; tests use Fake_Tray_Shell and play the notifications themselves.
#include <QIcon>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

struct Tray_Icon_Data
{
    enum Flag : std::uint32_t
    {
        Message_Flag = 1,
        Icon_Flag = 2,
        Tip_Flag = 4,
        Info_Flag = 16  // balloon fields are meant: shown when the text is set, cleared when empty
    };

    std::uint32_t Flags = Message_Flag | Icon_Flag | Tip_Flag;
    QIcon Icon;
    QString Tip;  // empty: no tooltip
    QString Balloon_Title;
    QString Balloon_Text;
    std::uint32_t Balloon_Timeout_Ms = 0;
    std::uint8_t Balloon_Icon_Kind = 0;  // 0 none, 1 information, 2 warning, 3 error, 4 the icon itself
};

class Tray_Shell
{
public:
    // The mouse and balloon notifications of one icon, in the order the icon dispatches them.
    enum class Notification
    {
        Mouse_Move,
        Left_Button_Down,
        Left_Button_Up,
        Left_Button_Double_Click,
        Right_Button_Down,
        Right_Button_Up,
        Context_Menu,
        Select,
        Key_Select,
        Middle_Button_Down,
        Middle_Button_Up,
        Balloon_Show,
        Balloon_Hide,
        Balloon_Timeout,
        Balloon_User_Click
    };
    using Notification_Handler = std::function<void(Notification)>;
    using Tray_Created_Handler = std::function<void()>;

    virtual ~Tray_Shell() = default;

    // Each gives whether the shell accepted the request.
    virtual bool Add_Icon(const Tray_Icon_Data& data) = 0;
    virtual bool Modify_Icon(const Tray_Icon_Data& data) = 0;
    virtual bool Delete_Icon() = 0;

    // Whether a notification area exists on this desktop at all.
    virtual bool Is_Available() const = 0;

    virtual QPoint Cursor_Position() const = 0;
    virtual Qt::KeyboardModifiers Keyboard_Modifiers() const = 0;

    void Set_Notification_Handler(Notification_Handler handler) { On_Notification = std::move(handler); }
    // Called when a notification area appears again (the tray host restarted).
    void Set_Tray_Created_Handler(Tray_Created_Handler handler) { On_Tray_Created = std::move(handler); }

protected:
    void Notify(Notification notification)
    {
        if (On_Notification) On_Notification(notification);
    }
    void Notify_Tray_Created()
    {
        if (On_Tray_Created) On_Tray_Created();
    }

private:
    Notification_Handler On_Notification;
    Tray_Created_Handler On_Tray_Created;
};
