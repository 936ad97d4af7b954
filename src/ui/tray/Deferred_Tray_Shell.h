#pragma once
// A tray shell whose real shell is made only after the window has had its chance to show:
// creating a system tray icon asks the desktop bus and the display, which would delay the
// first window. Until then it keeps what the icon wants and answers as an accepting tray;
// whatever needs the real tray (its availability) makes it at once.
#include <QObject>
#include <functional>
#include <memory>

#include "ui/tray/Tray_Shell.h"

class Deferred_Tray_Shell final : public QObject, public Tray_Shell
{
public:
    using Shell_Factory = std::function<std::unique_ptr<Tray_Shell>()>;

    // The real shell is made on the first turn of the event loop, or earlier when needed.
    explicit Deferred_Tray_Shell(Shell_Factory factory, QObject* parent = nullptr);
    ~Deferred_Tray_Shell() override;

    bool Add_Icon(const Tray_Icon_Data& data) override;
    bool Modify_Icon(const Tray_Icon_Data& data) override;
    bool Delete_Icon() override;
    bool Is_Available() const override;
    QPoint Cursor_Position() const override;
    Qt::KeyboardModifiers Keyboard_Modifiers() const override;

    // Makes the real shell now and hands it what the icon wants; nothing when made already.
    void Create_Real_Shell() const;
    bool Real_Shell_Created() const { return Real != nullptr; }

private:
    Shell_Factory Factory;
    mutable std::unique_ptr<Tray_Shell> Real;
    // What the icon wants while the real shell is not made yet.
    bool Icon_Wanted = false;
    Tray_Icon_Data Wanted_Data;
};
