#pragma once
// The main window: a borderless skinned panel with the record table, the live summary of
// the day, the keys, the wheel and the command buttons. It owns the day for the life of
// the process and ends the day in an orderly way when it closes.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "config/Error_List.h"
#include "config/Language_Texts.h"
#include "config/Program_Messages.h"
#include "config/Program_Paths.h"
#include "config/Program_Version.h"
#include "config/Settings.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/Main_Form_Preview.h"
#include "ui/main/Button_Bar_State.h"
#include "ui/main/Main_Form_Fader.h"
#include "ui/main/Main_Form_Input.h"
#include "ui/main/Main_Form_Seams.h"
#include "ui/main/Main_Form_Skins.h"
#include "ui/main/TData_Grid.h"
#include "ui/main/Testing_Mode.h"
#include "ui/main/Window_Drag.h"
#include "worklog/Day_Log.h"
#include "worklog/Day_Log_Checkpoint.h"
#include "worklog/Day_Rules.h"
#include "worklog/Running_Day_Change.h"
#include "worklog/Work_Log_Context.h"

class Command_Button_Bar;
class Title_Strip;
class TVela_Button;
class TNotificationIcon;
class Counting_Message_Dialogs;

inline constexpr const char* Application_Title = "Zentavo Logger " ZL_PROGRAM_VERSION;
inline constexpr const char* Main_Form_Caption = "Zentavo Logger";
inline constexpr int Main_Form_Client_Width = 755;

class TMain_Form : public QWidget, public Main_Form_Preview
{
    Q_OBJECT

public:
    explicit TMain_Form(Main_Form_Seams seams);
    ~TMain_Form() override;

    // The creation sequence; afterwards either Termination_Requested() (the program ends
    // without a window) or Show_Main_Form() tells whether to show the window.
    void Form_Create();
    bool Termination_Requested() const { return Terminating; }
    bool Show_Main_Form() const { return Show_Main_Form_Flag; }
    // Shows the window at the end of the start, in front and with the keyboard focus.
    void Show_At_Start();
    bool Created() const { return Creation_Done; }

    // The record editor stored a record: the summary, the add button and the stored day follow.
    void Day_Changed();

    // Main_Form_Preview
    void Set_Alpha_Blend(bool enabled, std::uint8_t value) override;
    void Apply_Anchor() override;
    QPoint Position_To_Save() const override;

    // What the window owns for the life of the process.
    const Day_Log& Day_Log_Of_Main_Form() const { return Log; }
    Settings& Settings_Of_Main_Form() { return Setup; }
    const Language_Texts& Texts_Of_Main_Form() const { return Texts; }
    Error_List& Error_List_Of_Main_Form() { return *Errors; }
    std::uint8_t Edited_Row() const { return Edited_Row_Index; }
    // Draws the summary rows the day's rules keep, and gives the tray its hint.
    void Refresh_Summary_Rows();
    void Update_Layout();
    bool Add_Record_Button_Enabled() const;
    bool Moved_For_Bar() const { return Bar.Moved_For_Bar(); }
    // Saves the day log silently after a change, so a crash loses nothing.
    void Checkpoint_Day_Log();

    // Commands.
    void Toggle_Button_Bar();
    void Delete_Highlighted_Record();
    void Clear_All_Records();
    void Form_Mouse_Wheel_Down();
    void Form_Mouse_Wheel_Up();
    void Add_Record_ButtonClick();
    void Setup_ButtonClick();
    void Open_Log_ButtonClick();
    void Shutdown_ButtonClick();
    // Gives true when the report window opened and has the keyboard.
    bool Report_ButtonClick();
    void Minimize_ButtonClick();
    void Update_TimerTimer();
    // A second start asks the running window to come forward.
    void Restore_Request();
    void Tray_IconMouseDown();
    void Tray_IconDblClick();
    void Fade_Out_To_Tray();
    // The window's answer to a proposed position while it is dragged: gives the rectangle
    // it may take.
    QRect Form_Moving(QRect proposed);
    // Visible and not minimised: the state in which the tray brings it only to the front.
    bool Is_Showing() const;

    // The orderly end of the day, as a close request or a termination signal runs it.
    void End_Day_And_Quit();
    void Save_Error_Log_And_Terminate();

