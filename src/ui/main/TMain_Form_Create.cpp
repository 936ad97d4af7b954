// The creation of the main window, in the fixed order in which the start-up prepares
// everything, and its orderly early ends.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "config/Language_File.h"
#include "config/Settings_File.h"
#include "platform/Code_Page.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Vela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/TMain_Form.h"
#include "ui/tray/Notification_Icon.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Day_Start.h"
#include "worklog/Time_Values.h"

namespace
{
const char* const Skin_File_Names[] = {"Default_Data_Row.bmp", "Focused_Data_Row.bmp", "Header_Row.bmp",
                                       "Button_Skin.bmp", "Minimize_Button_Skin.bmp"};
}  // namespace

void TMain_Form::Form_Create()
{
    // 1-3: title, width, no window until the whole creation allows it; paths are set.
    Title->setText(QString::fromLatin1(Application_Title));
    resize(Main_Form_Client_Width, height());
    Show_Main_Form_Flag = false;

    // 4: the protocol, emptied before anything else is logged.
    if (!Create_Error_Log()) return;
    for (const std::string& note : Seams.Start_Notes) Errors->Add(note);

    // 5: the record table.
    Grid = new TData_Grid(this, Log, Setup, Grid_Skins,
                          Data_Grid_Hooks{[this] { return Is_Fading(); },
                                          [this] { return Editor_Open || Message_Dialog_Depth > 0; },
                                          [this](std::uint8_t row) { Open_Editor_For_Row(row); },
                                          [this] { Delete_Highlighted_Record(); }});
    Grid->setGeometry(6, 46, 743, 0);
    Grid->show();

    // 6-8: the required files, then the skins.
    if (!Check_Required_Files()) return;
    if (!Load_Skins()) return;
    for (TVela_Button_* button : {Add_Button, Setup_Button, Open_Log_Button, Shutdown_Button})
        button->Set_Button_Skin(Button_Skin_Bitmap);
    Minimize_Button->Set_Button_Skin(Minimize_Button_Skin_Bitmap);

    // 9-10: the configuration and the texts.
    Read_Setup_File();
    Read_Language_File();

    // 11: the day.
    Program_Dialogs = Seams.Make_Message_Dialogs ? Seams.Make_Message_Dialogs(*this) : nullptr;
    if (!Program_Dialogs)
    {
        Save_Error_Log_And_Terminate();
        return;
    }
    Dialogs = std::make_unique<Counting_Message_Dialogs>(*Program_Dialogs, Message_Dialog_Depth,
                                                         [this] { Take_Focus_Back(); });
    if (!Load_The_Day() || Terminating) return;

    // 12-16: layout, position, the add button's rule and the summary.
    Bar_Height = 0;
    Update_Layout();
    if (Setup.Main_Form_Anchor != 0) Apply_Anchor();
    Bring_Back_Onto_A_Screen();
    Log.Current_Minute = Time_To_Minute_Of_Day(Seams.Clock_Source->Now());
    Keep_Add_Button_Rule();
    Refresh_Summary_Rows();
    Creation_Done = true;
    // A new day and a day cleaned on reading are stored while it is read. What the start
    // changed since (the minute) is stored once the window had its turn to show: syncing
    // the file would hold the window back, and losing it costs nothing.
    QTimer::singleShot(0, this, [this] { Checkpoint_Day_Log(); });

    // 17-20: the minute timer, the tray, and whether the window shows.
    Update_Timer.start();
    if (Tray_Icon_Component) Tray_Icon_Component->HideAppButton();
    // Without a notification area a window left hidden could never be brought back; the
    // tray is asked only when the window might stay hidden, since asking it takes time.
    if (Start_Values.Minimize_To_Tray_After_Start && Tray_Icon_Component && Tray_Icon_Component->Tray_Available())
    {
        Set_Alpha_Blend(true, Alpha_Blend_Level);
    }
    else
    {
        Show_Main_Form_Flag = true;
        const auto transparency = Setup.Main_Form_Transparency;
        Set_Alpha_Blend(transparency > 0, static_cast<std::uint8_t>(255 - transparency));
        if (Tray_Icon_Component) Tray_Icon_Component->SetShowHint(false);
    }

    // 21: the testing panel takes its copy of the protocol when it is built or opened.
}

bool TMain_Form::Create_Error_Log()
{
    Errors = std::make_unique<Error_List>(*Seams.Clock_Source, Seams.Patterns.Long_Time);
    const std::string path = Paths.File("Error_Log.log");
    if (Write_Error_Log(path, {})) return true;
    if (Seams.Show_Plain_Message)
        Seams.Show_Plain_Message(Path_To_QString("Attempt to create the error log file " + path + "\rfailed."));
    Terminating = true;
    if (Seams.Quit_Application) Seams.Quit_Application();
    return false;
}

