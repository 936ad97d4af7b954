#include "ui/dialogs/TAway_Question_Form.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "config/Language_File.h"
#include "config/Language_Texts.h"
#include "config/Newer_Texts.h"
#include "config/Program_Messages.h"
#include "platform/Format.h"
#include "platform/Short_String.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/TUpdate_Record_Face_Drag.h"
#include "ui/dialogs/Update_Record_Work_Type_List.h"
#include "worklog/Day_Rules.h"

namespace
{

std::string Clock_Text(const Date_Time& time)
{
    return Minute_Of_Day_To_Text(static_cast<Minute_Of_Day>(time.Hour * 60 + time.Minute));
}

}  // namespace

std::string Away_Question_Text(const std::string& language_file_path, const Away_Period& period)
{
    const std::string pattern = Read_Newer_Text(language_file_path, Newer_Texts::Away_Question);
    return Format(pattern, {Clock_Text(period.Began), Clock_Text(period.Ended), std::to_string(period.Minutes)})
        .value_or(pattern);
}

TAway_Question_Form::TAway_Question_Form(Day_Rules& rules, const Language_Texts& texts,
                                         const Dialog_Resources& resources, Message_Dialogs& message_dialogs,
                                         const Away_Period& period)
    : QDialog(resources.Parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Rules(rules), Texts(texts), Dialogs(message_dialogs), Period(period)
{
    setObjectName(QStringLiteral("Away_Question_Form"));
    setFont(Program_Font());
    setFixedSize(347, 206);
    const std::string& language_file = Texts.Language_File_Path;
    const auto newer = [&language_file](const Newer_Text& text) {
        return From_Cp1250(Read_Newer_Text(language_file, text));
    };
    // The labels of the record editor's boxes, as the language file names them.
    const auto editor = [&language_file](const char* key) {
        return From_Cp1250(Read_Language_Text(language_file, "Update_Record_Form", key));
    };
    setWindowTitle(newer(Newer_Texts::Away_Title));

    Question = new QLabel(From_Cp1250(Away_Question_Text(language_file, period)), this);
    Question->setObjectName(QStringLiteral("Question_Label"));
    Question->setWordWrap(true);
    Question->setFont(Program_Bold_Font());
    Question->setGeometry(16, 10, 315, 34);

    auto* work_type_label = new QLabel(editor("4"), this);
    work_type_label->setGeometry(16, 50, 315, 14);
    Work_Type_Combo_Box = New_Work_Type_Combo_Box(this, "Work_Type_Combo_Box", QRect(24, 66, 299, 21));
    Fill_Work_Type_Combo_Box(Work_Type_Combo_Box, resources.Paths, Texts, resources.Errors);
    Work_Type_Combo_Box->setCurrentIndex(-1);
    Work_Type_Combo_Box->setEditText(QString());

    auto* remark_label = new QLabel(editor("6"), this);
    remark_label->setGeometry(16, 96, 315, 14);
    // A remark is one line of the target log, as short as a record's field.
    Remark_Edit_Box = new QLineEdit(this);
    Remark_Edit_Box->setObjectName(QStringLiteral("Remark_Edit_Box"));
    Remark_Edit_Box->setGeometry(24, 112, 299, 21);
    Remark_Edit_Box->setMaxLength(int(Short_String_Max_Length));

    Book_Button = new TVela_Button(this);
    Book_Button->setObjectName(QStringLiteral("Book_Button"));
    Book_Button->setGeometry(24, 160, 140, 25);
    Book_Button->Set_Text(newer(Newer_Texts::Away_Book));
    connect(Book_Button, &TVela_Button::Clicked, this, [this] { Book_ButtonClick(); });
    Leave_Button = new TVela_Button(this);
    Leave_Button->setObjectName(QStringLiteral("Leave_Button"));
    Leave_Button->setGeometry(183, 160, 140, 25);
    Leave_Button->Set_Text(newer(Newer_Texts::Away_Leave));
    connect(Leave_Button, &TVela_Button::Clicked, this, [this] { reject(); });
    // The skin's face has its own width; a caption wider than that gets the plain face
    // the whole button's width, on both buttons alike.
    const int face_width = resources.Button_Skin.width() / TVela_Button::Skin_Face_Count;
    bool plain = false;
    for (TVela_Button* button : {Book_Button, Leave_Button})
        plain = plain || QFontMetrics(button->font()).horizontalAdvance(button->Text()) + 8 > face_width;
    for (TVela_Button* button : {Book_Button, Leave_Button})
    {
        button->Set_Center_Text_Horizontal(true);
        button->Set_Center_Text_Vertical(true);
        button->Set_Button_Skin(resources.Button_Skin);
        button->Set_Draw_Default(plain);
    }
    if (!plain)
    {
        Book_Button->resize(face_width, Book_Button->height());
        Leave_Button->setGeometry(323 - face_width, 160, face_width, Leave_Button->height());
    }

    setTabOrder(Work_Type_Combo_Box, Remark_Edit_Box);
    // Enter books from every box, as in the record editor; Escape leaves the time unassigned.
    for (QObject* input :
         std::initializer_list<QObject*>{Work_Type_Combo_Box, Work_Type_Combo_Box->lineEdit(), Remark_Edit_Box})
        input->installEventFilter(this);
}

void TAway_Question_Form::Book_ButtonClick()
{
    const std::string work_type = Cut_To_Short_String(To_Cp1250(Work_Type_Combo_Box->currentText().trimmed()));
    const std::string remark = Cut_To_Short_String(To_Cp1250(Remark_Edit_Box->text()));
    Record_Verdict verdict = Book_Away_Time(Rules, Period, work_type, remark);
    if (verdict.Verdict == Day_Verdict::Ask_Overtime_Adding || verdict.Verdict == Day_Verdict::Ask_Overtime_Editing)
    {
        if (Put_Message(Dialogs, Texts,
                        verdict.Verdict == Day_Verdict::Ask_Overtime_Adding
                            ? Program_Message::Ask_About_Overtime_When_Adding
                            : Program_Message::Ask_About_Overtime_When_Editing) == 2)
            return;
        verdict = Book_Away_Time(Rules, Period, work_type, remark, true);
    }
    switch (verdict.Verdict)
    {
    case Day_Verdict::Done: accept(); return;
    case Day_Verdict::Tell_Empty_Work_Type: Put_Message(Dialogs, Texts, Program_Message::Tell_Empty_Work_Type); return;
    case Day_Verdict::Tell_Duplicate_Work_Type:
        Put_Message(Dialogs, Texts, Program_Message::Tell_Duplicate_Work_Type);
        return;
    case Day_Verdict::Tell_Duration_Too_Long: {
        const Minute_Of_Day available = verdict.Available_Minutes;
        Put_Message(Dialogs, Texts, Program_Message::Tell_Duration_Too_Long,
                    {Minute_Of_Day_To_Text(available),
                     Texts.Is_Czech_Language ? Duration_Phrase(Whole_Hours(available), Remaining_Minutes(available), 1)
                                             : std::string()});
        return;
    }
    case Day_Verdict::Refused:
        Put_Message_Text(Dialogs, Texts, Program_Message::Tell_Duplicate_Work_Type,
                         Read_Newer_Text(Texts.Language_File_Path, Newer_Texts::Away_Day_Full));
        reject();
        return;
    default: return;  // the overtime question was answered already
    }
}

bool TAway_Question_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
        {
            Book_ButtonClick();
            return true;
        }
        if (key == Qt::Key_Escape)
        {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAway_Question_Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Keep_Opening_Dialog_On_Screen(this);
    Work_Type_Combo_Box->setFocus();
}

int Display_Away_Question_Form(Day_Rules& rules, const Language_Texts& texts, const Dialog_Resources& resources,
                               Message_Dialogs& message_dialogs, const Away_Period& period)
{
    TAway_Question_Form form(rules, texts, resources, message_dialogs, period);
    return form.exec();
}
