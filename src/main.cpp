// Program entry: hands a second start to the running instance, or runs the program.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "config/Language_Choice.h"
#include "config/Language_File.h"
#include "config/Newer_Texts.h"
#include "config/Program_Version.h"
#include "history/Calendar.h"
#include "history/Date_Pattern_Cache.h"
#include "history/History_Command_Line.h"
#include "history/History_Outbox.h"
#include "history/History_Store.h"
#include "platform/Clock.h"
#include "platform/Code_Page.h"
#include "platform/Display_Platform.h"
#include "platform/Format.h"
#include "platform/Program_Folder.h"
#include "platform/Seeded_Files.h"
#include "server/History_Server_Sender.h"
#include "server/Server_Command_Line.h"
#include "ui/dialogs/Qt_Message_Dialogs.h"
#include "ui/dialogs/TSetup_Form.h"
#include "ui/dialogs/TUpdate_Record_Form.h"
#include "ui/main/Program_Shell.h"
#include "ui/main/Qt_Translation.h"
#include "ui/main/Quick_Tooltip_Style.h"
#include "ui/main/Single_Instance.h"
#include "ui/main/System_Date_Time_Patterns.h"
#include "ui/main/TMain_Form.h"
#include "ui/main/Taskbar_Hint.h"
#include "ui/main/Termination_Signals.h"
#include "ui/report/History_Report_Source.h"
#include "ui/report/Report_Form_Opener.h"
#include "ui/session/Session_Presence_Watch.h"
#include "ui/tray/Deferred_Tray_Shell.h"
#include "ui/tray/Qt_Tray_Shell.h"
#include "ui/tray/TNotificationIcon.h"
#include "ui/tray/Tray_Menu.h"
#include "worklog/Work_Log_File_System.h"

#ifndef ZL_DATA_FROM_BIN
#define ZL_DATA_FROM_BIN "../share/zentavo-logger"
#endif

