#pragma once
// The real notification area through QSystemTrayIcon.
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

#include "ui/tray/TLightTimer.h"
#include "ui/tray/Tray_Shell.h"

class Qt_Tray_Shell final : public QObject, public Tray_Shell
{
    Q_OBJECT
public:
    // How often the presence of a notification area is checked.
    static constexpr std::int32_t Availability_Poll_Ms = 1500;

    explicit Qt_Tray_Shell(QObject* parent = nullptr);
    ~Qt_Tray_Shell() override;

    bool Add_Icon(const Tray_Icon_Data& data) override;
    bool Modify_Icon(const Tray_Icon_Data& data) override;
    bool Delete_Icon() override;
    bool Is_Available() const override;
    QPoint Cursor_Position() const override;
    Qt::KeyboardModifiers Keyboard_Modifiers() const override;

    // A text as the tray shows it: its carriage returns become line breaks.
    static QString Shown_Text(QString text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(const Tray_Icon_Data& data);
    void Tray_Icon_Activated(QSystemTrayIcon::ActivationReason reason);
    void Deliver_Pending_Trigger();
    void Poll_Availability();
    void Keep_Clicks_Through_Modal_Dialogs();

    QSystemTrayIcon Tray_Icon{this};  // a child, so that tests can find it and play its signals
    bool Trigger_Pending = false;
    bool Was_Available = false;
    TLightTimer Availability_Timer;
};