void TMain_Form::Report_Missing_Files(const std::vector<std::string>& missing)
{
    Errors->Add(" - CHECK_FILE_AVAILABILITY - missing " + std::to_string(missing.size()) + " file(s)");
    for (const std::string& name : missing) Errors->Add_Bare(name);
    if (Seams.Show_Plain_Message)
        // The protocol's whole path: an installed program keeps it in the user's folder.
        Seams.Show_Plain_Message(Path_To_QString("Some of source files needed for this application is missing.\r"
                                                 "It will be probably needed to reinstall the application.\r"
                                                 "Protocol will be saved to file " +
                                                 Paths.File("Error_Log.log")));
    Save_Error_Log_And_Terminate();
}

bool TMain_Form::Check_Required_Files()
{
    std::vector<std::string> names;
    const std::string list_path = Paths.File("File_List");
    const File_List_Status status = Read_File_List(list_path, names);
    if (status == File_List_Status::Missing)
    {
        // The list itself is the first required file.
        Report_Missing_Files({"File_List"});
        return false;
    }
    if (status != File_List_Status::Read)
    {
        // A list that names nothing, or more than the check can walk, protects nothing.
        const std::string problem =
            status == File_List_Status::Empty ? "names no file" : "names more than 256 files";
        Errors->Add(" - CHECK_FILE_AVAILABILITY - invalid file list " + File_Name_To_Cp1250(list_path) + " " + problem);
        if (Seams.Show_Plain_Message)
            Seams.Show_Plain_Message(Path_To_QString("The list of required files " + list_path + " " + problem +
                                                     ".\rIt will be probably needed to reinstall the application.\r"
                                                     "Protocol will be saved to file " +
                                                     Paths.File("Error_Log.log")));
        Save_Error_Log_And_Terminate();
        return false;
    }
    std::vector<std::string> missing;
    if (Check_File_Availability(Paths.Program_Directory, names, missing)) return true;
    Report_Missing_Files(missing);
    return false;
}

bool TMain_Form::Load_Skins()
{
    QPixmap* targets[] = {&Grid_Skins.Default_Data_Row_Bitmap, &Grid_Skins.Focused_Data_Row_Bitmap,
                          &Grid_Skins.Header_Row_Bitmap, &Button_Skin_Bitmap, &Minimize_Button_Skin_Bitmap};
    std::vector<std::string> unreadable;
    for (std::size_t index = 0; index < std::size(targets); ++index)
    {
        const std::string name = std::string("Skin/") + Skin_File_Names[index];
        if (!Load_Skin_Bitmap(Path_To_QString(Paths.File(name)), *targets[index])) unreadable.push_back(name);
    }
    if (unreadable.empty()) return true;
    // A skin that File_List did not protect is reported like a missing file.
    Report_Missing_Files(unreadable);
    return false;
}

void TMain_Form::Read_Setup_File()
{
    Read_Start_Up_Settings(Paths, Setup, Start_Values);
    Set_Window_Colour(Color_From_Bgr(Setup.Main_Form_Color));
    QPalette title_palette = Title->palette();
    title_palette.setColor(QPalette::WindowText, Color_From_Bgr(Setup.Title_Color));
    Title->setPalette(title_palette);
    QFont title_font = Title->font();
    title_font.setBold(Setup.Title_Bold);
    Title->setFont(title_font);
    if (Setup.Main_Form_Anchor == 0) move(Setup.Main_Form_Left, Setup.Main_Form_Top);
}

void TMain_Form::Read_Language_File()
{
    Texts = Load_Language_Texts(Setup.Language_File_Path);
    Add_Button->Set_Text(From_Cp1250(Texts.Main_Form_Captions[1]));
    Setup_Button->Set_Text(From_Cp1250(Texts.Main_Form_Captions[2]));
    Open_Log_Button->Set_Text(From_Cp1250(Texts.Main_Form_Captions[3]));
    Shutdown_Button->Set_Text(From_Cp1250(Texts.Main_Form_Captions[4]));
}

bool TMain_Form::Load_The_Day()
{
    Work_Log_Context context = Context();
    const Load_Day_Log_Result result = Load_Day_Log(context, Log);
    if (!result.Terminate_Requested) return true;
    Save_Error_Log_And_Terminate();
    return false;
}

void TMain_Form::Bring_Back_Onto_A_Screen()
{
    // A position stored on a screen that is gone would leave a window without a taskbar
    // button out of reach; one that shows on any screen, even in part, is kept.
    const QRect window_rectangle = geometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().intersects(window_rectangle)) return;
    const QRect work_area = Primary_Work_Area();
    if (!work_area.isEmpty()) move(Keep_Inside_Work_Area(window_rectangle, work_area).topLeft());
}