namespace
{
void Show_Plain_Message_Box(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(Application_Title), shown, QMessageBox::Ok);
    box.exec();
}
// A start that may not run says why, in the language the start would have used, and on
// stderr for a start without anyone watching the screen.
void Show_Start_Refusal(const Program_Paths& paths, const Locale_Environment& locale, const Newer_Text& text,
                        const std::string& argument)
{
    const std::string language_file = paths.File(Language_File_Name_For_Start(paths, locale));
    const std::string pattern = Read_Newer_Text(language_file, text);
    std::string message = Format(pattern, {argument}).value_or(pattern);
    std::replace(message.begin(), message.end(), '#', '\n');
    const QString shown = QString::fromStdString(Cp1250_To_Utf8(message));
    std::fprintf(stderr, "zentavo-logger: %s\n",
                 qPrintable(QString(shown).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    Show_Plain_Message_Box(shown);
}
}  // namespace

int main(int argc, char* argv[])
{
    // The history's command line answers before anything of the window exists: no display,
    // no running instance, no file but its reading.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (Is_Server_Command_Line(arguments))
    {
        Server_Command_Line_Environment environment;
        environment.Today = Calendar_Date_Of(System_Clock().Now());
        return Run_Server_Command_Line(arguments, environment, [] {
            return Read_History_Settings(
                Program_Paths(Existing_Program_Directory(Executable_Directory(), Process_Xdg_Environment())),
                System_Date_Time_Patterns());
        });
    }
    if (Is_History_Command_Line(arguments))
    {
        History_Command_Line_Environment environment;
        environment.Today = Calendar_Date_Of(System_Clock().Now());
        environment.Version = ZL_PROGRAM_VERSION;
        return Run_History_Command_Line(arguments, environment, [] {
            const Date_Time_Patterns patterns = System_Date_Time_Patterns();
            // Kept for the command's front, which answers the next report without the toolkit.
            if (const std::optional<Date_Pattern_Cache_Key> key = Process_Date_Pattern_Cache_Key("/proc/self/exe"))
                Write_Date_Pattern_Cache(Date_Pattern_Cache_Path(), *key, patterns.Short_Date);
            return Read_History_Settings(
                Program_Paths(Existing_Program_Directory(Executable_Directory(), Process_Xdg_Environment())), patterns);
        });
    }

    // Without a display Qt would abort with a long message; one clear line serves better.
    const Display_Platform_Choice platform = Choose_Display_Platform(Process_Display_Environment(argc, argv));
    if (!platform.Display_Found)
    {
        std::fprintf(stderr,
                     "zentavo-logger: no display found (DISPLAY is not set); "
                     "start it inside a desktop session or under xvfb-run.\n");
        return 1;
    }
    // Asked for this process only: a program it opens chooses its own platform.
    if (!platform.Platform.empty()) ::setenv("QT_QPA_PLATFORM", platform.Platform.c_str(), 1);
    QApplication application(argc, argv);
    if (!platform.Platform.empty()) ::unsetenv("QT_QPA_PLATFORM");
    // The window's class, the tray's Id and the Wayland app id: without the version, so a
    // desktop keeps its per-program settings across upgrades (titles name the version).
    application.setApplicationName(QStringLiteral("zentavo-logger"));
    QGuiApplication::setDesktopFileName(QStringLiteral("zentavo-logger"));
    application.setQuitOnLastWindowClosed(false);
    // The wheel acts on the row the pointer was last over: a movement across a row must
    // reach the table even when the next one follows before the program had its turn.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication::setStyle(new Quick_Tooltip_Style);
    Taskbar_Free_Windows taskbar_free_windows;
    application.installEventFilter(&taskbar_free_windows);

    System_Clock clock;
    std::function<std::string()> language_file_path;
    Qt_Program_Shell shell([&language_file_path](const std::string& path) {
        const std::string pattern = Read_Newer_Text(language_file_path(), Newer_Texts::No_Opener);
        const std::string message = Format(pattern, {File_Name_To_Cp1250(path)}).value_or(pattern);
        Show_Plain_Message_Box(QString::fromStdString(Cp1250_To_Utf8(message)));
    });
    // The tray is made once the window had its turn to show, unless the start needs it first.
    Deferred_Tray_Shell tray([] { return std::make_unique<Qt_Tray_Shell>(); });
    Posix_Work_Log_File_System files;

    // Paths stay in the file system's own bytes; only texts are CP1250.
    const std::string executable_directory = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const Program_Folder_Choice folder = Choose_Program_Folder(
        executable_directory, executable_directory + "/" ZL_DATA_FROM_BIN, Process_Xdg_Environment());
    if (folder.Program_Directory.empty())
    {
        std::fprintf(stderr, "zentavo-logger: %s\n", folder.Failure.c_str());
        Show_Plain_Message_Box(QFile::decodeName(folder.Failure.c_str()));
        return 1;
    }

    // One copy per user and data folder, from whatever display or session: a second start
    // only asks the running one to come forward, and touches no file.
    const QString program_directory = QFile::decodeName(folder.Program_Directory.c_str());
    Single_Instance instance(Single_Instance::Default_Key(program_directory), program_directory);
    const Program_Paths start_paths(folder.Program_Directory);
    const Locale_Environment locale = Process_Locale_Environment();
    switch (instance.Become_First_Or_Forward())
    {
    case Single_Instance::Start_Result::First: break;
    case Single_Instance::Start_Result::Handed_Over: return 0;
    case Single_Instance::Start_Result::Not_Reached:
        Show_Start_Refusal(start_paths, locale, Newer_Texts::Instance_Not_Reached,
                           File_Name_To_Cp1250(folder.Program_Directory));
        return 1;
    case Single_Instance::Start_Result::No_Folder:
        Show_Start_Refusal(start_paths, locale, Newer_Texts::No_Runtime_Folder,
                           File_Name_To_Cp1250(QFile::encodeName(QDir::tempPath()).toStdString()));
        return 1;
    }
    // A newer installation's data reaches the copies the user never changed.
    Seed_Refresh refresh;
    if (!folder.Refresh_Source.empty()) refresh = Refresh_Seeded_Files(folder.Refresh_Source, folder.Program_Directory);
    Qt_Translation qt_translation;
    qt_translation.Follow(Language_File_Name_For_Start(start_paths, locale));

    Main_Form_Seams seams;
    seams.Program_Directory = folder.Program_Directory;
    if (folder.Filled)
        seams.Start_Notes.push_back(" - PREPARE_PROGRAM_FOLDER - OK - program files copied from " +
                                    File_Name_To_Cp1250(folder.Data_Source) + " to " +
                                    File_Name_To_Cp1250(folder.Program_Directory));
    if (!refresh.Refreshed.empty() || !refresh.Kept.empty() || !refresh.Failure.empty())
        seams.Start_Notes.push_back(Seed_Refresh_Protocol_Text(refresh, File_Name_To_Cp1250(folder.Refresh_Source)));
    if (platform.Without_X_Server) seams.Start_Notes.push_back(Without_X_Server_Protocol_Text());
    // The first start speaks the user's language, and Setup.ini keeps that choice; it is
    // written where the start-up reads the file, so a start that fails earlier leaves it alone.
    seams.Before_Setup_Read = [locale](const Program_Paths& paths) {
        Record_First_Start_Language(paths, locale);
    };
    seams.Language_Changed = [&qt_translation](const std::string& chosen_language_file) {
        qt_translation.Follow(chosen_language_file);
    };
    seams.Clock_Source = &clock;
    seams.Patterns = System_Date_Time_Patterns();
    seams.Shell = &shell;
    seams.Tray = &tray;
    seams.Files = &files;
    seams.Make_Message_Dialogs = [](Settings& settings,
                                    const Dialog_Resources& resources) -> std::shared_ptr<Message_Dialogs> {
        return std::make_shared<Qt_Message_Dialogs>(settings, resources.Errors, resources.Paths, resources.Button_Skin,
                                                    resources.Parent);
    };
    seams.Show_Plain_Message = Show_Plain_Message_Box;
    seams.Quit_Application = [] {
        QCoreApplication::exit(0);
    };
    seams.Display_Update_Record_Form = Display_Update_Record_Form;
    seams.Display_Setup_Form = Display_Setup_Form;
    seams.Make_Presence_Watch = [] {
        return std::make_unique<Session_Presence_Watch>();
    };

    // The report window and its history are made at the first R, never at start.
    Report_Form_Opener report_opener(
        [&clock, patterns = seams.Patterns](const Program_Paths& paths, const Settings& settings) {
            return std::make_unique<History_Report_Source>(
                [&paths, &settings, patterns] { return History_Settings_From(paths, settings, patterns); },
                [&clock] { return Calendar_Date_Of(clock.Now()); });
        },
        seams.Patterns.Short_Date);
    seams.Display_Report_Form = [&report_opener](const Settings& settings, const Language_Texts& texts,
                                                 const Dialog_Resources& resources) {
        return report_opener.Display_Report_Form(settings, texts, resources);
    };

    TMain_Form main_form(std::move(seams));
    language_file_path = [&main_form] {
        return main_form.Settings_Of_Main_Form().Language_File_Path;
    };
    QObject::connect(&instance, &Single_Instance::Restore_Request, &main_form,
                     [&main_form] { main_form.Restore_Request(); });
    Termination_Signals termination_signals;
    QObject::connect(&termination_signals, &Termination_Signals::Termination_Requested, &main_form,
                     [&main_form](int) { main_form.End_Day_And_Quit(); });

    main_form.Form_Create();
    if (main_form.Termination_Requested()) return 0;
    // The window has no frame: the tray's menu is the visible way to every command and to quit.
    Tray_Menu::Commands menu_commands;
    menu_commands.Show_Hide = [&main_form] {
        if (main_form.Is_Showing()) main_form.Run_Command(Main_Form_Key::Minimize);
        else main_form.Restore_Request();
    };
    menu_commands.Add_Record = [&main_form] {
        main_form.Run_Command(Main_Form_Key::Add_Record);
    };
    menu_commands.Report = [&main_form] {
        main_form.Run_Command(Main_Form_Key::Report);
    };
    menu_commands.Settings = [&main_form] {
        main_form.Run_Command(Main_Form_Key::Setup);
    };
    menu_commands.Quit = [&main_form] {
        main_form.Run_Command(Main_Form_Key::Quit);
    };
    menu_commands.Add_Record_Enabled = [&main_form] {
        return main_form.Add_Record_Button_Enabled();
    };
    Tray_Menu tray_menu(language_file_path, std::move(menu_commands));
    if (main_form.Tray_Icon() != nullptr) main_form.Tray_Icon()->SetPopupMenu(&tray_menu);
    // The history server's sender starts after the day start's export, whose day it sends
    // first; its protocol lines are added on this thread.
    std::unique_ptr<History_Server_Sender> server_sender;
    if (const History_Server_Settings server =
            Read_History_Server_Settings(Program_Paths(folder.Program_Directory).File("Setup.ini"));
        server.Configured())
    {
        server_sender = std::make_unique<History_Server_Sender>(
            server, Program_Paths(folder.Program_Directory).File(History_Store_File_Name),
            [&main_form](const std::string& line) {
                QMetaObject::invokeMethod(
                    &main_form, [&main_form, line] { main_form.Error_List_Of_Main_Form().Add(line); },
                    Qt::QueuedConnection);
            });
        Set_Outbox_Listener([sender = server_sender.get()] { sender->Wake(); });
    }
    if (main_form.Show_Main_Form()) main_form.Show_At_Start();
    // Once the window had its turn: a desktop without a notification area (a Wayland
    // session without a tray host) is told in the protocol; the window is then only minimised.
    QTimer::singleShot(0, &main_form, [&main_form, &tray] {
        if (!main_form.Day_Ended() && !tray.Is_Available())
            main_form.Error_List_Of_Main_Form().Add(
                " - START_TRAY - NO_TRAY - no notification area found: the window is minimised instead of "
                "going into the tray");
    });
    const int status = application.exec();
    Set_Outbox_Listener({});
    return status;
}
