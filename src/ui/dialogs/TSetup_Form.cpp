#include "ui/dialogs/TSetup_Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QWheelEvent>
#include <memory>

#include "config/Error_List.h"
#include "config/Language_Choice.h"
#include "config/Language_File.h"
#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Newer_Texts.h"
#include "config/Program_Messages.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "config/Settings_File.h"
#include "platform/Autostart_Entry.h"
#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "platform/Short_String.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/Main_Form_Preview.h"
#include "ui/dialogs/TUpdate_Record_Face_Drag.h"
#include "ui/dialogs/Update_Record_Work_Type_List.h"
#include "worklog/Target_Log_Export.h"

namespace
{

constexpr const char* Language_Section = "Setup_Form";
constexpr int Wheel_Notch = 120;
constexpr const char* Start_At_Login_Key = "20";

// Read at each use: a session may set these after the program started.
std::string Autostart_Path() { return Autostart_File_Path(Process_Xdg_Environment()); }

// Refusals of the save, with their texts for a language file that lacks them.
struct Refusal
{
    const char* Key;
    const char* Fallback;
};
constexpr Refusal Name_Not_Storable{
    "21",
    "The file name \"%0:s\" holds characters that the settings cannot store (shown here as question "
    "marks).##Please choose a name without them."};
constexpr Refusal Pattern_Not_Usable{
    "22",
    "The record format \"%0:s\" cannot be used.##Only the placeholders %%0:s to %%5:s may be used, "
    "and %%%% for a percent sign."};

// Setup.ini keeps file names as CP1250 text; a name it cannot hold would come back as
// another file.
bool Fits_Cp1250(const QString& text) { return From_Cp1250(To_Cp1250(text)) == text; }

QString Framed(const QString& text) { return QStringLiteral("  ") + text + QStringLiteral("  "); }

std::string Path_To_Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QGroupBox* New_Group_Box(QWidget* parent, const char* name, const QString& title, QRect bounds)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(bounds);
    return box;
}

QLabel* New_Label(QWidget* parent, const char* name, const QString& text, QRect bounds)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(bounds);
    return label;
}

QLineEdit* New_Edit_Box(QWidget* parent, const char* name, QRect bounds)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(bounds);
    return box;
}

QCheckBox* New_Check_Box(QWidget* parent, const char* name, int top)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(16, top, 313, 17);
    box->setChecked(true);
    return box;
}

}  // namespace

