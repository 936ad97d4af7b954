#include "ui/tray/Tray_Menu.h"

#include <QApplication>

#include "config/Newer_Texts.h"
#include "platform/Code_Page.h"

namespace
{
// A command chosen from the menu runs once the menu has closed, never inside its own loop.
QAction* Add_Command(QMenu& menu, const std::function<void()>& command)
{
    QAction* action = menu.addAction(QString());
    QObject::connect(action, &QAction::triggered, &menu, [&menu, command] {
        if (command) QMetaObject::invokeMethod(&menu, command, Qt::QueuedConnection);
    });
    return action;
}
}  // namespace

Tray_Menu::Tray_Menu(std::function<std::string()> language_file_path, Commands commands, QWidget* parent)
    : QMenu(parent), Language_File_Path(std::move(language_file_path)), Run(std::move(commands))
{
    Show_Hide = Add_Command(*this, Run.Show_Hide);
    addSeparator();
    Add_Record = Add_Command(*this, Run.Add_Record);
    Report = Add_Command(*this, Run.Report);
    Settings = Add_Command(*this, Run.Settings);
    addSeparator();
    Quit = Add_Command(*this, Run.Quit);
    connect(this, &QMenu::aboutToShow, this, &Tray_Menu::Refresh);
    Refresh();
}

void Tray_Menu::Refresh()
{
    const std::string path = Language_File_Path ? Language_File_Path() : std::string();
    const auto text = [&path](const Newer_Text& newer) {
        return QString::fromStdString(Cp1250_To_Utf8(Read_Newer_Text(path, newer)));
    };
    Show_Hide->setText(text(Newer_Texts::Tray_Show_Hide));
    Add_Record->setText(text(Newer_Texts::Tray_Add_Record));
    Report->setText(text(Newer_Texts::Tray_Report));
    Settings->setText(text(Newer_Texts::Tray_Settings));
    Quit->setText(text(Newer_Texts::Tray_Quit));
    // An open dialog of the program has the user's attention: only showing and quitting
    // make sense beside it.
    const bool free = QApplication::activeModalWidget() == nullptr;
    Add_Record->setEnabled(free && (!Run.Add_Record_Enabled || Run.Add_Record_Enabled()));
    Report->setEnabled(free);
    Settings->setEnabled(free);
}
