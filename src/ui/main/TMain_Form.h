#pragma once
// The main window: a borderless skinned panel with the record table, the live summary of
// the day, the keys, the wheel and the command buttons. It owns the day for the life of
// the process and ends the day in an orderly way when it closes.
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/Error_List.h"
#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "ui/dialogs/Main_Form_Access.h"
#include "ui/main/TData_Grid.h"
#include "worklog/Day_Log.h"
#include "worklog/Day_Log_Checkpoint.h"
#include "worklog/Work_Log_Context.h"
#include "worklog/Work_Log_File_System.h"

class Program_Shell;
class Tray_Shell;
class TVela_Button_;
class TNotificationIcon;
class QFrame;
class QListWidget;
class Counting_Message_Dialogs;

inline constexpr const char* Application_Title = "Zentavo Logger 0.0.72";
inline constexpr const char* Main_Form_Caption = "Zentavo Logger";
inline constexpr int Main_Form_Client_Width = 755;

// Everything the main window reaches outside itself, passed in so tests can stand in.
struct Main_Form_Seams
{
    std::string Program_Directory;
    const Clock* Clock_Source = nullptr;
    Date_Time_Patterns Patterns;
    Program_Shell* Shell = nullptr;
    Tray_Shell* Tray = nullptr;
    // Made once the skins, settings and texts exist (the program's dialog needs them).
    std::function<std::shared_ptr<Message_Dialogs>(Main_Form_Access&)> Make_Message_Dialogs;
    // The platform's plain message box with one OK button (start-up failures).
    std::function<void(const QString&)> Show_Plain_Message;
    // Asks the application to end once control is back in its event loop.
    std::function<void()> Quit_Application;
    // The record editor and the settings dialog; empty ones do nothing.
    std::function<void(Main_Form_Access&, Message_Dialogs&, bool add_mode)> Display_Update_Record_Form;
    std::function<void(Main_Form_Access&, Message_Dialogs&)> Display_Setup_Form;
    // The report window (non-modal); an empty one does nothing.
    std::function<void(Main_Form_Access&)> Display_Report_Form;
    // The file layer of the day log and the target log.
    Work_Log_File_System* Files = nullptr;
    // Protocol lines of what the entry decided before the protocol existed.
    std::vector<std::string> Start_Notes;
};

