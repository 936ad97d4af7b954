#include "ui/tray/Deferred_Tray_Shell.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

Deferred_Tray_Shell::Deferred_Tray_Shell(Shell_Factory factory, QObject* parent)
    : QObject(parent), Factory(std::move(factory))
{
    QTimer::singleShot(0, this, [this] { Create_Real_Shell(); });
}

Deferred_Tray_Shell::~Deferred_Tray_Shell() = default;

void Deferred_Tray_Shell::Create_Real_Shell() const
{
    if (Real || !Factory) return;
    Real = Factory();
    if (!Real) return;
    auto* self = const_cast<Deferred_Tray_Shell*>(this);
    Real->Set_Notification_Handler([self](Notification notification) { self->Notify(notification); });
    Real->Set_Tray_Created_Handler([self] { self->Notify_Tray_Created(); });
    if (Icon_Wanted) Real->Add_Icon(Wanted_Data);
}

bool Deferred_Tray_Shell::Add_Icon(const Tray_Icon_Data& data)
{
    if (Real) return Real->Add_Icon(data);
    Icon_Wanted = true;
    Wanted_Data = data;
    return true;
}

bool Deferred_Tray_Shell::Modify_Icon(const Tray_Icon_Data& data)
{
    if (Real) return Real->Modify_Icon(data);
    // As the real tray, an icon that is not shown cannot be changed.
    if (!Icon_Wanted) return false;
    // A balloon is wanted now or never; one asked for before the tray exists is shown by the real shell.
    if ((data.Flags & Tray_Icon_Data::Info_Flag) && !data.Balloon_Text.isEmpty())
    {
        Create_Real_Shell();
        if (Real) return Real->Modify_Icon(data);
    }
    if (data.Flags & Tray_Icon_Data::Icon_Flag) Wanted_Data.Icon = data.Icon;
    if (data.Flags & Tray_Icon_Data::Tip_Flag) Wanted_Data.Tip = data.Tip;
    return true;
}

bool Deferred_Tray_Shell::Delete_Icon()
{
    if (Real) return Real->Delete_Icon();
    const bool was_wanted = Icon_Wanted;
    Icon_Wanted = false;
    return was_wanted;
}

bool Deferred_Tray_Shell::Is_Available() const
{
    Create_Real_Shell();
    return Real && Real->Is_Available();
}

QPoint Deferred_Tray_Shell::Cursor_Position() const { return Real ? Real->Cursor_Position() : QCursor::pos(); }

Qt::KeyboardModifiers Deferred_Tray_Shell::Keyboard_Modifiers() const
{
    return Real ? Real->Keyboard_Modifiers() : QGuiApplication::queryKeyboardModifiers();
}