TSetup_Form::TSetup_Form(Settings& settings, const Language_Texts& texts, Main_Form_Preview& preview,
                         const Dialog_Resources& resources, Message_Dialogs& message_dialogs)
    : QDialog(resources.Parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Setup(settings), Texts(texts), Preview(preview), Resources(resources), Dialogs(message_dialogs)
{
    setObjectName(QStringLiteral("Setup_Form"));
    setFont(Program_Font());
    setFixedSize(721, 398);
    Create_Components();
}

void TSetup_Form::Create_Components()
{
    GroupBox2 = New_Group_Box(this, "GroupBox2", QString::fromUtf8(" Přednastavený typ základní činnosti "),
                              QRect(16, 16, 337, 89));
    Default_Work_Type_Combo_Box =
        New_Work_Type_Combo_Box(GroupBox2, "Default_Work_Type_Combo_Box", QRect(16, 24, 305, 21));
    Default_Remark_Edit_Box = New_Edit_Box(GroupBox2, "Default_Remark_Edit_Box", QRect(16, 56, 305, 19));
    Default_Remark_Edit_Box->setMaxLength(int(Short_String_Max_Length));

    GroupBox1 = New_Group_Box(this, "GroupBox1", QStringLiteral("  Nastavení  "), QRect(15, 112, 338, 217));
    Display_Start_Splash_Screen_Check_Box = New_Check_Box(GroupBox1, "Display_Start_Splash_Screen_Check_Box", 24);
    Display_End_Splash_Screen_Check_Box = New_Check_Box(GroupBox1, "Display_End_Splash_Screen_Check_Box", 40);
    Display_Zentavo_Overrange_Warning_Check_Box =
        New_Check_Box(GroupBox1, "Display_Zentavo_Overrange_Warning_Check_Box", 56);
    Display_Full_Time_Hint_Check_Box = New_Check_Box(GroupBox1, "Display_Full_Time_Hint_Check_Box", 72);
    Form_Movement_Restrictions_Check_Box = New_Check_Box(GroupBox1, "Form_Movement_Restrictions_Check_Box", 88);
    Minimize_To_Tray_After_Start_Check_Box = New_Check_Box(GroupBox1, "Minimize_To_Tray_After_Start_Check_Box", 104);
    Time_Scroll_Control_Check_Box = New_Check_Box(GroupBox1, "Time_Scroll_Control_Check_Box", 120);
    // The start-at-login box joins the switches; the rows below it move down to make room.
    Start_At_Login_Check_Box = New_Check_Box(GroupBox1, "Start_At_Login_Check_Box", 136);
    Label5 = New_Label(GroupBox1, "Label5", QString::fromUtf8("_Scrollovaná doba: "), QRect(48, 154, 95, 13));
    Time_Scroll_Resolution_Label =
        New_Label(GroupBox1, "Time_Scroll_Resolution_Label", QStringLiteral("0 min"), QRect(144, 154, 31, 13));
    Time_Scroll_Resolution_Label->setFont(Program_Bold_Font());
    Label1 = New_Label(GroupBox1, "Label1", QString::fromUtf8("_průhlednost hlavního okna"), QRect(8, 172, 132, 13));
    Form_Transparency_Track_Bar = new QSlider(Qt::Horizontal, GroupBox1);
    Form_Transparency_Track_Bar->setObjectName(QStringLiteral("Form_Transparency_Track_Bar"));
    Form_Transparency_Track_Bar->setGeometry(24, 190, 305, 17);
    Form_Transparency_Track_Bar->setRange(0, 150);
    Form_Transparency_Track_Bar->setTickPosition(QSlider::NoTicks);

    GroupBox3 =
        New_Group_Box(this, "GroupBox3", QString::fromUtf8(" Formát výstupního souboru "), QRect(368, 16, 337, 161));
    Label4 = New_Label(GroupBox3, "Label4", QString::fromUtf8("název souboru"), QRect(16, 24, 70, 13));
    Target_Log_File_Name_Edit_Box = New_Edit_Box(GroupBox3, "Target_Log_File_Name_Edit_Box", QRect(24, 38, 297, 19));
    Label2 = New_Label(GroupBox3, "Label2", QString::fromUtf8("formát záznamů"), QRect(16, 64, 74, 13));
    Target_Log_File_Format_Edit_Box =
        New_Edit_Box(GroupBox3, "Target_Log_File_Format_Edit_Box", QRect(24, 78, 297, 19));
    Label3 = New_Label(GroupBox3, "Label3", QString::fromUtf8("oddělovač dnů"), QRect(16, 104, 71, 13));
    Target_Log_File_Separator_Edit_Box =
        New_Edit_Box(GroupBox3, "Target_Log_File_Separator_Edit_Box", QRect(24, 118, 297, 19));

    Anchoring_Panel =
        New_Group_Box(this, "Anchoring_Panel", QString::fromUtf8(" Ukotvení okna "), QRect(368, 184, 337, 89));
    struct Anchor_Layout
    {
        const char* Name;
        int Left, Top;
        const char* Arrow;
        int Text_Left, Text_Top;
    };
    // Arrows towards the four corners, in the order of the anchor values 1 to 4.
    const Anchor_Layout anchors[4] = {{"Top_Left_Anchor_Button", 32, 24, "\u2196", 5, 4},
                                      {"Top_Right_Anchor_Button", 56, 24, "\u2197", 7, 4},
                                      {"Bottom_Left_Anchor_Button", 32, 48, "\u2199", 5, 6},
                                      {"Bottom_Right_Anchor_Button", 56, 48, "\u2198", 7, 6}};
    for (int index = 0; index < 4; ++index)
    {
        auto* button = new TVela_Button(Anchoring_Panel);
        button->setObjectName(QString::fromLatin1(anchors[index].Name));
        button->setGeometry(anchors[index].Left, anchors[index].Top, 22, 22);
        button->Set_Tag(index + 1);
        button->Set_Draw_Default(true);
        button->Set_Hold_Status(true);
        button->Set_Center_Text_Horizontal(false);
        button->Set_Center_Text_Vertical(false);
        button->Set_Text_Left(anchors[index].Text_Left);
        button->Set_Text_Top(anchors[index].Text_Top);
        button->Set_Text(QString::fromUtf8(anchors[index].Arrow));
        connect(button, &TVela_Button::Clicked, this, &TSetup_Form::Top_Left_Anchor_ButtonClick);
        Anchor_Buttons[index] = button;
    }

    // The language the program speaks, by the name each language file gives itself.
    Language_Group_Box = New_Group_Box(this, "Language_Group_Box", QStringLiteral(" Jazyk "), QRect(368, 280, 337, 49));
    Language_Combo_Box = new QComboBox(Language_Group_Box);
    Language_Combo_Box->setObjectName(QStringLiteral("Language_Combo_Box"));
    Language_Combo_Box->setGeometry(16, 18, 305, 21);

    GroupBox5 = New_Group_Box(this, "GroupBox5", QString(), QRect(16, 336, 337, 49));
    Save_Button = new TVela_Button(GroupBox5);
    Save_Button->setObjectName(QStringLiteral("Save_Button"));
    Save_Button->setGeometry(113, 14, 105, 25);
    Save_Button->Set_Text(QStringLiteral("OK"));
    connect(Save_Button, &TVela_Button::Clicked, this, [this] { Save_ButtonClick(); });

    GroupBox4 = New_Group_Box(this, "GroupBox4", QString(), QRect(368, 336, 337, 49));
    Save_Positions_Button = new TVela_Button(GroupBox4);
    Save_Positions_Button->setObjectName(QStringLiteral("Save_Positions_Button"));
    Save_Positions_Button->setGeometry(128, 14, 105, 25);
    Save_Positions_Button->Set_Text(QString::fromUtf8("Uložit pozice oken"));
    connect(Save_Positions_Button, &TVela_Button::Clicked, this, [this] { Save_Positions_ButtonClick(); });

    for (TVela_Button* button : {Save_Button, Save_Positions_Button})
    {
        button->Set_Center_Text_Horizontal(true);
        button->Set_Center_Text_Vertical(true);
        button->Set_Button_Skin(Resources.Button_Skin);
    }

    setTabOrder(Default_Work_Type_Combo_Box, Default_Remark_Edit_Box);
    setTabOrder(Default_Remark_Edit_Box, Display_Start_Splash_Screen_Check_Box);
    setTabOrder(Display_Start_Splash_Screen_Check_Box, Display_End_Splash_Screen_Check_Box);
    setTabOrder(Display_End_Splash_Screen_Check_Box, Display_Zentavo_Overrange_Warning_Check_Box);
    setTabOrder(Display_Zentavo_Overrange_Warning_Check_Box, Display_Full_Time_Hint_Check_Box);
    setTabOrder(Display_Full_Time_Hint_Check_Box, Form_Movement_Restrictions_Check_Box);
    setTabOrder(Form_Movement_Restrictions_Check_Box, Minimize_To_Tray_After_Start_Check_Box);
    setTabOrder(Minimize_To_Tray_After_Start_Check_Box, Time_Scroll_Control_Check_Box);
    setTabOrder(Time_Scroll_Control_Check_Box, Start_At_Login_Check_Box);
    setTabOrder(Start_At_Login_Check_Box, Form_Transparency_Track_Bar);
    setTabOrder(Form_Transparency_Track_Bar, Target_Log_File_Name_Edit_Box);
    setTabOrder(Target_Log_File_Name_Edit_Box, Target_Log_File_Format_Edit_Box);
    setTabOrder(Target_Log_File_Format_Edit_Box, Target_Log_File_Separator_Edit_Box);
    setTabOrder(Target_Log_File_Separator_Edit_Box, Language_Combo_Box);

    connect(Default_Work_Type_Combo_Box, &QComboBox::editTextChanged, this,
            &TSetup_Form::Default_Work_Type_Combo_BoxChange);
    for (QLineEdit* box : {Default_Remark_Edit_Box, Target_Log_File_Name_Edit_Box, Target_Log_File_Format_Edit_Box,
                           Target_Log_File_Separator_Edit_Box})
        connect(box, &QLineEdit::textChanged, this, &TSetup_Form::Default_Work_Type_Combo_BoxChange);
    for (QCheckBox* box : {Display_Start_Splash_Screen_Check_Box, Display_End_Splash_Screen_Check_Box,
                           Display_Zentavo_Overrange_Warning_Check_Box, Minimize_To_Tray_After_Start_Check_Box,
                           Time_Scroll_Control_Check_Box, Start_At_Login_Check_Box})
        connect(box, &QCheckBox::toggled, this, &TSetup_Form::Display_Start_Splash_Screen_Check_BoxClick);
    connect(Display_Full_Time_Hint_Check_Box, &QCheckBox::toggled, this,
            &TSetup_Form::Display_Full_Time_Hint_Check_BoxClick);
    connect(Form_Movement_Restrictions_Check_Box, &QCheckBox::toggled, this,
            &TSetup_Form::Form_Movement_Restrictions_Check_BoxClick);
    connect(Form_Transparency_Track_Bar, &QSlider::valueChanged, this, &TSetup_Form::Form_Transparency_Track_BarChange);
    connect(Language_Combo_Box, &QComboBox::currentIndexChanged, this, &TSetup_Form::Default_Work_Type_Combo_BoxChange);

    // The form sees every key first, so Escape closes it from whichever control has focus.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    Face_Drag = new TUpdate_Record_Face_Drag(this, Setup);
    for (QWidget* handle :
         std::initializer_list<QWidget*>{this, GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox5, Anchoring_Panel,
                                         Label1, Label2, Label3, Label4, Label5, Time_Scroll_Resolution_Label})
        Face_Drag->Add_Handle(handle);
}

void TSetup_Form::Set_Texts_From_Language_File()
{
    const std::string& language_file = Texts.Language_File_Path;
    const auto text = [&language_file](const char* key) {
        return From_Cp1250(Read_Language_Text(language_file, Language_Section, key));
    };
    setWindowTitle(text("1"));
    GroupBox2->setTitle(Framed(text("2")));
    GroupBox1->setTitle(Framed(text("3")));
    Display_Start_Splash_Screen_Check_Box->setText(text("4"));
    Display_End_Splash_Screen_Check_Box->setText(text("5"));
    Display_Zentavo_Overrange_Warning_Check_Box->setText(text("6"));
    Display_Full_Time_Hint_Check_Box->setText(text("7"));
    Time_Scroll_Control_Check_Box->setText(text("18"));
    // Language files older than the option lack its caption: a readable one stands in.
    const std::string start_at_login = Read_Language_Text(language_file, Language_Section, Start_At_Login_Key);
    Start_At_Login_Check_Box->setText(start_at_login != Start_At_Login_Key ? From_Cp1250(start_at_login)
                                      : Texts.Is_Czech_Language ? QString::fromUtf8("Spouštět po přihlášení")
                                                                : QStringLiteral("Start at login"));
    Label5->setText(text("19"));
    Label5->adjustSize();
    Time_Scroll_Resolution_Label->move(Label5->x() + Label5->width() + 5, Time_Scroll_Resolution_Label->y());
    Form_Movement_Restrictions_Check_Box->setText(text("8"));
    Minimize_To_Tray_After_Start_Check_Box->setText(text("9"));
    Label1->setText(text("10"));
    Save_Button->Set_Text(text("11"));
    Save_Positions_Button->Set_Text(text("12"));
    GroupBox3->setTitle(Framed(text("13")));
    Label4->setText(text("14"));
    Label2->setText(text("15"));
    Label3->setText(text("16"));
    Anchoring_Panel->setTitle(Framed(text("17")));
    Language_Group_Box->setTitle(Framed(From_Cp1250(Read_Newer_Text(language_file, Newer_Texts::Setup_Language))));
    for (QLabel* label : {Label1, Label2, Label3, Label4}) label->adjustSize();
}

void TSetup_Form::Fill()
{
    // Filling is not a change: no handler runs, and FormShow clears the flag besides.
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* control : findChildren<QObject*>()) blockers.push_back(std::make_unique<QSignalBlocker>(control));

    Set_Texts_From_Language_File();

    const Program_Paths& paths = Resources.Paths;
    Fill_Work_Type_Combo_Box(Default_Work_Type_Combo_Box, paths, Texts, Resources.Errors);

    const Setup_Form_File_Values file_values = Read_Setup_Form_File_Values(Setup_Ini_Path(paths));
    Default_Work_Type_Combo_Box->setEditText(From_Cp1250(file_values.Default_Work_Type));
    Default_Remark_Edit_Box->setText(From_Cp1250(file_values.Default_Remark));
    Display_Start_Splash_Screen_Check_Box->setChecked(file_values.Display_Start_Splash_Screen);
    Display_End_Splash_Screen_Check_Box->setChecked(file_values.Display_End_Splash_Screen);
    Display_Zentavo_Overrange_Warning_Check_Box->setChecked(file_values.Display_Zentavo_Overrange_Warning);
    Minimize_To_Tray_After_Start_Check_Box->setChecked(file_values.Minimize_To_Tray_After_Start);
    Start_At_Login_Check_Box->setChecked(Autostart_File_Exists(Autostart_Path()));

    const Settings& settings = Setup;
    Form_Movement_Restrictions_Check_Box->setChecked(settings.Form_Movement_Restrictions);
    Display_Full_Time_Hint_Check_Box->setChecked(settings.Display_Full_Time_Hint);
    Time_Scroll_Control_Check_Box->setChecked(settings.Time_Scroll_Control);
    Form_Transparency_Track_Bar->setValue(settings.Main_Form_Transparency);
    Show_Time_Scroll_Resolution();
    Target_Log_File_Name_Edit_Box->setText(Path_To_QString(settings.Target_Log_File_Name));
    Target_Log_File_Format_Edit_Box->setText(From_Cp1250(settings.Target_Log_File_Format));
    Target_Log_File_Separator_Edit_Box->setText(From_Cp1250(settings.Target_Log_File_Separator));

    const Language_Texts& texts = Texts;
    QStringList hint_lines;
    for (int column = 0; column <= 5; ++column)
        hint_lines << QStringLiteral("%") + QString::number(column) + QStringLiteral(":s - ") +
                          From_Cp1250(texts.Column_Names[column]);
    Target_Log_File_Format_Edit_Box->setToolTip(hint_lines.join(QLatin1Char('\n')));

    for (TVela_Button* button : Anchor_Buttons) button->Set_Button_Down(button->Tag() == settings.Main_Form_Anchor);

    Language_Combo_Box->clear();
    const std::string current_language = settings.Language_File_Path.substr(
        std::min(settings.Language_File_Path.size(), paths.Program_Directory.size()));
    for (const Language_File_Entry& language : Available_Language_Files(paths))
    {
        Language_Combo_Box->addItem(From_Cp1250(language.Name), Path_To_QString(language.File_Name));
        if (language.File_Name == current_language)
            Language_Combo_Box->setCurrentIndex(Language_Combo_Box->count() - 1);
    }
    Modified_Tag = 0;
}