class TMain_Form : public QWidget, public Main_Form_Access
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

    // Main_Form_Access
    Day_Log& Day_Log_Of_Main_Form() override { return Log; }
    Settings& Settings_Of_Main_Form() override { return Setup; }
    const Language_Texts& Texts_Of_Main_Form() override { return Texts; }
    const Program_Paths& Paths_Of_Main_Form() override { return Paths; }
    Error_List& Error_List_Of_Main_Form() override { return *Errors; }
    const QPixmap& Button_Skin_Of_Main_Form() override { return Button_Skin_Bitmap; }
    QWidget* Main_Form_Widget() override { return this; }
    void Draw_Row(std::uint8_t row, bool highlighted) override;
    std::uint8_t Highlighted_Row() const override;
    void Set_Highlighted_Row(std::uint8_t row) override;
    std::uint8_t Edited_Row() const override { return Edited_Row_Index; }
    void Refresh_Summary_Rows() override;
    void Update_Layout() override;
    void Apply_Anchor() override;
    bool Add_Record_Button_Enabled() const override;
    void Set_Add_Record_Button_Enabled(bool enabled) override;
    void Set_Key_Armed(bool armed) override { Key_Armed = armed; }
    bool Moved_For_Bar() const override { return Moved_For_Bar_Flag; }
    int Top_Before_Bar() const override { return Top_Before_Bar_Value; }
    void Set_Alpha_Blend(bool enabled, std::uint8_t value) override;
    void Checkpoint_Day_Log() override;

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
    void Minimize_ButtonClick();
    void Update_TimerTimer();
    // A second start asks the running window to come forward.
    void Restore_Request();
    void Tray_IconMouseDown();
    void Tray_IconDblClick();
    void Fade_Out_To_Tray();
    void Fade_In_From_Tray();
    void Effect_TimerTimer();
    // The window's answer to a proposed position while it is dragged: gives the rectangle
    // it may take.
    QRect Form_Moving(QRect proposed);
    // Visible and not minimised: the state in which the tray brings it only to the front.
    bool Is_Showing() const;

    // The testing panel.
    void Form_Key_Press(QChar character);
    void Build_Testing_Panel();
    void Copy_Protocol_To_Testing_Panel();
    void TST_Exit_Testing_ModeClick();
    void TST_Exit_Testing_ModeMouseEnter();
    void Error_List_BoxMouseMove(const QPoint& position);
    void Error_List_BoxKeyPress(QChar character);

    // The orderly end of the day, as a close request or a termination signal runs it.
    void End_Day_And_Quit();
    void Save_Error_Log_And_Terminate();

    // State the tests and the neighbouring parts look at.
    TData_Grid* Data_Grid() const { return Grid; }
    int Button_Bar_Height() const { return Bar_Height; }
    bool Key_Armed_State() const { return Key_Armed; }
    bool Is_Fading() const { return Effect_Timer.isActive(); }
    bool Testing_Mode() const { return Testing_Mode_Flag; }
    QFrame* Testing_Panel_Widget();
    TVela_Button_* Exit_Testing_Mode_Button();
    int Access_Code_Position() const { return Access_Code_Position_Value; }
    int Credits_Step() const { return Credits_Step_Value; }
    const QString& Error_List_Box_Hint() const { return Error_List_Hint; }
    bool Fading_In() const { return Fading_In_Flag; }
    bool Dragging() const { return Drag_Active; }
    const QString& Tray_Hint_Text() const { return Tray_Hint; }
    TNotificationIcon* Tray_Icon() const { return Tray_Icon_Component.get(); }
    bool Alpha_Blend() const { return Alpha_Blend_On; }
    std::uint8_t Alpha_Blend_Value() const { return Alpha_Blend_Level; }
    bool Day_Ended() const { return Day_Has_Ended; }
    TVela_Button_* Add_Record_Button() const { return Add_Button; }
    QListWidget* Error_List_Box();
    QLabel* Title_Label() const { return Title; }
    QTimer& Update_Timer_Of_Main_Form() { return Update_Timer; }
    QTimer& Effect_Timer_Of_Main_Form() { return Effect_Timer; }
    bool Message_Dialog_Open() const { return Message_Dialog_Depth > 0; }
    bool Record_Editor_Open() const { return Editor_Open; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Create_Controls();
    bool Create_Error_Log();
    bool Check_Required_Files();
    bool Load_Skins();
    void Read_Setup_File();
    void Read_Language_File();
    bool Load_The_Day();
    void Report_Missing_Files(const std::vector<std::string>& missing);
    int Ask(const char* icon, int interval, int message_key);
    void Form_Key_Down(QKeyEvent* event);
    void Form_Key_Up(QKeyEvent* event);
    void Form_Mouse_Down(QMouseEvent* event);
    void Form_Mouse_Move(QMouseEvent* event);
    void Form_Mouse_Up(QMouseEvent* event);
    void Form_Dbl_Click(QMouseEvent* event);
    bool Previewed_Already() const;
    void Show_Buttons_Inside_The_Window();
    // Back in front with the keyboard once a dialog of the window has closed.
    void Take_Focus_Back();
    void Form_Typed_Text(QKeyEvent* event, bool into_error_list);
    void Reveal_Main_Form();
    void Conceal_Main_Form();
    void Set_Tray_Show_Hint(bool show);
    void Show_Credits();
    bool Form_Close_Query();
    void Form_Close();
    void Open_Editor_For_Row(std::uint8_t row);
    void Keep_Add_Button_Rule();
    // Gives the row its new length after a wheel step of change minutes and stores the day.
    void Store_Wheeled_Duration(std::uint8_t row, int duration, int change);
    void Set_Window_Colour(const QColor& colour);
    Work_Log_Context Context();
    void Run_Record_Editor(bool add_mode);
    void Fold_Back_Into_Day_Row();
    void Bring_Back_Onto_A_Screen();

    Main_Form_Seams Seams;
    Program_Paths Paths;
    std::unique_ptr<Error_List> Errors;
    Settings Setup;
    Start_Up_Values Start_Values;
    Language_Texts Texts;
    Day_Log Log;
    std::shared_ptr<Message_Dialogs> Program_Dialogs;
    std::unique_ptr<Counting_Message_Dialogs> Dialogs;

    Data_Grid_Skins Grid_Skins;
    QPixmap Button_Skin_Bitmap;
    QPixmap Minimize_Button_Skin_Bitmap;

    QLabel* Title = nullptr;
    TVela_Button_* Minimize_Button = nullptr;
    TVela_Button_* Add_Button = nullptr;
    TVela_Button_* Setup_Button = nullptr;
    TVela_Button_* Open_Log_Button = nullptr;
    TVela_Button_* Shutdown_Button = nullptr;
    QFrame* Testing_Panel = nullptr;
    TVela_Button_* TST_Exit_Testing_Mode = nullptr;
    QListWidget* Error_List_Box_Widget = nullptr;
    TData_Grid* Grid = nullptr;
    std::unique_ptr<TNotificationIcon> Tray_Icon_Component;
    QTimer Update_Timer;
    QTimer Effect_Timer;

    int Bar_Height = 0;
    bool Moved_For_Bar_Flag = false;
    int Top_Before_Bar_Value = 0;
    bool Key_Armed = true;
    bool Testing_Mode_Flag = false;
    std::uint8_t Access_Code_Position_Value = 1;
    int Credits_Step_Value = 0;  // the step reached in the credits sequence
    QString Error_List_Hint;
    bool Fading_In_Flag = false;
    bool Drag_Active = false;
    QPoint Drag_Offset;  // from the window's top left corner to the pointer
    std::uint8_t Edited_Row_Index = 0;
    QString Tray_Hint;
    bool Alpha_Blend_On = false;
    std::uint8_t Alpha_Blend_Level = 255;
    int Wheel_Remainder = 0;
    int Message_Dialog_Depth = 0;
    bool Editor_Open = false;
    bool Setup_Open = false;

    bool Terminating = false;
    bool Show_Main_Form_Flag = false;
    bool Creation_Done = false;
    bool Day_Has_Ended = false;
    bool Ending_Day = false;
    // Whether the saves after each change reach the disk; the user hears once when they do not.
    Day_Log_Checkpoint Day_Checkpoint;
    void Show_Checkpoint_Warning();
};
