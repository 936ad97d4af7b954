// The creation of the main window, in the fixed order in which the start-up prepares
// everything, and its orderly early ends.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "config/Language_File.h"
#include "config/Settings_File.h"
#include "config/Setup_Ini_Problem.h"
#include "config/Start_Up_Checks.h"
#include "history/History_Export.h"
#include "platform/Code_Page.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"
#include "ui/main/Command_Button_Bar.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/TMain_Form.h"
#include "ui/main/Title_Strip.h"
#include "ui/tray/TNotificationIcon.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Day_Start.h"
#include "worklog/Time_Values.h"

void TMain_Form::Form_Create()
{
    // 1-3: title, width, no window until the whole creation allows it; paths are set.
    Title->Set_Title(QString::fromLatin1(Application_Title));
    resize(Main_Form_Client_Width, height());
    Show_Main_Form_Flag = false;

    // 4: the protocol, emptied before anything else is logged.
    if (!Create_Error_Log()) return;
    for (const std::string& note : Seams.Start_Notes) Errors->Add(note);

    // 5: the record table.
    Grid = new TData_Grid(this, Log, Setup, Skins.Grid, *this);
    Grid->setGeometry(6, 46, 743, 0);
    Grid->show();

    // 6-8: the required files, then the skins.
    if (Start_Up_Failed(Check_Required_Files(Paths, *Errors))) return;
    const std::vector<std::string> unreadable = Skins.Load(Paths);
    // A skin that File_List did not protect is reported like a missing file.
    if (!unreadable.empty() && Start_Up_Failed(Report_Missing_Files(Paths, *Errors, unreadable))) return;
    Buttons->Set_Skin(Skins.Button_Skin_Bitmap);
    Title->Set_Minimize_Skin(Skins.Minimize_Button_Skin_Bitmap);

    // 9-10: the configuration and the texts.
    Read_Setup_File();
    Read_Language_File();

    // 11: the day.
    Program_Dialogs = Seams.Make_Message_Dialogs ? Seams.Make_Message_Dialogs(Setup, Resources()) : nullptr;
    if (!Program_Dialogs)
    {
        Save_Error_Log_And_Terminate();
        return;
    }
    Dialogs = std::make_unique<Counting_Message_Dialogs>(*Program_Dialogs, static_cast<Questioned_Window&>(*this));
    if (!Load_The_Day() || Terminating) return;

    // 12-16: layout, position, the add button's rule and the summary.
    Update_Layout();
    if (Setup.Main_Form_Anchor != 0) Apply_Anchor();
    if (const auto position = Position_Back_On_A_Screen(geometry())) move(*position);
    Rules.Refresh_Summary_Rows(Time_To_Minute_Of_Day(Seams.Clock_Source->Now()));
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
        Set_Alpha_Blend(true, Fading.Alpha_Blend_Value());
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
    const std::optional<std::string> failure = Create_Error_Log_File(Paths);
    if (!failure) return true;
    if (Seams.Show_Plain_Message) Seams.Show_Plain_Message(Path_To_QString(*failure));
    Terminating = true;
    if (Seams.Quit_Application) Seams.Quit_Application();
    return false;
}

bool TMain_Form::Start_Up_Failed(const std::optional<std::string>& plain_message)
{
    if (!plain_message) return false;
    if (Seams.Show_Plain_Message) Seams.Show_Plain_Message(Path_To_QString(*plain_message));
    Save_Error_Log_And_Terminate();
    return true;
}

void TMain_Form::Read_Setup_File()
{
    if (Seams.Before_Setup_Read) Seams.Before_Setup_Read(Paths);
    Read_Start_Up_Settings(Paths, Setup, Start_Values);
    if (const auto problem = Setup_Ini_Problem(Setup_Ini_Path(Paths))) Errors->Add(*problem);
    Set_Window_Colour(Color_From_Bgr(Setup.Main_Form_Color));
    Title->Set_Look(Setup);
    if (Setup.Main_Form_Anchor == 0) move(Setup.Main_Form_Left, Setup.Main_Form_Top);
}

void TMain_Form::Read_Language_File()
{
    Texts = Load_Language_Texts(Setup.Language_File_Path);
    // Texts that show their keys are explained in the protocol.
    if (const auto problem = Language_File_Problem(Setup.Language_File_Path)) Errors->Add(*problem);
    Buttons->Set_Captions(Texts);
}

void TMain_Form::Apply_Language_Change()
{
    const Language_Texts before = Texts;
    Read_Language_File();
    if (Seams.Language_Changed) Seams.Language_Changed(Setup.Language_File_Path);
    if (!Log.Empty())
    {
        // The day keeps its weekday; only its name changes language.
        for (std::size_t day = 1; day < before.Day_Names.size(); ++day)
            if (Log[0][Day_Name_Field] == before.Day_Names[day]) Log.Set_Day_Name(Texts.Day_Names[day]);
        if (Log[0][Work_Type_Field] == before.Day_Row_Label)
        {
            Work_Record day_row = Log[0];
            day_row[Work_Type_Field] = Texts.Day_Row_Label;
            Log.Replace_Record(0, day_row);
        }
    }
    Refresh_Summary_Rows();
    Checkpoint_Day_Log();
    update();
}

bool TMain_Form::Load_The_Day()
{
    Work_Log_Context context = Context();
    const Load_Day_Log_Result result = Load_Day_Log(context, Log, Record_Exported_Day_In_History);
    if (!result.Terminate_Requested) return true;
    Save_Error_Log_And_Terminate();
    return false;
}