void TSetup_Form::Show_Time_Scroll_Resolution()
{
    Time_Scroll_Resolution_Label->setText(QStringLiteral("%1 min").arg(Setup.Time_Scroll_Resolution));
    Time_Scroll_Resolution_Label->adjustSize();
}

void TSetup_Form::Default_Work_Type_Combo_BoxChange() { Modified_Tag = 1; }

void TSetup_Form::Display_Start_Splash_Screen_Check_BoxClick() { Modified_Tag = 1; }

void TSetup_Form::Display_Full_Time_Hint_Check_BoxClick()
{
    Setup.Display_Full_Time_Hint = Display_Full_Time_Hint_Check_Box->isChecked();
    Modified_Tag = 1;
}

void TSetup_Form::Form_Movement_Restrictions_Check_BoxClick()
{
    Setup.Form_Movement_Restrictions = Form_Movement_Restrictions_Check_Box->isChecked();
    Modified_Tag = 1;
}

void TSetup_Form::Form_Transparency_Track_BarChange(int position)
{
    const auto transparency = static_cast<std::uint8_t>(position);
    Setup.Main_Form_Transparency = transparency;
    Preview.Set_Alpha_Blend(transparency > 0, static_cast<std::uint8_t>(255 - transparency));
    Modified_Tag = 1;
}

