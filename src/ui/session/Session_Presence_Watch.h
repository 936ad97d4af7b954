#pragma once
// The desktop's word on the user's presence, each source taken where it answers: logind's
// PrepareForSleep and the session's Lock and Unlock on the system bus, a screen saver's
// ActiveChanged on the session bus, and the X server's input idleness (MIT-SCREEN-SAVER)
// where no screen saver answers on a session bus.
#include <QObject>

#include "platform/Presence_Watch.h"

class Session_Presence_Watch : public QObject, public Presence_Watch
{
    Q_OBJECT

public:
    Session_Presence_Watch();
    void Start(std::function<void(Presence_Change)> changed) override;
    std::optional<std::int64_t> Input_Idle_Milliseconds() override;

private slots:
    void Prepare_For_Sleep(bool sleeping);
    void Session_Locked();
    void Session_Unlocked();
    void Screen_Saver_Active(bool active);

private:
    std::function<void(Presence_Change)> Changed;
    bool Idle_From_X = false;
};

// logind's object path of a session: its id with each character outside [A-Za-z0-9] (and a
// leading digit) written as "_" and two hex digits.
QString Login_Session_Path(const QString& session_id);
