#pragma once
// The tray icon's context menu: show or hide the window, add a record, the report, the
// settings, and quit. Its texts are read from the language file each time it opens, so a
// change of language shows at once.
#include <QMenu>
#include <functional>
#include <string>

class Tray_Menu : public QMenu
{
public:
    struct Commands
    {
        std::function<void()> Show_Hide;
        std::function<void()> Add_Record;
        std::function<void()> Report;
        std::function<void()> Settings;
        std::function<void()> Quit;
        // Whether adding a record is allowed now (the day's rules may forbid it).
        std::function<bool()> Add_Record_Enabled;
    };

    Tray_Menu(std::function<std::string()> language_file_path, Commands commands, QWidget* parent = nullptr);

    // Takes the texts and the enabled state; the menu does it itself before it shows.
    void Refresh();

    QAction* Show_Hide_Action() const { return Show_Hide; }
    QAction* Add_Record_Action() const { return Add_Record; }
    QAction* Report_Action() const { return Report; }
    QAction* Settings_Action() const { return Settings; }
    QAction* Quit_Action() const { return Quit; }

private:
    std::function<std::string()> Language_File_Path;
    Commands Run;
    QAction* Show_Hide;
    QAction* Add_Record;
    QAction* Report;
    QAction* Settings;
    QAction* Quit;
};