void TSetup_Form::Top_Left_Anchor_ButtonClick(TVela_Button* sender)
{
    Modified_Tag = 1;
    Settings& settings = Setup;
    if (sender->Tag() != settings.Main_Form_Anchor)
    {
        for (TVela_Button* button : Anchor_Buttons) button->Set_Button_Down(false);
        sender->Set_Button_Down(true);
        settings.Main_Form_Anchor = static_cast<std::uint8_t>(sender->Tag());
    }
    else
    {
        settings.Main_Form_Anchor = 0;
    }
    Preview.Apply_Anchor();
}

void TSetup_Form::Time_Scroll_Resolution_LabelMouseEnter()
{
    Wheel_Over_Resolution = true;
    Wheel_Remainder = 0;
    QPalette palette = Time_Scroll_Resolution_Label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    Time_Scroll_Resolution_Label->setPalette(palette);
}

void TSetup_Form::Time_Scroll_Resolution_LabelMouseLeave()
{
    Wheel_Over_Resolution = false;
    QPalette palette = Time_Scroll_Resolution_Label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    Time_Scroll_Resolution_Label->setPalette(palette);
}

bool TSetup_Form::Form_Mouse_Wheel(int angle_delta)
{
    if (!Wheel_Over_Resolution) return false;
    Wheel_Remainder += angle_delta;
    std::uint8_t& resolution = Setup.Time_Scroll_Resolution;
    bool changed = false;
    for (; Wheel_Remainder >= Wheel_Notch; Wheel_Remainder -= Wheel_Notch)
    {
        if (resolution > Highest_Time_Scroll_Resolution - 1) continue;
        ++resolution;
        changed = true;
    }
    for (; Wheel_Remainder <= -Wheel_Notch; Wheel_Remainder += Wheel_Notch)
    {
        if (resolution < Lowest_Time_Scroll_Resolution + 1) continue;
        --resolution;
        changed = true;
    }
    if (changed)
    {
        Show_Time_Scroll_Resolution();
        Modified_Tag = 1;
    }
    return true;
}

