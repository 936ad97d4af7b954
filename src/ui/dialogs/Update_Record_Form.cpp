#include "ui/dialogs/Update_Record_Form.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "config/Message_Dialogs.h"
#include "config/Language_File.h"
#include "config/Settings_File.h"
#include "platform/Short_String.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Vela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Main_Form_Access.h"
#include "ui/dialogs/Update_Record_Face_Drag.h"
#include "ui/dialogs/Update_Record_Work_Type_List.h"

namespace
{

constexpr const char* Language_Section = "Update_Record_Form";
constexpr const char* Error_Icon = "Error_Icon_Source.bmp";
constexpr const char* Overtime_Icon = "Overtime_Icon_Source.bmp";
constexpr std::uint8_t No_Row = 255;

QString Two_Digits(int value)
{
    return QString::asprintf("%.2d", value);
}

// A remark is one line of the target log, so pasted line breaks become blanks.
QString Remark_As_One_Line(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    return text;
}

// The user entering or leaving a box, not the editor losing or getting back the focus to a
// message or a list: a message leaves the boxes as the user typed them.
bool Focus_Moved_By_User(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

bool Is_Enter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

char Czech_Number_Row_Digit(unsigned char cp1250_character)
{
    switch (cp1250_character)
    {
    case 0x2B: return '1';
    case 0xEC: return '2';
    case 0x9A: return '3';
    case 0xE8: return '4';
    case 0xF8: return '5';
    case 0x9E: return '6';
    case 0xFD: return '7';
    case 0xE1: return '8';
    case 0xED: return '9';
    case 0xE9: return '0';
    default: return 0;
    }
}

int Time_Box_Value(const QString& text)
{
    if (text.isEmpty() || text.size() > 2) return 0;
    int value = 0;
    for (const QChar character : text)
    {
        if (character < QLatin1Char('0') || character > QLatin1Char('9')) return 0;
        value = value * 10 + (character.unicode() - '0');
    }
    return value;
}

TUpdate_Record_Form::TUpdate_Record_Form(Main_Form_Access& main_form, Message_Dialogs& message_dialogs,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Main_Form(main_form), Dialogs(message_dialogs)
{
    setObjectName(QStringLiteral("Update_Record_Form"));
    setFont(Program_Font());
    setFixedSize(327, 279);
    Create_Components();
}

void TUpdate_Record_Form::Create_Components()
{
    GroupBox1 = new QGroupBox(QString::fromUtf8("  Data pracovního záznamu  "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 10, 297, 257);

    Label2 = new QLabel(QString::fromUtf8("Typ činnosti"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 24, 57, 13);

    Work_Type_Combo_Box = New_Work_Type_Combo_Box(GroupBox1, "Work_Type_Combo_Box", QRect(16, 40, 265, 21));

    Label3 = new QLabel(QStringLiteral("Doba"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(8, 72, 26, 13);

    Hour_Edit_Box = new QLineEdit(QStringLiteral("00"), GroupBox1);
    Hour_Edit_Box->setObjectName(QStringLiteral("Hour_Edit_Box"));
    Hour_Edit_Box->setGeometry(16, 88, 25, 19);

    Label1 = new QLabel(QStringLiteral(":"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(44, 89, 5, 16);
    QFont colon_font = Program_Bold_Font();
    colon_font.setPixelSize(13);
    Label1->setFont(colon_font);

    Minute_Edit_Box = new QLineEdit(QStringLiteral("00"), GroupBox1);
    Minute_Edit_Box->setObjectName(QStringLiteral("Minute_Edit_Box"));
    Minute_Edit_Box->setGeometry(51, 88, 25, 19);

    for (QLineEdit* box : {Hour_Edit_Box, Minute_Edit_Box})
    {
        box->setFont(Program_Bold_Font());
        box->setMaxLength(2);
        box->setTextMargins(0, 0, 0, 0);
    }

    Label4 = new QLabel(QString::fromUtf8("Poznámka"), GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(8, 120, 50, 13);

    Remark_Memo_Box = new QPlainTextEdit(GroupBox1);
    Remark_Memo_Box->setObjectName(QStringLiteral("Remark_Memo_Box"));
    Remark_Memo_Box->setGeometry(16, 136, 263, 73);
    Remark_Memo_Box->setTabChangesFocus(true);
    connect(Remark_Memo_Box, &QPlainTextEdit::textChanged, this, &TUpdate_Record_Form::Limit_Remark_Length);

    Update_Record_Button = new TVela_Button_(GroupBox1);
    Update_Record_Button->setObjectName(QStringLiteral("Update_Record_Button"));
    Update_Record_Button->setGeometry(96, 216, 105, 25);
    Update_Record_Button->Set_Text(QString::fromUtf8("Uložit"));
    Update_Record_Button->Set_Center_Text_Horizontal(true);
    Update_Record_Button->Set_Center_Text_Vertical(true);
    Update_Record_Button->Set_Button_Skin(Main_Form.Button_Skin_Of_Main_Form());
    connect(Update_Record_Button, &TVela_Button_::Clicked, this, [this] { Update_Record_ButtonClick(); });

    setTabOrder(Work_Type_Combo_Box, Hour_Edit_Box);
    setTabOrder(Hour_Edit_Box, Minute_Edit_Box);
    setTabOrder(Minute_Edit_Box, Remark_Memo_Box);

    Flash_Timer = new QTimer(this);
    Flash_Timer->setObjectName(QStringLiteral("Flash_Timer"));
    Flash_Timer->setInterval(Flash_Interval);
    connect(Flash_Timer, &QTimer::timeout, this, &TUpdate_Record_Form::Flash_TimerTimer);

    // Enter and Escape act from every input; the time boxes also filter their characters.
    for (QObject* input : std::initializer_list<QObject*>{Work_Type_Combo_Box, Work_Type_Combo_Box->lineEdit(),
                                                          Hour_Edit_Box, Minute_Edit_Box, Remark_Memo_Box})
        input->installEventFilter(this);

    Face_Drag = new TUpdate_Record_Face_Drag(this, Main_Form.Settings_Of_Main_Form());
    for (QWidget* handle : std::initializer_list<QWidget*>{this, GroupBox1, Label2, Label3, Label4})
        Face_Drag->Add_Handle(handle);
}

void TUpdate_Record_Form::Set_Texts_From_Language_File(bool add_mode)
{
    const std::string& language_file = Main_Form.Texts_Of_Main_Form().Language_File_Path;
    const auto text = [&language_file](const char* key) {
        return From_Cp1250(Read_Language_Text(language_file, Language_Section, key));
    };
    setWindowTitle(text(add_mode ? "1" : "2"));
    GroupBox1->setTitle(QStringLiteral("  ") + text("3") + QStringLiteral("  "));
    Label2->setText(text("4"));
    Label3->setText(text("5"));
    Label4->setText(text("6"));
    Update_Record_Button->Set_Text(text("7"));
    // The labels size themselves to the texts, as they always have.
    for (QLabel* label : {Label2, Label3, Label4}) label->adjustSize();
}

void TUpdate_Record_Form::Fill(bool add_mode)
{
    Set_Texts_From_Language_File(add_mode);

    const Program_Paths& paths = Main_Form.Paths_Of_Main_Form();
    New_Record_Minutes = static_cast<std::uint16_t>(Read_New_Log_Record_Working_Hours(Setup_Ini_Path(paths)));

    Fill_Work_Type_Combo_Box(Work_Type_Combo_Box, paths, Main_Form.Error_List_Of_Main_Form());

    const Day_Log& log = Main_Form.Day_Log_Of_Main_Form();
    if (add_mode)
    {
        const std::uint8_t highlighted = Main_Form.Highlighted_Row();
        if (highlighted < log.Size()) Main_Form.Draw_Row(highlighted, false);
        Main_Form.Set_Highlighted_Row(No_Row);
        Work_Type_Combo_Box->setEnabled(true);
        Hour_Edit_Box->setEnabled(true);
        Minute_Edit_Box->setEnabled(true);
        // No item is current, so the first Down offers the first work type of the list.
        Work_Type_Combo_Box->setCurrentIndex(-1);
        Work_Type_Combo_Box->setEditText(QString());
        Remark_Memo_Box->clear();
        Hour_Edit_Box->setText(Two_Digits(New_Record_Minutes / 60));
        Minute_Edit_Box->setText(Two_Digits(New_Record_Minutes % 60));
        return;
    }

    const std::size_t row = Main_Form.Edited_Row();
    if (row >= log.Size()) return;
    const Work_Record& record = log.Records[row];
    const bool user_row = row >= 2;
    Work_Type_Combo_Box->setEnabled(row != 0 || log.Recorded_Minutes == 0);
    Hour_Edit_Box->setEnabled(user_row);
    Minute_Edit_Box->setEnabled(user_row);

    const QString work_type = From_Cp1250(record[Work_Type_Field]);
    Work_Type_Combo_Box->setCurrentIndex(Work_Type_Combo_Box->findText(work_type, Qt::MatchFixedString));
    Work_Type_Combo_Box->setEditText(work_type);
    std::string_view duration = record[Duration_Field];
    if (duration.size() == 7) duration.remove_prefix(2);  // the negative form "- HH:MM"
    const Hour_Minute hour_minute = Text_To_Hour_Minute(duration);
    Hour_Edit_Box->setText(Two_Digits(hour_minute.Hours));
    Minute_Edit_Box->setText(Two_Digits(hour_minute.Minutes));
    Remark_Memo_Box->setPlainText(From_Cp1250(record[Remark_Field]));
}

int TUpdate_Record_Form::Show_Message(const char* icon, int message_key, int first_button, int second_button,
                                      const std::vector<std::string>& arguments)
{
    const Language_Texts& texts = Main_Form.Texts_Of_Main_Form();
    return Dialogs.Display_Message_Dialog(icon, Message_Animation_Interval, texts.Message_Strings[message_key],
                                          texts.Message_Buttons[first_button],
                                          second_button > 0 ? texts.Message_Buttons[second_button] : std::string(),
                                          arguments);
}

void TUpdate_Record_Form::Update_Record_ButtonClick()
{
    for (QLineEdit* box : {Hour_Edit_Box, Minute_Edit_Box})
    {
        if (box->text().isEmpty()) box->setText(QStringLiteral("00"));
        box->selectAll();
    }

    const QString typed_work_type = Work_Type_Combo_Box->currentText();
    const std::string work_type = Cut_To_Short_String(To_Cp1250(typed_work_type));
    if (work_type.empty())
    {
        Show_Message(Error_Icon, 8, 1, 0);
        return;
    }

    Day_Log& log = Main_Form.Day_Log_Of_Main_Form();
    const std::size_t row = Main_Form.Edited_Row();
    const bool add_mode = row >= log.Size();
    const bool user_row = !add_mode && row >= 2;

    const QString stored_work_type = From_Cp1250(work_type);
    const bool check_duplicates =
        add_mode ||
        QString::compare(stored_work_type, From_Cp1250(log.Records[row][Work_Type_Field]), Qt::CaseInsensitive) != 0;
    if (check_duplicates)
    {
        for (std::size_t other = 0; other < log.Size(); ++other)
        {
            if (QString::compare(stored_work_type, From_Cp1250(log.Records[other][Work_Type_Field]),
                                 Qt::CaseInsensitive) != 0)
                continue;
            Flash_Row = static_cast<std::uint8_t>(other);
            Flash_State = true;
            Flash_Timer->start();
            Show_Message(Error_Icon, 9, 1, 0);
            Flash_Timer->stop();
            Main_Form.Draw_Row(Flash_Row, Flash_Row == Main_Form.Highlighted_Row());
            return;
        }
    }

    std::uint16_t available = static_cast<std::uint16_t>(1439 - log.Day_Start_Minute - log.Recorded_Minutes);
    const Minute_Of_Day present_duration =
        user_row ? Text_To_Minute_Of_Day_Or_Zero(log.Records[row][Duration_Field]) : Minute_Of_Day(0);
    available = static_cast<std::uint16_t>(available + present_duration);

    const Minute_Of_Day_Result encoded =
        Encode_Minute_Of_Day(static_cast<std::uint8_t>(Time_Box_Value(Hour_Edit_Box->text())),
                             static_cast<std::uint8_t>(Time_Box_Value(Minute_Edit_Box->text())));
    const Minute_Of_Day duration = encoded.Value;
    if (!encoded.Valid || ((add_mode || user_row) && duration > available))
    {
        const bool czech = Main_Form.Texts_Of_Main_Form().Is_Czech_Language;
        Show_Message(Error_Icon, 11, 1, 0,
                     {Minute_Of_Day_To_Text(available),
                      czech ? Duration_Phrase(Whole_Hours(available), Remaining_Minutes(available), 1)
                            : std::string()});
        return;
    }
    if (duration == 0 && Hour_Edit_Box->isEnabled())
    {
        Show_Message(Error_Icon, 12, 1, 0);
        return;
    }

    Work_Record record;
    record[Work_Type_Field] = work_type;
    record[Duration_Field] = Minute_Of_Day_To_Text(duration);
    record[Remark_Field] = Cut_To_Short_String(To_Cp1250(Remark_As_One_Line(Remark_Memo_Box->toPlainText())));

    const bool overrange_warning = Main_Form.Settings_Of_Main_Form().Display_Zentavo_Overrange_Warning;
    const int elapsed = log.Elapsed_Minutes();
    if (!add_mode && row == 0)
    {
        record[Day_Name_Field] = log.Records[0][Day_Name_Field];
        record[Date_Field] = log.Records[0][Date_Field];
        log.Records[0] = record;
    }
    else if (add_mode)
    {
        // A first record needs room for the Unassigned_Row too; the add button keeps a
        // full day from getting here, this keeps the day's invariants if it does.
        const std::size_t rows_needed = log.Size() <= 1 ? 2 : 1;
        if (log.Size() + rows_needed > Max_Day_Log_Records)
        {
            reject();
            return;
        }
        if (overrange_warning && int(log.Recorded_Minutes) + int(duration) > elapsed &&
            Show_Message(Overtime_Icon, 13, 2, 3) == 2)
            return;
        if (log.Size() <= 1)
        {
            Work_Record unassigned;
            unassigned[Work_Type_Field] = log.Records[0][Work_Type_Field];
            unassigned[Remark_Field] = log.Records[0][Remark_Field];
            log.Append_Record(unassigned);
            log.Records[0][Work_Type_Field] = Main_Form.Texts_Of_Main_Form().Day_Row_Label;
            log.Records[0][Remark_Field].clear();
        }
        log.Append_Record(record);
    }
    else
    {
        if (user_row)
        {
            if (overrange_warning &&
                int(log.Recorded_Minutes) - int(present_duration) + int(duration) > elapsed &&
                Show_Message(Overtime_Icon, 14, 2, 3) == 2)
                return;
            log.Recorded_Minutes = static_cast<Minute_Of_Day>(log.Recorded_Minutes - present_duration);
        }
        log.Records[row] = record;
    }

    if (add_mode || user_row)
    {
        log.Recorded_Minutes = static_cast<Minute_Of_Day>(log.Recorded_Minutes + duration);
        const bool day_full = duration == available || log.Size() >= Max_Day_Log_Records;
        const bool enabled = Main_Form.Add_Record_Button_Enabled();
        if (day_full && enabled)
            Main_Form.Set_Add_Record_Button_Enabled(false);
        else if (!day_full && !enabled)
            Main_Form.Set_Add_Record_Button_Enabled(true);
    }

    Main_Form.Refresh_Summary_Rows();
    Main_Form.Checkpoint_Day_Log();
    accept();
}

bool TUpdate_Record_Form::Work_Type_Combo_BoxKeyDown(QKeyEvent* event)
{
    if (Is_Enter(event))
    {
        Update_Record_ButtonClick();
        return true;
    }
    if (event->key() == Qt::Key_Escape)
    {
        close();
        return true;
    }
    return false;
}

bool TUpdate_Record_Form::Hour_Edit_BoxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    const QString text = event->text();
    // Keys without a printable character (arrows, Delete, backspace, shortcuts) pass.
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) return false;
    const QChar typed = text.at(0);
    if (typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) return false;
    const std::string cp1250 = To_Cp1250(QString(typed));
    const char digit = cp1250.size() == 1 ? Czech_Number_Row_Digit(static_cast<unsigned char>(cp1250[0])) : 0;
    if (digit != 0) box->insert(QString(QLatin1Char(digit)));
    return true;
}

void TUpdate_Record_Form::Hour_Edit_BoxExit(QLineEdit* box)
{
    box->setText(Two_Digits(Time_Box_Value(box->text())));
}

void TUpdate_Record_Form::Remark_Memo_BoxEnter()
{
    Remark_Memo_Box->selectAll();
}

void TUpdate_Record_Form::Limit_Remark_Length()
{
    const QString text = Remark_Memo_Box->toPlainText();
    if (text.size() <= int(Short_String_Max_Length)) return;
    QTextCursor cursor = Remark_Memo_Box->textCursor();
    const int position = std::min(cursor.position(), int(Short_String_Max_Length));
    Remark_Memo_Box->setPlainText(text.left(int(Short_String_Max_Length)));
    cursor = Remark_Memo_Box->textCursor();
    cursor.setPosition(position);
    Remark_Memo_Box->setTextCursor(cursor);
}

void TUpdate_Record_Form::Flash_TimerTimer()
{
    Main_Form.Draw_Row(Flash_Row, Flash_State);
    Flash_State = !Flash_State;
}

bool TUpdate_Record_Form::eventFilter(QObject* watched, QEvent* event)
{
    const bool time_box = watched == Hour_Edit_Box || watched == Minute_Edit_Box;
    switch (event->type())
    {
    case QEvent::KeyPress:
    {
        auto* key = static_cast<QKeyEvent*>(event);
        if (Work_Type_Combo_BoxKeyDown(key)) return true;
        if (time_box && Hour_Edit_BoxKeyPress(static_cast<QLineEdit*>(watched), key)) return true;
        break;
    }
    case QEvent::FocusOut:
        if (time_box && Focus_Moved_By_User(static_cast<QFocusEvent*>(event)))
            Hour_Edit_BoxExit(static_cast<QLineEdit*>(watched));
        break;
    case QEvent::FocusIn:
        if (watched == Remark_Memo_Box && Focus_Moved_By_User(static_cast<QFocusEvent*>(event)))
        {
            const bool handled = QDialog::eventFilter(watched, event);
            Remark_Memo_BoxEnter();
            return handled;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TUpdate_Record_Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Keep_Opening_Dialog_On_Screen(this);
    if (Work_Type_Combo_Box->isEnabled()) Work_Type_Combo_Box->setFocus();
}

void TUpdate_Record_Form::done(int result)
{
    Flash_Timer->stop();
    const std::uint8_t highlighted = Main_Form.Highlighted_Row();
    if (highlighted < Main_Form.Day_Log_Of_Main_Form().Size()) Main_Form.Draw_Row(highlighted, false);
    Main_Form.Set_Highlighted_Row(No_Row);
    QDialog::done(result);
}

int Display_Update_Record_Form(Main_Form_Access& main_form, Message_Dialogs& message_dialogs, bool Add_Mode)
{
    Settings& settings = main_form.Settings_Of_Main_Form();
    int result = QDialog::Rejected;
    {
        TUpdate_Record_Form form(main_form, message_dialogs, main_form.Main_Form_Widget());
        form.move(settings.Update_Record_Form_Left, settings.Update_Record_Form_Top);
        form.Fill(Add_Mode);
        result = form.exec();
        settings.Update_Record_Form_Left = static_cast<std::int16_t>(form.x());
        settings.Update_Record_Form_Top = static_cast<std::int16_t>(form.y());
    }
    if (Add_Mode && result == QDialog::Accepted)
    {
        main_form.Update_Layout();
        if (settings.Main_Form_Anchor == 3 || settings.Main_Form_Anchor == 4) main_form.Apply_Anchor();
        if (QWidget* window = main_form.Main_Form_Widget())
        {
            const QRect work_area = Primary_Work_Area();
            if (window->y() + window->height() > work_area.height())
                window->move(window->x(), work_area.height() - window->height());
        }
    }
    main_form.Set_Key_Armed(true);
    return result;
}
