#include "ui/main/TMain_Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QPainter>

#include "history/History_Export.h"
#include "platform/Format.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"
#include "ui/main/Command_Button_Bar.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/Program_Icon.h"
#include "ui/main/Program_Shell.h"
#include "ui/main/Taskbar_Hint.h"
#include "ui/main/Title_Strip.h"
#include "ui/session/Time_Away_Watch.h"
#include "ui/tray/TNotificationIcon.h"
#include "worklog/Day_Log_File.h"
#include "worklog/End_Of_Day.h"
#include "worklog/Time_Values.h"

namespace
{
constexpr int Table_Left = 6;
constexpr int Table_Top = 46;
constexpr int Table_Width = 743;
constexpr int Layout_Extra_Height = 52;  // title strip, header and the margin below the table
}  // namespace

TMain_Form::TMain_Form(Main_Form_Seams seams)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), Seams(std::move(seams)), Paths(Seams.Program_Directory)
{
    setObjectName(QStringLiteral("Main_Form"));
    setWindowTitle(QString::fromLatin1(Main_Form_Caption));
    setFont(Program_Font());
    setWindowIcon(Program_Icon());
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    Set_Window_Colour(Color_From_Bgr(Setup.Main_Form_Color));
    move(185, 38);
    resize(Main_Form_Client_Width, 607);
    Create_Controls();
}

TMain_Form::~TMain_Form() = default;

void TMain_Form::Set_Window_Colour(const QColor& colour)
{
    QPalette window_palette = palette();
    window_palette.setColor(QPalette::Window, colour);
    setPalette(window_palette);
}

void TMain_Form::Create_Controls()
{
    Title = std::make_unique<Title_Strip>(this, &Input, *this);
    Buttons = std::make_unique<Command_Button_Bar>(this, *this);

    Update_Timer.setInterval(500);
    connect(&Update_Timer, &QTimer::timeout, this, [this] { Update_TimerTimer(); });

    if (Seams.Tray)
    {
        Tray_Icon_Component = std::make_unique<TNotificationIcon>(*Seams.Tray, this);
        Tray_Icon_Component->SetIcon(windowIcon());
        Tray_Icon_Component->OnMouseDown = [this](TNotificationIcon*, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                                  int) {
            Tray_IconMouseDown();
        };
        Tray_Icon_Component->OnDblClick = [this](TNotificationIcon*) {
            Tray_IconDblClick();
        };
        // In the tray from the moment the layout exists: during the start-up questions and
        // the splash screen too.
        Tray_Icon_Component->SetIconVisible(true);
    }
}

void TMain_Form::Save_Error_Log_And_Terminate()
{
    const std::string path = Paths.File("Error_Log.log");
    if (!Write_Error_Log(path, Errors ? Errors->Lines() : std::vector<std::string>{}))
    {
        if (Seams.Show_Plain_Message)
            Seams.Show_Plain_Message(Path_To_QString("Attempt to save the error log into " + path + "\rfailed."));
    }
    Terminating = true;
    if (Seams.Quit_Application) Seams.Quit_Application();
}

void TMain_Form::Testing_Panel_Opened()
{
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    Buttons->Show_Inside(height());
}

void TMain_Form::Testing_Panel_Closed()
{
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
}

void TMain_Form::Credits_Due()
{
    update();
    Show_Credits();
}

Dialog_Resources TMain_Form::Resources() { return {Paths, *Errors, Skins.Button_Skin_Bitmap, this}; }

Work_Log_Context TMain_Form::Context()
{
    return Work_Log_Context{Paths, *Seams.Clock_Source, Seams.Patterns, *Errors,     *Dialogs,
                            Setup, Start_Values,        Texts,          *Seams.Files};
}

// ---------------------------------------------------------------------------------------
// Layout and summary

void TMain_Form::Update_Layout()
{
    const int table_height = int(Log.Size()) * Data_Row_Height;
    if (Grid) Grid->setGeometry(Table_Left, Table_Top, Table_Width, table_height);
    if (!Testing_Panel_Mode.Active()) resize(Main_Form_Client_Width, table_height + Bar.Height() + Layout_Extra_Height);
    Buttons->Place(table_height + 51);
    Buttons->Show_Inside(height());
    if (Grid) Grid->Paint_All_Rows();
    update();
}

void TMain_Form::Apply_Anchor()
{
    if (const auto position = Anchored_Position(Setup.Main_Form_Anchor, Primary_Work_Area(), size())) move(*position);
}

