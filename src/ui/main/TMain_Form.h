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
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/Main_Form_Commands.h"
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
class Time_Away_Watch;

inline constexpr const char* Application_Title = "Zentavo Logger " ZL_PROGRAM_VERSION;
inline constexpr const char* Main_Form_Caption = "Zentavo Logger";
inline constexpr int Main_Form_Client_Width = 755;

// Its parts call it back through the narrow interfaces it implements, one per part.
class TMain_Form : public QWidget,
                   public Main_Form_Preview,
                   public Main_Form_Commands,
                   private Data_Grid_Window,
                   private Testing_Mode_Window,
                   private Faded_Window,
                   private Dragged_Window,
                   private Questioned_Window
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

    // Main_Form_Preview
    void Set_Alpha_Blend(bool enabled, std::uint8_t value) override;
    void Apply_Anchor() override;
    QPoint Position_To_Save() const override;

    // Main_Form_Commands: what the keys, the buttons, the wheel and the tray menu ask for.
    bool Run_Command(Main_Form_Key command) override;
    bool Day_Ended() const override { return Day_Has_Ended; }
    bool Is_Fading() const override { return Fading.Is_Fading(); }

    Settings& Settings_Of_Main_Form() { return Setup; }
    Error_List& Error_List_Of_Main_Form() { return *Errors; }
    TNotificationIcon* Tray_Icon() const override { return Tray_Icon_Component.get(); }
    bool Add_Record_Button_Enabled() const;
    // Visible and not minimised: the state in which the tray brings it only to the front.
    bool Is_Showing() const;
    // A second start asks the running window to come forward.
    void Restore_Request();
    // The orderly end of the day, as a close request or a termination signal runs it.
    void End_Day_And_Quit();

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
    void Keep_Add_Button_Rule();
    // The wheel has changed a record: redraw, the add button's rule, the stored day.
    void Show_Wheeled_Duration(std::uint8_t row);
    void Set_Window_Colour(const QColor& colour);
    Work_Log_Context Context();
    Dialog_Resources Resources();
    void Run_Record_Editor(bool add_mode);
    // The record editor stored a record: the summary, the add button and the stored day follow.
    void Day_Changed();
    // Draws the summary rows the day's rules keep, and gives the tray its hint.
    void Refresh_Summary_Rows();
    void Update_Layout();
    // Saves the day log silently after a change, so a crash loses nothing.
    void Checkpoint_Day_Log();
    void Save_Error_Log_And_Terminate();
    // The editor, the settings or a question is open.
    bool Any_Dialog_Open() const;

    // Commands.
    void Toggle_Button_Bar();
    void Delete_Highlighted_Record() override;
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
    void Tray_IconMouseDown();
    void Tray_IconDblClick();
    void Fade_Out_To_Tray();

    // Data_Grid_Window
    bool Is_Dialog_Open() const override { return Editor_Open || Question_Open(); }
    void Open_Editor_For_Row(std::uint8_t row) override;
    // Testing_Mode_Window
    const Error_List* Protocol() const override { return Errors.get(); }
    void Testing_Panel_Opened() override;
    void Testing_Panel_Closed() override;
    void Credits_Due() override;
    // Faded_Window: a key released while the window was away never reached it.
    void Revealing() override { Input.Arm(); }
    // Dragged_Window: the rectangle the window may take while it is dragged.
    QRect Form_Moving(QRect proposed) override;
    // Questioned_Window
    void Questions_Closed() override { Take_Focus_Back(); }
    bool Question_Open() const;

    // What only the tests look at.
    friend class TMain_Form_Test_Peer;

    Main_Form_Seams Seams;
    Program_Paths Paths;
    std::unique_ptr<Error_List> Errors;
    Settings Setup;
    Start_Up_Values Start_Values;
    Language_Texts Texts;
    Day_Log Log;
    Day_Rules Rules{Log, Setup, Texts};
    Main_Form_Fader Fading{*this, *this, Setup};
    Window_Drag Dragger{*this, *this};
    Main_Form_Input Input{*this, Dragger, Testing_Panel_Mode, Setup};
    Testing_Mode Testing_Panel_Mode{*this, *this, Input};
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
    // Time away is asked about at the minute's work, after a new date had its turn.
    std::unique_ptr<Time_Away_Watch> Away_Watch;
    void Watch_Time_Away();
};
