#include "ui/dialogs/TUpdate_Record_Form.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "config/Error_List.h"
#include "config/Language_File.h"
#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "config/Settings_File.h"
#include "platform/Short_String.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/Record_Table_View.h"
#include "ui/dialogs/TUpdate_Record_Face_Drag.h"
#include "ui/dialogs/Update_Record_Work_Type_List.h"
#include "worklog/Day_Rules.h"

namespace
{

constexpr const char* Language_Section = "Update_Record_Form";
constexpr std::uint8_t No_Row = Record_Table_View::No_Row;

QString Two_Digits(int value) { return QString::asprintf("%.2d", value); }

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

bool Is_Enter(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

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

TUpdate_Record_Form::TUpdate_Record_Form(Day_Rules& rules, Settings& settings, const Language_Texts& texts,
                                         Record_Table_View& table, const Dialog_Resources& resources,
                                         Message_Dialogs& message_dialogs, std::uint8_t edited_row)
    : QDialog(resources.Parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Rules(rules), Setup(settings), Texts(texts), Table(table), Resources(resources), Dialogs(message_dialogs),
      Edited_Row(edited_row)
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

    Update_Record_Button = new TVela_Button(GroupBox1);
    Update_Record_Button->setObjectName(QStringLiteral("Update_Record_Button"));
    Update_Record_Button->setGeometry(96, 216, 105, 25);
    Update_Record_Button->Set_Text(QString::fromUtf8("Uložit"));
    Update_Record_Button->Set_Center_Text_Horizontal(true);
    Update_Record_Button->Set_Center_Text_Vertical(true);
    Update_Record_Button->Set_Button_Skin(Resources.Button_Skin);
    connect(Update_Record_Button, &TVela_Button::Clicked, this, [this] { Update_Record_ButtonClick(); });

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

    Face_Drag = new TUpdate_Record_Face_Drag(this, Setup);
    for (QWidget* handle : std::initializer_list<QWidget*>{this, GroupBox1, Label2, Label3, Label4})
        Face_Drag->Add_Handle(handle);
}

void TUpdate_Record_Form::Set_Texts_From_Language_File(bool add_mode)
{
    const std::string& language_file = Texts.Language_File_Path;
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

    const Program_Paths& paths = Resources.Paths;
    New_Record_Minutes = static_cast<std::uint16_t>(Read_New_Log_Record_Working_Hours(Setup_Ini_Path(paths)));

    Fill_Work_Type_Combo_Box(Work_Type_Combo_Box, paths, Texts, Resources.Errors);

    const Day_Log& log = Rules.Log();
    if (add_mode)
    {
        const std::uint8_t highlighted = Table.Highlighted_Row();
        if (highlighted < log.Size()) Table.Draw_Row(highlighted, false);
        Table.Set_Highlighted_Row(No_Row);
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

    const std::size_t row = Edited_Row;
    if (row >= log.Size()) return;
    const Work_Record& record = log[row];
    Work_Type_Combo_Box->setEnabled(Rules.Work_Type_Editable(row));
    Hour_Edit_Box->setEnabled(Rules.Duration_Editable(row));
    Minute_Edit_Box->setEnabled(Rules.Duration_Editable(row));

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

int TUpdate_Record_Form::Show_Message(Program_Message message, const std::vector<std::string>& arguments)
{
    return Put_Message(Dialogs, Texts, message, arguments);
}

void TUpdate_Record_Form::Update_Record_ButtonClick()
{
    for (QLineEdit* box : {Hour_Edit_Box, Minute_Edit_Box})
    {
        if (box->text().isEmpty()) box->setText(QStringLiteral("00"));
        box->selectAll();
    }

    const Minute_Of_Day_Result duration =
        Encode_Minute_Of_Day(static_cast<std::uint8_t>(Time_Box_Value(Hour_Edit_Box->text())),
                             static_cast<std::uint8_t>(Time_Box_Value(Minute_Edit_Box->text())));
    const Record_Input input{Edited_Row, Cut_To_Short_String(To_Cp1250(Work_Type_Combo_Box->currentText())),
                             Cut_To_Short_String(To_Cp1250(Remark_As_One_Line(Remark_Memo_Box->toPlainText()))),
                             duration.Valid, duration.Value};
    Record_Verdict verdict = Rules.Store_Record(input);
    if (verdict.Verdict == Day_Verdict::Ask_Overtime_Adding || verdict.Verdict == Day_Verdict::Ask_Overtime_Editing)
    {
        if (Show_Message(verdict.Verdict == Day_Verdict::Ask_Overtime_Adding
                             ? Program_Message::Ask_About_Overtime_When_Adding
                             : Program_Message::Ask_About_Overtime_When_Editing) == 2)
            return;
        verdict = Rules.Store_Record(input, true);
    }
    switch (verdict.Verdict)
    {
    case Day_Verdict::Done:
        // The window that opened the editor refreshes what follows from the day.
        accept();
        return;
    case Day_Verdict::Tell_Empty_Work_Type: Show_Message(Program_Message::Tell_Empty_Work_Type); return;
    case Day_Verdict::Tell_Duplicate_Work_Type:
        Flash_Row = verdict.Duplicate_Row;
        Flash_State = true;
        Flash_Timer->start();
        Show_Message(Program_Message::Tell_Duplicate_Work_Type);
        Flash_Timer->stop();
        Table.Draw_Row(Flash_Row, Flash_Row == Table.Highlighted_Row());
        return;
    case Day_Verdict::Tell_Duration_Too_Long: {
        const Minute_Of_Day available = verdict.Available_Minutes;
        Show_Message(Program_Message::Tell_Duration_Too_Long,
                     {Minute_Of_Day_To_Text(available),
                      Texts.Is_Czech_Language ? Duration_Phrase(Whole_Hours(available), Remaining_Minutes(available), 1)
                                              : std::string()});
        return;
    }
    case Day_Verdict::Tell_Zero_Duration: Show_Message(Program_Message::Tell_Zero_Duration); return;
    case Day_Verdict::Refused:
        // The add button keeps a full day from getting here; a day that filled up
        // while the editor was open ends it unsaved.
        reject();
        return;
    default: return;  // the overtime question was answered already
    }
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

void TUpdate_Record_Form::Hour_Edit_BoxExit(QLineEdit* box) { box->setText(Two_Digits(Time_Box_Value(box->text()))); }

void TUpdate_Record_Form::Remark_Memo_BoxEnter() { Remark_Memo_Box->selectAll(); }

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
    Table.Draw_Row(Flash_Row, Flash_State);
    Flash_State = !Flash_State;
}

bool TUpdate_Record_Form::eventFilter(QObject* watched, QEvent* event)
{
    const bool time_box = watched == Hour_Edit_Box || watched == Minute_Edit_Box;
    switch (event->type())
    {
    case QEvent::KeyPress: {
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
    default: break;
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
    const std::uint8_t highlighted = Table.Highlighted_Row();
    if (highlighted < Rules.Log().Size()) Table.Draw_Row(highlighted, false);
    Table.Set_Highlighted_Row(No_Row);
    QDialog::done(result);
}

int Display_Update_Record_Form(Day_Rules& rules, Settings& settings, const Language_Texts& texts,
                               Record_Table_View& table, const Dialog_Resources& resources,
                               Message_Dialogs& message_dialogs, std::uint8_t Edited_Row, bool Add_Mode)
{
    TUpdate_Record_Form form(rules, settings, texts, table, resources, message_dialogs, Edited_Row);
    form.move(settings.Update_Record_Form_Left, settings.Update_Record_Form_Top);
    form.Fill(Add_Mode);
    const int result = form.exec();
    settings.Update_Record_Form_Left = static_cast<std::int16_t>(form.x());
    settings.Update_Record_Form_Top = static_cast<std::int16_t>(form.y());
    return result;
}