    // State the tests and the neighbouring parts look at.
    TData_Grid* Data_Grid() const { return Grid; }
    int Button_Bar_Height() const { return Bar.Height(); }
    bool Key_Armed_State() const { return Input.Key_Armed(); }
    bool Is_Fading() const { return Fading.Is_Fading(); }
    Main_Form_Fader& Fader() { return Fading; }
    Testing_Mode& Testing() { return Testing_Panel_Mode; }
    Window_Drag& Drag() { return Dragger; }
    const QString& Tray_Hint_Text() const { return Tray_Hint; }
    TNotificationIcon* Tray_Icon() const { return Tray_Icon_Component.get(); }
    bool Day_Ended() const { return Day_Has_Ended; }
    TVela_Button* Add_Record_Button() const;
    QLabel* Title_Label() const;
    QTimer& Update_Timer_Of_Main_Form() { return Update_Timer; }
    bool Message_Dialog_Open() const { return Message_Dialog_Depth > 0; }
    bool Record_Editor_Open() const { return Editor_Open; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override { Input.Key_Press(event); }
    void keyReleaseEvent(QKeyEvent* event) override { Input.Key_Release(event); }
    void mousePressEvent(QMouseEvent* event) override { Input.Mouse_Press(event); }
    void mouseMoveEvent(QMouseEvent* event) override { Input.Mouse_Move(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Input.Mouse_Release(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Input.Double_Click(event); }
    void wheelEvent(QWheelEvent* event) override { Input.Wheel(event); }
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Create_Controls();
    bool Create_Error_Log();
    void Read_Setup_File();
    void Read_Language_File();
    // Another language file was chosen: the texts, and today's day name, follow at once.
    void Apply_Language_Change();
    bool Load_The_Day();
    // Shows the message of a failed start-up check and ends the program; false without one.
    bool Start_Up_Failed(const std::optional<std::string>& plain_message);
    int Ask(Program_Message message);
    // Back in front with the keyboard once a dialog of the window has closed.
    void Take_Focus_Back();
    void Show_Credits();
    bool Form_Close_Query();
    void Form_Close();
    void Open_Editor_For_Row(std::uint8_t row);
    void Keep_Add_Button_Rule();
    // The wheel has changed a record: redraw, the add button's rule, the stored day.
    void Show_Wheeled_Duration(std::uint8_t row);
    void Set_Window_Colour(const QColor& colour);
    Work_Log_Context Context();
    Dialog_Resources Resources();
    Testing_Mode::Hooks Testing_Hooks();
    void Run_Record_Editor(bool add_mode);

    Main_Form_Seams Seams;
    Program_Paths Paths;
    std::unique_ptr<Error_List> Errors;
    Settings Setup;
    Start_Up_Values Start_Values;
    Language_Texts Texts;
    Day_Log Log;
    Day_Rules Rules{Log, Setup, Texts};
    Main_Form_Fader Fading{*this, Setup};
    Window_Drag Dragger{*this, [this](QRect proposed) {
                            return Form_Moving(proposed);
                        }};
    Main_Form_Input Input{*this};
    Testing_Mode Testing_Panel_Mode{*this, Input, Testing_Hooks()};
    std::shared_ptr<Message_Dialogs> Program_Dialogs;
    std::unique_ptr<Counting_Message_Dialogs> Dialogs;

    Main_Form_Skins Skins;

    std::unique_ptr<Title_Strip> Title;
    std::unique_ptr<Command_Button_Bar> Buttons;
    TData_Grid* Grid = nullptr;
    std::unique_ptr<TNotificationIcon> Tray_Icon_Component;
    QTimer Update_Timer;

    Button_Bar_State Bar;
    std::uint8_t Edited_Row_Index = 0;
    QString Tray_Hint;
    int Message_Dialog_Depth = 0;
    bool Editor_Open = false;
    bool Setup_Open = false;

    bool Terminating = false;
    bool Show_Main_Form_Flag = false;
    bool Creation_Done = false;
    bool Day_Has_Ended = false;
    bool Ending_Day = false;
    // A new date while the window runs: the day ends and a new one begins.
    Running_Day_Change Day_Change;
    bool Changing_Day = false;
    // Gives true when the minute's refresh is not to run now.
    bool Change_Day_When_Due();
    // Whether the saves after each change reach the disk; the user hears once when they do not.
    Day_Log_Checkpoint Day_Checkpoint;
    void Show_Checkpoint_Warning();
};