void TSetup_Form::Refuse_Save(QLineEdit* box, const char* key, const char* fallback, const std::string& argument)
{
    const std::string text = Read_Language_Text(Texts.Language_File_Path, Language_Section, key, fallback);
    Put_Message_Text(Dialogs, Texts, Program_Message::Tell_Settings_Refused, text, {argument});
    box->setFocus();
}

void TSetup_Form::Report_Write_Failure(const char* what)
{
    Resources.Errors.Add(std::string(" - ") + what + " - WRITE - UNEXPECTED_ERROR - not possible to write into file " +
                         File_Name_To_Cp1250(Setup_Ini_Path(Resources.Paths)));
}

bool TSetup_Form::Save_Settings()
{
    const Language_Texts& texts = Texts;
    if (Default_Work_Type_Combo_Box->currentText().isEmpty())
    {
        Put_Message(Dialogs, texts, Program_Message::Tell_Empty_Work_Type);
        return false;
    }

    const QString target_log_file_name = Target_Log_File_Name_Edit_Box->text();
    if (!Fits_Cp1250(target_log_file_name))
    {
        Refuse_Save(Target_Log_File_Name_Edit_Box, Name_Not_Storable.Key, Name_Not_Storable.Fallback,
                    To_Cp1250(target_log_file_name));
        return false;
    }
    // The pattern as memory and every later start hold it: its first 255 characters.
    const std::string target_log_file_format = To_Cp1250(Target_Log_File_Format_Edit_Box->text());
    if (!Target_Log_Pattern_Fits(Cut_To_Short_String(target_log_file_format)))
    {
        Refuse_Save(Target_Log_File_Format_Edit_Box, Pattern_Not_Usable.Key, Pattern_Not_Usable.Fallback,
                    Cut_To_Short_String(target_log_file_format));
        return false;
    }

    Settings& settings = Setup;
    settings.Display_Zentavo_Overrange_Warning = Display_Zentavo_Overrange_Warning_Check_Box->isChecked();
    settings.Time_Scroll_Control = Time_Scroll_Control_Check_Box->isChecked();
    Setup_Form_Save_Values values;
    values.Target_Log_File_Name = To_Cp1250(target_log_file_name);
    values.Target_Log_File_Format = target_log_file_format;
    values.Target_Log_File_Separator = To_Cp1250(Target_Log_File_Separator_Edit_Box->text());
    // In memory a file name is in the file system's own bytes, ready to be opened.
    settings.Target_Log_File_Name = Path_To_Bytes(target_log_file_name);
    settings.Target_Log_File_Format = Cut_To_Short_String(values.Target_Log_File_Format);
    settings.Target_Log_File_Separator = values.Target_Log_File_Separator;

    values.Default_Work_Type = To_Cp1250(Default_Work_Type_Combo_Box->currentText());
    values.Default_Remark = To_Cp1250(Default_Remark_Edit_Box->text());
    values.Form_Movement_Restrictions = settings.Form_Movement_Restrictions;
    values.Main_Form_Transparency = settings.Main_Form_Transparency;
    values.Display_Start_Splash_Screen = Display_Start_Splash_Screen_Check_Box->isChecked();
    values.Display_End_Splash_Screen = Display_End_Splash_Screen_Check_Box->isChecked();
    values.Display_Zentavo_Overrange_Warning = settings.Display_Zentavo_Overrange_Warning;
    values.Display_Full_Time_Hint = settings.Display_Full_Time_Hint;
    values.Time_Scroll_Control = settings.Time_Scroll_Control;
    values.Time_Scroll_Resolution = settings.Time_Scroll_Resolution;
    values.Minimize_To_Tray_After_Start = Minimize_To_Tray_After_Start_Check_Box->isChecked();
    values.Main_Form_Anchor = settings.Main_Form_Anchor;
    if (!Save_Setup_Form_Values(Setup_Ini_Path(Resources.Paths), values)) Report_Write_Failure("SAVE_SETUP");
    Save_Start_At_Login();
    Save_Language();
    Modified_Tag = 0;
    return true;
}

