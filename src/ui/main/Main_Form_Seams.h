#pragma once
// What the main window reaches outside itself, passed in so tests can stand in.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Presence_Watch.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/Main_Form_Preview.h"
#include "ui/dialogs/Record_Table_View.h"
#include "worklog/Day_Rules.h"
#include "worklog/Work_Log_File_System.h"

class Program_Shell;
class Tray_Shell;

struct Main_Form_Seams
{
    std::string Program_Directory;
    const Clock* Clock_Source = nullptr;
    Date_Time_Patterns Patterns;
    Program_Shell* Shell = nullptr;
    Tray_Shell* Tray = nullptr;
    // Made once the skins, settings and texts exist (the program's dialog needs them).
    std::function<std::shared_ptr<Message_Dialogs>(Settings&, const Dialog_Resources&)> Make_Message_Dialogs;
    // The platform's plain message box with one OK button (start-up failures).
    std::function<void(const QString&)> Show_Plain_Message;
    // Asks the application to end once control is back in its event loop.
    std::function<void()> Quit_Application;
    // The record editor and the settings dialog; empty ones do nothing. The editor gives
    // QDialog::Accepted when it stored a record.
    std::function<int(Day_Rules&, Settings&, const Language_Texts&, Record_Table_View&, const Dialog_Resources&,
                      Message_Dialogs&, std::uint8_t edited_row, bool add_mode)>
        Display_Update_Record_Form;
    std::function<void(Settings&, const Language_Texts&, Main_Form_Preview&, const Dialog_Resources&, Message_Dialogs&)>
        Display_Setup_Form;
    // The report window (non-modal); an empty one does nothing. Gives whether the window
    // opened, taking the keyboard (and the release of the key that opened it).
    std::function<bool(const Settings&, const Language_Texts&, const Dialog_Resources&)> Display_Report_Form;
    // The file layer of the day log and the target log.
    Work_Log_File_System* Files = nullptr;
    // Protocol lines of what the entry decided before the protocol existed.
    std::vector<std::string> Start_Notes;
    // Runs right before Setup.ini is read (the first start records its language there).
    std::function<void(const Program_Paths&)> Before_Setup_Read;
    // Another language file was chosen while the program runs (Qt's own texts follow it).
    std::function<void(const std::string& language_file_path)> Language_Changed;
    // The user's presence (lock, sleep, idleness), made once the first frame is up.
    std::function<std::unique_ptr<Presence_Watch>()> Make_Presence_Watch;
};