void TMain_Form::Refresh_Summary_Rows()
{
    // The day's rules keep the summary rows current; they are drawn here.
    if (Log.Empty() || !Grid) return;
    Grid->Draw_Row(0, Grid->Highlighted_Row() == 0);
    Tray_Hint = From_Cp1250(Rules.Tray_Hint());
    if (Tray_Icon_Component) Tray_Icon_Component->SetHint(Tray_Hint);
    if (Log.Size() > 1) Grid->Draw_Row(1, Grid->Highlighted_Row() == 1);
}

void TMain_Form::Update_TimerTimer()
{
    if (!Seams.Clock_Source || Day_Has_Ended || Changing_Day) return;
    if (Change_Day_When_Due()) return;
    Watch_Time_Away();
    // At most one refresh per minute.
    if (!Rules.Refresh_For_Minute(Time_To_Minute_Of_Day(Seams.Clock_Source->Now()))) return;
    if (Rules.Full_Time_Reached() && Tray_Icon_Component)
        Tray_Icon_Component->DisplayBalloon(From_Cp1250(Texts.Tray_Text_2), From_Cp1250(Texts.Tray_Text_3), 4, 10);
    Refresh_Summary_Rows();
    Checkpoint_Day_Log();
}

bool TMain_Form::Change_Day_When_Due()
{
    if (!Creation_Done || !Errors || !Dialogs || !Seams.Files) return false;
    // An open dialog is never torn down: the new day waits until it has closed.
    const bool dialog_open = Any_Dialog_Open() || QApplication::activeModalWidget() != nullptr;
    Changing_Day = true;
    Work_Log_Context context = Context();
    const Day_Change_Outcome outcome =
        Day_Change.Change_When_Due(context, Log, dialog_open, Record_Exported_Day_In_History);
    Changing_Day = false;
    switch (outcome)
    {
    case Day_Change_Outcome::Same_Day: return false;
    case Day_Change_Outcome::Waiting: return true;
    case Day_Change_Outcome::Terminate:
        // The stored day waits for its export at the next start; nothing is saved over it.
        Day_Has_Ended = true;
        Update_Timer.stop();
        hide();
        if (Tray_Icon_Component) Tray_Icon_Component->SetIconVisible(false);
        Save_Error_Log_And_Terminate();
        return true;
    case Day_Change_Outcome::Changed: break;
    }
    Grid->Clear_Highlight();
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    Rules.Refresh_Summary_Rows(Time_To_Minute_Of_Day(Seams.Clock_Source->Now()));
    Keep_Add_Button_Rule();
    Refresh_Summary_Rows();
    if (!Day_Change.Summary().empty() && Tray_Icon_Component)
    {
        QString summary = From_Cp1250(Day_Change.Summary());
        summary.replace(QLatin1Char('#'), QLatin1Char('\n'));
        Tray_Icon_Component->DisplayBalloon(From_Cp1250(Day_Change.Summary_Title()), summary, 4, 10);
    }
    return true;
}

void TMain_Form::Checkpoint_Day_Log()
{
    if (Day_Has_Ended || !Creation_Done || !Errors || !Dialogs || !Seams.Files) return;
    Work_Log_Context context = Context();
    if (Day_Checkpoint.Save(context, Log) == Day_Log_Checkpoint::Outcome::Started_Failing) Show_Checkpoint_Warning();
}

void TMain_Form::Show_Checkpoint_Warning()
{
    // Told once the change that failed to be stored has had its turn and no other dialog
    // is open (the editor may still be closing); not at all when a later save succeeded.
    QTimer::singleShot(Any_Dialog_Open() ? 200 : 0, this, [this] {
        if (Day_Has_Ended || !Day_Checkpoint.Failing()) return;
        if (Any_Dialog_Open())
        {
            Show_Checkpoint_Warning();
            return;
        }
        Work_Log_Context context = Context();
        Day_Checkpoint.Show_Warning(context);
    });
}

// ---------------------------------------------------------------------------------------
// Table

bool TMain_Form::Question_Open() const { return Dialogs && Dialogs->Question_Open(); }

bool TMain_Form::Any_Dialog_Open() const { return Editor_Open || Setup_Open || Question_Open(); }

bool TMain_Form::Add_Record_Button_Enabled() const { return Buttons->Add_Record_Button()->isEnabled(); }

void TMain_Form::Day_Changed()
{
    Refresh_Summary_Rows();
    Keep_Add_Button_Rule();
    Checkpoint_Day_Log();
}

QPoint TMain_Form::Position_To_Save() const { return {x(), Bar.Top_To_Save(y())}; }

void TMain_Form::Set_Alpha_Blend(bool enabled, std::uint8_t value) { Fading.Set_Alpha_Blend(enabled, value); }

void TMain_Form::Open_Editor_For_Row(std::uint8_t row)
{
    Edited_Row_Index = row;
    Run_Record_Editor(false);
}