void TSetup_Form::Save_Language()
{
    if (Language_Combo_Box->currentIndex() < 0) return;
    const std::string chosen = Path_To_Bytes(Language_Combo_Box->currentData().toString());
    const std::string path = Resources.Paths.File(chosen);
    if (path == Setup.Language_File_Path) return;
    if (!Ini_File(Setup_Ini_Path(Resources.Paths))
             .Write_String(Setup_Section_Name(Setup_Section::Main_Setup),
                           Setup_Entry(Setup_Key::Language_File_Name).Name, File_Name_To_Cp1250(chosen)))
        Report_Write_Failure("SAVE_SETUP");
    Setup.Language_File_Path = Cut_To_Short_String(path);
}

void TSetup_Form::Save_Start_At_Login()
{
    // Only a change touches the file, so an entry the user edited by hand is kept.
    const std::string path = Autostart_Path();
    const bool wanted = Start_At_Login_Check_Box->isChecked();
    if (wanted == Autostart_File_Exists(path)) return;
    std::string failure;
    // Started by the command that answers reports, the entry names that command.
    const QString command = qEnvironmentVariable(Command_Path_Variable);
    const std::string program =
        QFile::encodeName(command.isEmpty() ? QCoreApplication::applicationFilePath() : command).toStdString();
    if (wanted ? Write_Autostart_File(path, program, failure) : Remove_Autostart_File(path, failure)) return;
    Resources.Errors.Add(std::string(" - SAVE_START_AT_LOGIN - ") + (wanted ? "WRITE" : "REMOVE") +
                         " - UNEXPECTED_ERROR - " + File_Name_To_Cp1250(failure));
}

