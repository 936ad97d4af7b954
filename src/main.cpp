// Program entry: hands a second start to the running instance, or runs the program.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "config/Program_Version.h"
#include "history/Calendar.h"
#include "history/History_Command_Line.h"
#include "platform/Clock.h"
#include "platform/Code_Page.h"
#include "platform/Display_Platform.h"
#include "platform/Program_Folder.h"
#include "ui/dialogs/Qt_Message_Dialogs.h"
#include "ui/dialogs/Setup_Form.h"
#include "ui/dialogs/Update_Record_Form.h"
#include "ui/main/Program_Shell.h"
#include "ui/main/Quick_Tooltip_Style.h"
#include "ui/main/Single_Instance.h"
#include "ui/main/System_Date_Time_Patterns.h"
#include "ui/main/TMain_Form.h"
#include "ui/main/Taskbar_Hint.h"
#include "ui/main/Termination_Signals.h"
#include "ui/report/History_Report_Source.h"
#include "ui/report/Report_Form_Opener.h"
#include "ui/tray/Deferred_Tray_Shell.h"
#include "ui/tray/Qt_Tray_Shell.h"
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
}  // namespace

int main(int argc, char* argv[])
{
    // The history's command line answers before anything of the window exists: no display,
    // no running instance, no file but its reading.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (Is_History_Command_Line(arguments))
    {
        History_Command_Line_Environment environment;
        environment.Today = Calendar_Date_Of(System_Clock().Now());
        environment.Version = ZL_PROGRAM_VERSION;
        return Run_History_Command_Line(arguments, environment, [] {
            return Read_History_Settings(
                Program_Paths(Existing_Program_Directory(Executable_Directory(), Process_Xdg_Environment())),
                System_Date_Time_Patterns());
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
    application.setApplicationName(QString::fromLatin1(Application_Title));
    application.setQuitOnLastWindowClosed(false);
    // The wheel acts on the row the pointer was last over: a movement across a row must
    // reach the table even when the next one follows before the program had its turn.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication::setStyle(new Quick_Tooltip_Style);
    Taskbar_Free_Windows taskbar_free_windows;
    application.installEventFilter(&taskbar_free_windows);

    // A second start only asks the running instance to come forward; it touches no file.
    Single_Instance instance;
    if (!instance.Become_First_Or_Forward()) return 0;

    System_Clock clock;
    Qt_Program_Shell shell;
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

    Main_Form_Seams seams;
    seams.Program_Directory = folder.Program_Directory;
    if (folder.Filled)
        seams.Start_Notes.push_back(" - PREPARE_PROGRAM_FOLDER - OK - program files copied from " +
                                    File_Name_To_Cp1250(folder.Data_Source) + " to " +
                                    File_Name_To_Cp1250(folder.Program_Directory));
    if (platform.Without_X_Server) seams.Start_Notes.push_back(Without_X_Server_Protocol_Text());
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
    QObject::connect(&instance, &Single_Instance::Restore_Request, &main_form,
                     [&main_form] { main_form.Restore_Request(); });
    Termination_Signals termination_signals;
    QObject::connect(&termination_signals, &Termination_Signals::Termination_Requested, &main_form,
                     [&main_form](int) { main_form.End_Day_And_Quit(); });

    main_form.Form_Create();
    if (main_form.Termination_Requested()) return 0;
    if (main_form.Show_Main_Form()) main_form.Show_At_Start();
    return application.exec();
}