void TMain_Form::Run_Record_Editor(bool add_mode)
{
    if (!Seams.Display_Update_Record_Form || !Dialogs || Editor_Open) return;
    Editor_Open = true;
    const Dialog_Resources resources = Resources();
    const int result =
        Seams.Display_Update_Record_Form(Rules, Setup, Texts, *Grid, resources, *Dialogs, Edited_Row_Index, add_mode);
    Editor_Open = false;
    if (Day_Has_Ended) return;
    Take_Focus_Back();
    Input.Arm();
    // The table may have grown or shrunk while the editor was open.
    if (result == QDialog::Accepted) Day_Changed();
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    if (!add_mode || result != QDialog::Accepted) return;
    // A window grown by a row still ends above the work area's bottom.
    const QRect work_area = Primary_Work_Area();
    if (y() + height() > work_area.height()) move(x(), work_area.height() - height());
}

// ---------------------------------------------------------------------------------------
// Commands

bool TMain_Form::Run_Command(Main_Form_Key command)
{
    switch (command)
    {
    case Main_Form_Key::Delete_Highlighted_Record: Delete_Highlighted_Record(); break;
    case Main_Form_Key::Clear_All_Records: Clear_All_Records(); break;
    case Main_Form_Key::Toggle_Button_Bar: Toggle_Button_Bar(); break;
    case Main_Form_Key::Minimize: Minimize_ButtonClick(); break;
    case Main_Form_Key::Add_Record: Add_Record_ButtonClick(); break;
    case Main_Form_Key::Shutdown: Shutdown_ButtonClick(); break;
    case Main_Form_Key::Open_Log: Open_Log_ButtonClick(); break;
    case Main_Form_Key::Setup: Setup_ButtonClick(); break;
    case Main_Form_Key::Report: return Report_ButtonClick();
    case Main_Form_Key::Quit: End_Day_And_Quit(); break;
    case Main_Form_Key::Wheel_Up: Form_Mouse_Wheel_Up(); break;
    case Main_Form_Key::Wheel_Down: Form_Mouse_Wheel_Down(); break;
    case Main_Form_Key::None:
    case Main_Form_Key::Modifier: break;
    }
    return false;
}

int TMain_Form::Ask(Program_Message message) { return Dialogs ? Put_Message(*Dialogs, Texts, message) : 2; }

void TMain_Form::Toggle_Button_Bar()
{
    move(x(), Bar.Toggle(y(), height(), Primary_Work_Area().height(), Setup.Main_Form_Anchor != 0));
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    update();
}

void TMain_Form::Delete_Highlighted_Record()
{
    const std::uint8_t highlighted = Grid->Highlighted_Row();
    if (Rules.Delete_User_Row(highlighted, false) != Day_Verdict::Ask_Before_Deleting) return;
    if (Ask(Program_Message::Ask_Before_Deleting_Record) == 2 || Day_Has_Ended)
    {
        Grid->Clear_Highlight();
        return;
    }
    // The row may have gone while the question was open.
    if (Rules.Delete_User_Row(highlighted, true) != Day_Verdict::Done) return;
    Refresh_Summary_Rows();
    Update_Layout();
    Keep_Add_Button_Rule();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    Grid->Clear_Highlight();
    Checkpoint_Day_Log();
}

void TMain_Form::Clear_All_Records()
{
    if (Rules.Clear_User_Rows(false) != Day_Verdict::Ask_Before_Clearing) return;
    Grid->Clear_Highlight();
    if (Ask(Program_Message::Ask_Before_Clearing_Records) == 2 || Day_Has_Ended) return;
    Rules.Clear_User_Rows(true);
    Refresh_Summary_Rows();
    Update_Layout();
    Keep_Add_Button_Rule();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    Checkpoint_Day_Log();
}

void TMain_Form::Keep_Add_Button_Rule() { Buttons->Add_Record_Button()->setEnabled(Rules.May_Add_Record()); }

void TMain_Form::Form_Mouse_Wheel_Down()
{
    const std::uint8_t row = Grid->Pointer_Row();
    switch (Rules.Shorten_Record(row))
    {
    case Day_Verdict::Done: Show_Wheeled_Duration(row); break;
    // A record is not shortened to nothing: the user is asked to delete it instead.
    case Day_Verdict::Ask_Before_Deleting: Delete_Highlighted_Record(); break;
    default: break;
    }
}

void TMain_Form::Form_Mouse_Wheel_Up()
{
    const std::uint8_t row = Grid->Pointer_Row();
    Day_Verdict verdict = Rules.Lengthen_Record(row, false);
    if (verdict == Day_Verdict::Ask_Overtime_Editing)
    {
        if (Ask(Program_Message::Ask_About_Overtime_When_Editing) == 2 || Day_Has_Ended) return;
        verdict = Rules.Lengthen_Record(row, true);
    }
    if (verdict == Day_Verdict::Done) Show_Wheeled_Duration(row);
}