void TSetup_Form::Save_ButtonClick()
{
    if (Save_Settings()) close();
}

void TSetup_Form::Save_Positions_ButtonClick()
{
    // The other dialogs are saved where they were last closed; the main window and this dialog where they are now.
    Window_Positions positions = Setup;
    const QPoint main_form_position = Preview.Position_To_Save();
    positions.Main_Form_Left = main_form_position.x();
    positions.Main_Form_Top = main_form_position.y();
    positions.Setup_Form_Left = static_cast<std::int16_t>(x());
    positions.Setup_Form_Top = static_cast<std::int16_t>(y());
    if (!Save_Window_Positions(Setup_Ini_Path(Resources.Paths), positions))
        Report_Write_Failure("SAVE_WINDOW_POSITIONS");
}

void TSetup_Form::Read_Back_Live_Settings()
{
    Settings& settings = Setup;
    ::Read_Back_Live_Settings(Setup_Ini_Path(Resources.Paths), settings);
    Preview.Set_Alpha_Blend(settings.Main_Form_Transparency > 0,
                            static_cast<std::uint8_t>(255 - settings.Main_Form_Transparency));
    Preview.Apply_Anchor();
}

bool TSetup_Form::FormClose()
{
    if (Modified_Tag != 1) return true;
    const Language_Texts& texts = Texts;
    const int answer = Put_Message(Dialogs, texts, Program_Message::Ask_To_Save_Changed_Settings);
    if (answer == 1) return Save_Settings();  // an empty default work type keeps the dialog open, so nothing is lost
    Read_Back_Live_Settings();
    return true;
}

