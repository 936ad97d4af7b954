#include "support/Fake_Tray_Shell.h"

bool Fake_Tray_Shell::Add_Icon(const Tray_Icon_Data& data)
{
    Requests.push_back({Request_Kind::Add, data});
    // Like the real tray, an icon that is there already cannot be added twice.
    if (!Available || Icon_Present) return false;
    Icon_Present = true;
    Shown = data;
    return true;
}

bool Fake_Tray_Shell::Modify_Icon(const Tray_Icon_Data& data)
{
    Requests.push_back({Request_Kind::Modify, data});
    if (!Available || !Icon_Present) return false;
    Shown = data;
    if ((data.Flags & Tray_Icon_Data::Info_Flag) && !data.Balloon_Text.isEmpty()) ++Balloons_Shown;
    return true;
}

bool Fake_Tray_Shell::Delete_Icon()
{
    Requests.push_back({Request_Kind::Delete, {}});
    const bool was_present = Icon_Present;
    Icon_Present = false;
    return Available && was_present;
}

void Fake_Tray_Shell::Restart_Tray()
{
    Icon_Present = false;
    Available = true;
    Notify_Tray_Created();
}

void Fake_Tray_Shell::Set_Available(bool available)
{
    const bool appeared = available && !Available;
    Available = available;
    if (!available) Icon_Present = false;
    if (appeared) Notify_Tray_Created();
}