void TMain_Form::Show_Wheeled_Duration(std::uint8_t row)
{
    Refresh_Summary_Rows();
    // The row that changed, which the pointer may have left already.
    Grid->Draw_Row(row, row == Grid->Highlighted_Row());
    Keep_Add_Button_Rule();
    Checkpoint_Day_Log();
}

void TMain_Form::Add_Record_ButtonClick()
{
    if (!Add_Record_Button_Enabled()) return;
    Grid->Draw_Row(Grid->Pointer_Row(), false);
    Edited_Row_Index = static_cast<std::uint8_t>(Log.Size());
    Run_Record_Editor(true);
}

void TMain_Form::Setup_ButtonClick()
{
    if (!Seams.Display_Setup_Form || !Dialogs || Setup_Open) return;
    Setup_Open = true;
    const Dialog_Resources resources = Resources();
    const std::string language_before = Setup.Language_File_Path;
    Seams.Display_Setup_Form(Setup, Texts, *this, resources, *Dialogs);
    Setup_Open = false;
    if (Setup.Language_File_Path != language_before) Apply_Language_Change();
    Take_Focus_Back();
    Input.Arm();
}

void TMain_Form::Take_Focus_Back()
{
    // A closed dialog leaves the focus to the window manager, which may give it to no
    // window at all: some pass it on only to normal windows, and this one is a tool window.
    if (Day_Has_Ended || !Is_Showing() || QApplication::activeModalWidget() != nullptr) return;
    raise();
    activateWindow();
}

void TMain_Form::Open_Log_ButtonClick()
{
    if (Seams.Shell) Seams.Shell->Open_Document(Setup.Target_Log_File_Name);
}

void TMain_Form::Show_Credits()
{
    if (!Dialogs) return;
    const std::string title(Application_Title);
    const std::string text = ".:*:.  " + title + "  .:*:.#" + std::string(title.size() + 14, '.') +
                             "#written and kept by the Zentavo Logger developers";
    Dialogs->Display_Message_Dialog("Warning_Icon_Source.bmp", 120, text, ":o)", "", {});
}

bool TMain_Form::Report_ButtonClick()
{
    return Seams.Display_Report_Form && Errors && Seams.Display_Report_Form(Setup, Texts, Resources());
}

void TMain_Form::Shutdown_ButtonClick()
{
    if (Ask(Program_Message::Ask_Before_Shutdown) == 2 || Day_Has_Ended) return;
    // The day is saved by the close before the system goes down.
    close();
    if (Day_Has_Ended && Seams.Shell) Seams.Shell->Request_Shutdown();
}

// ---------------------------------------------------------------------------------------
// Events

void TMain_Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw_Header_Row(painter, Table_Left, Table_Top, Setup, Skins.Grid, Texts.Column_Names);
    // The one-pixel frame along the edges of the borderless window.
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void TMain_Form::showEvent(QShowEvent* event)
{
    // Form_Show: the program never has a taskbar button. Qt::Tool alone is not honoured by
    // every taskbar; the hint is set before the window maps, where the window manager reads it.
    if (Tray_Icon_Component) Tray_Icon_Component->HideAppButton();
    Keep_Off_The_Taskbar(*this);
    QWidget::showEvent(event);
}

void TMain_Form::Show_At_Start()
{
    // A window shown directly comes to the front with the keyboard focus, so that its
    // keys act without a click first.
    show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void TMain_Form::closeEvent(QCloseEvent* event)
{
    // Closing is never refused; the day ends once.
    event->accept();
    End_Day_And_Quit();
}

void TMain_Form::End_Day_And_Quit()
{
    if (Day_Has_Ended || Ending_Day) return;
    if (!Creation_Done)
    {
        // The day was not loaded yet: nothing may be saved over the stored day.
        Save_Error_Log_And_Terminate();
        return;
    }
    Ending_Day = true;
    Update_Timer.stop();
    Fading.Effect_Timer_Of_Main_Form().stop();
    Dragger.Stop();
    Form_Close_Query();
    Day_Has_Ended = true;
    Form_Close();
    Ending_Day = false;
}

bool TMain_Form::Form_Close_Query()
{
    // Closing is never refused; the save retries as long as the user asks.
    Work_Log_Context context = Context();
    return Save_Day_Log_At_Close(context, Log);
}

void TMain_Form::Form_Close()
{
    hide();
    if (Tray_Icon_Component) Tray_Icon_Component->SetIconVisible(false);
    Work_Log_Context context = Context();
    Show_Day_Summary(context, Log);
    Checkpoint_History_When_Due(Paths);
    Save_Error_Log_And_Terminate();
}