bool TSetup_Form::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        {
            close();
            return true;
        }
        break;
    case QEvent::Enter:
        if (watched == Time_Scroll_Resolution_Label) Time_Scroll_Resolution_LabelMouseEnter();
        break;
    case QEvent::Leave:
        if (watched == Time_Scroll_Resolution_Label) Time_Scroll_Resolution_LabelMouseLeave();
        break;
    case QEvent::Wheel:
        if (Form_Mouse_Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y())) return true;
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

void TSetup_Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Keep_Opening_Dialog_On_Screen(this);
    Modified_Tag = 0;
}

void TSetup_Form::done(int result)
{
    if (!FormClose()) return;
    Wheel_Over_Resolution = false;
    QDialog::done(result);
}

void Display_Setup_Form(Settings& settings, const Language_Texts& texts, Main_Form_Preview& preview,
                        const Dialog_Resources& resources, Message_Dialogs& message_dialogs)
{
    TSetup_Form form(settings, texts, preview, resources, message_dialogs);
    form.move(settings.Setup_Form_Left, settings.Setup_Form_Top);
    form.Fill();
    form.exec();
    settings.Setup_Form_Left = static_cast<std::int16_t>(form.x());
    settings.Setup_Form_Top = static_cast<std::int16_t>(form.y());
}
