#pragma once
// A tray that records what the icon asks of it; a test plays the user's clicks and the
// restart of the tray host through it.
#include <vector>

#include "ui/tray/Tray_Shell.h"

class Fake_Tray_Shell final : public Tray_Shell
{
public:
    enum class Request_Kind
    {
        Add,
        Modify,
        Delete
    };
    struct Request
    {
        Request_Kind Kind;
        Tray_Icon_Data Data;
    };

    bool Add_Icon(const Tray_Icon_Data& data) override;
    bool Modify_Icon(const Tray_Icon_Data& data) override;
    bool Delete_Icon() override;
    bool Is_Available() const override { return Available; }
    QPoint Cursor_Position() const override { return Cursor; }
    Qt::KeyboardModifiers Keyboard_Modifiers() const override { return Modifiers; }

    // Plays a notification of the icon, as the tray would send it.
    void Send(Notification notification) { Notify(notification); }
    // The tray host goes away and comes back: every icon is gone until it is added again.
    void Restart_Tray();
    // A tray that disappears or appears; appearing is announced like a restart.
    void Set_Available(bool available);

    // What the tray shows now.
    bool Icon_Present = false;
    Tray_Icon_Data Shown;
    int Balloons_Shown = 0;  // modify requests with the info flag and a balloon text

    std::vector<Request> Requests;
    QPoint Cursor;
    Qt::KeyboardModifiers Modifiers = Qt::NoModifier;

private:
    bool Available = true;
};
