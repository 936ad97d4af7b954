#pragma once
// The settings dialog: shows and writes the settings of Setup.ini. Five of them act on the
// main window while it is open; closing with unsaved changes asks whether to save them
// and otherwise reads those five back from the file.
#include <QDialog>
#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class Main_Form_Preview;
class Message_Dialogs;
struct Dialog_Resources;
struct Language_Texts;
struct Settings;
class TUpdate_Record_Face_Drag;
class TVela_Button;

class TSetup_Form : public QDialog
{
    Q_OBJECT

public:
    TSetup_Form(Settings& settings, const Language_Texts& texts, Main_Form_Preview& preview,
                const Dialog_Resources& resources, Message_Dialogs& message_dialogs);

    // Shows the settings of the file and of memory; nothing filled here counts as a change.
    void Fill();

    // The modified flag: 0 nothing changed since the dialog was shown, 1 changed.
    int Tag() const { return Modified_Tag; }

    void Save_ButtonClick();
    void Save_Positions_ButtonClick();

    static constexpr int Lowest_Time_Scroll_Resolution = 1;
    static constexpr int Highest_Time_Scroll_Resolution = 240;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Create_Components();
    void Set_Texts_From_Language_File();
    void Show_Time_Scroll_Resolution();

    // Writes every setting; false (with message "8") when the default work type is empty.
    bool Save_Settings();
    // Gives false when the dialog has to stay open.
    bool FormClose();
    void Read_Back_Live_Settings();

    void Default_Work_Type_Combo_BoxChange();
    void Display_Start_Splash_Screen_Check_BoxClick();
    void Display_Full_Time_Hint_Check_BoxClick();
    void Form_Movement_Restrictions_Check_BoxClick();
    void Form_Transparency_Track_BarChange(int position);
    void Top_Left_Anchor_ButtonClick(TVela_Button* sender);
    void Time_Scroll_Resolution_LabelMouseEnter();
    void Time_Scroll_Resolution_LabelMouseLeave();
    bool Form_Mouse_Wheel(int angle_delta);
    // Shows why the save is refused and puts the focus where the user can mend it.
    void Refuse_Save(QLineEdit* box, const char* key, const char* fallback, const std::string& argument);
    void Report_Write_Failure(const char* what);
    void Save_Start_At_Login();
    // Writes the chosen language file's name when it changed; the program applies it at once.
    void Save_Language();

    Settings& Setup;
    const Language_Texts& Texts;
    Main_Form_Preview& Preview;
    const Dialog_Resources& Resources;
    Message_Dialogs& Dialogs;

    int Modified_Tag = 0;
    bool Wheel_Over_Resolution = false;
    int Wheel_Remainder = 0;  // part of a wheel notch not yet acted on (fine-grained wheels)

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QGroupBox* Anchoring_Panel = nullptr;
    QComboBox* Default_Work_Type_Combo_Box = nullptr;
    QLineEdit* Default_Remark_Edit_Box = nullptr;
    QCheckBox* Display_Start_Splash_Screen_Check_Box = nullptr;
    QCheckBox* Display_End_Splash_Screen_Check_Box = nullptr;
    QCheckBox* Display_Zentavo_Overrange_Warning_Check_Box = nullptr;
    QCheckBox* Display_Full_Time_Hint_Check_Box = nullptr;
    QCheckBox* Form_Movement_Restrictions_Check_Box = nullptr;
    QCheckBox* Minimize_To_Tray_After_Start_Check_Box = nullptr;
    QCheckBox* Time_Scroll_Control_Check_Box = nullptr;
    QCheckBox* Start_At_Login_Check_Box = nullptr;  // the autostart entry's presence; no Setup.ini key
    QGroupBox* Language_Group_Box = nullptr;
    QComboBox* Language_Combo_Box = nullptr;  // the *.lng files present; the data is the file name
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Time_Scroll_Resolution_Label = nullptr;
    QSlider* Form_Transparency_Track_Bar = nullptr;
    QLineEdit* Target_Log_File_Name_Edit_Box = nullptr;
    QLineEdit* Target_Log_File_Format_Edit_Box = nullptr;
    QLineEdit* Target_Log_File_Separator_Edit_Box = nullptr;
    std::array<TVela_Button*, 4> Anchor_Buttons{};  // top left, top right, bottom left, bottom right
    TVela_Button* Save_Button = nullptr;
    TVela_Button* Save_Positions_Button = nullptr;
    TUpdate_Record_Face_Drag* Face_Drag = nullptr;
};

// Creates the dialog at its remembered position, fills it, shows it modally and frees it.
// The caller re-arms its command keys afterwards.
void Display_Setup_Form(Settings& settings, const Language_Texts& texts, Main_Form_Preview& preview,
                        const Dialog_Resources& resources, Message_Dialogs& message_dialogs);
