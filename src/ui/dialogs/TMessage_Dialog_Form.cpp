#include "ui/dialogs/TMessage_Dialog_Form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "platform/Code_Page.h"
#include "platform/Format.h"
#include "platform/Short_String.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"

namespace
{
constexpr const char* Background_File_Name = "Message_Dialog_Form_Background.bmp";

// Letter keys act only for letters and digits, whose key codes are their characters.
bool Is_Key_Character(std::uint16_t hotkey)
{
    return (hotkey >= 'A' && hotkey <= 'Z') || (hotkey >= '0' && hotkey <= '9');
}

QString Shown_Text(const std::string& cp1250_text)
{
    QString text = From_Cp1250(cp1250_text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
}  // namespace

std::uint16_t Caption_Hotkey(const std::string& caption)
{
    if (caption.empty()) return 0;
    const auto first = static_cast<unsigned char>(caption.front());
    return first >= 'a' && first <= 'z' ? std::uint16_t(first - 'a' + 'A') : std::uint16_t(first);
}

QPoint Message_Dialog_Opening_Position(QPoint remembered, int grown_height, const QRect& work_area)
{
    if (work_area.isEmpty()) return remembered;
    const int area_bottom = work_area.y() + work_area.height();
    const int own_bottom = remembered.y() + TMessage_Dialog_Form::Form_Height;
    // A position written by hand below the bottom stays; only the growth's part is taken back.
    const int grown_past = remembered.y() + grown_height - std::max(area_bottom, own_bottom);
    if (grown_past > 0) remembered.ry() -= grown_past;
    return remembered;
}

TMessage_Dialog_Form::TMessage_Dialog_Form(const Program_Paths& paths, Error_List& errors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Paths(paths), Errors(errors)
{
    setWindowTitle(QStringLiteral("Zentavo Logger"));
    setFixedSize(Form_Width, Form_Height);
    setFont(Program_Font());
    setWindowOpacity(240.0 / 255.0);
    QPalette face = palette();
    face.setColor(QPalette::Window, Qt::white);
    face.setColor(QPalette::WindowText, Qt::black);
    setPalette(face);

    Label1 = new QLabel(this);
    Label1->move(112, 24);
    Label1->setFont(Program_Bold_Font());
    Label1->setTextFormat(Qt::PlainText);
    // Presses on the text drag the dialog like presses anywhere else on it.
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Vela_Button_1 = new TVela_Button(this);
    Vela_Button_1->setGeometry(112, 96, 105, 25);
    Vela_Button_1->Set_Tag(1);
    Vela_Button_2 = new TVela_Button(this);
    Vela_Button_2->setGeometry(232, 96, 105, 25);
    Vela_Button_2->Set_Tag(2);
    connect(Vela_Button_1, &TVela_Button::Clicked, this, &TMessage_Dialog_Form::Vela_Button_1Click);
    connect(Vela_Button_2, &TVela_Button::Clicked, this, &TMessage_Dialog_Form::Vela_Button_1Click);

    Animation_Timer = new QTimer(this);
    Animation_Timer->setInterval(32);
    connect(Animation_Timer, &QTimer::timeout, this, &TMessage_Dialog_Form::Animation_TimerTimer);

    if (!Load_Skin_Bitmap(Path_To_QString(Paths.Skin(Background_File_Name)), Message_Dialog_Background_Bitmap))
    {
        Errors.Add(
            Utf8_To_Cp1250(" - Display_Message_Dialog - nebyl nalezen soubor se zdrojem pozadí - "
                           "Message_Dialog_Form_Background.bmp"));
    }
}

TMessage_Dialog_Form::~TMessage_Dialog_Form() { Animation_Timer->stop(); }

void TMessage_Dialog_Form::Set_Buttons(const QPixmap& button_skin, const std::string& button_1_text,
                                       const std::string& button_2_text)
{
    Vela_Button_1->Set_Button_Skin(button_skin);
    Vela_Button_2->Set_Button_Skin(button_skin);
    Vela_Button_1->Set_Text(From_Cp1250(button_1_text));
    First_Hotkey = Caption_Hotkey(button_1_text);
    if (button_2_text.empty())
    {
        Second_Hotkey = 0;
        Vela_Button_1->move(124, Buttons_Top());
        Vela_Button_2->hide();
    }
    else
    {
        Vela_Button_1->move(112, Buttons_Top());
        Vela_Button_2->Set_Text(From_Cp1250(button_2_text));
        Second_Hotkey = Caption_Hotkey(button_2_text);
        Vela_Button_2->show();
    }
    // Two captions with the same letter would make the letter ambiguous, so it stays inert.
    Letter_Keys_Enabled = First_Hotkey != Second_Hotkey;
}

void TMessage_Dialog_Form::Set_Message(const std::string& message_format, const std::vector<std::string>& arguments)
{
    std::string pattern = Cut_To_Short_String(message_format);
    for (char& character : pattern)
        if (character == '#') character = '\r';
    const std::optional<std::string> formatted = Format(pattern, arguments);
    Label1->setText(Shown_Text(formatted ? *formatted : pattern));
    Label1->setWordWrap(false);
    Label1->setMinimumSize(0, 0);
    Label1->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Label1->adjustSize();

    // A line wider than the dialog would be cut off, so it wraps at words instead, and a
    // text too tall for the space above the buttons makes the dialog taller.
    const int width_limit = Form_Width - Label1->x() - Label_Right_Margin;
    if (Label1->width() > width_limit)
    {
        Label1->setWordWrap(true);
        Label1->setFixedSize(width_limit, Label1->heightForWidth(width_limit));
    }
    Extra_Height = std::max(0, Label1->y() + Label1->height() - Text_Bottom_Limit);
    setFixedSize(Form_Width, Form_Height + Extra_Height);
    Vela_Button_1->move(Vela_Button_1->x(), Buttons_Top());
    Vela_Button_2->move(Vela_Button_2->x(), Buttons_Top());
}

void TMessage_Dialog_Form::Load_Icon(const std::string& icon_file_name, int animation_interval)
{
    const std::string path = Paths.Skin(icon_file_name);
    if (!Load_Skin_Bitmap(Path_To_QString(path), Message_Dialog_Icon_Bitmap))
    {
        Errors.Add(" - DISPLAY_MESSAGE_DIALOG - source file " + File_Name_To_Cp1250(path) + " not found");
    }
    Icon_Frame_Count = std::min(Message_Dialog_Icon_Bitmap.width() / Frame_Size, 255);
    Frame_Index = 0;
    Shown_Frame_Index = 0;
    // An interval of 0 runs no timer at all, as a zero-interval system timer never fires.
    if (Icon_Frame_Count > 1 && animation_interval > 0)
    {
        Animation_Timer->setInterval(animation_interval);
        Animation_Timer->start();
    }
    else
    {
        Animation_Timer->stop();
    }
    update();
}

void TMessage_Dialog_Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QPixmap& background = Message_Dialog_Background_Bitmap;
    if (!background.isNull() && Extra_Height == 0)
    {
        painter.drawPixmap(0, 0, background);
    }
    else if (!background.isNull())
    {
        // A taller dialog keeps the background's top and bottom and stretches the row between.
        const int split = std::min(Background_Split_Row, background.height());
        painter.drawPixmap(0, 0, background, 0, 0, background.width(), split);
        painter.drawPixmap(QRect(0, split, background.width(), Extra_Height), background,
                           QRect(0, std::max(split - 1, 0), background.width(), 1));
        painter.drawPixmap(0, split + Extra_Height, background, 0, split, background.width(),
                           background.height() - split);
    }
    if (Icon_Frame_Count == 1)
    {
        painter.drawPixmap(Icon_Left, Icon_Top, Message_Dialog_Icon_Bitmap);
    }
    else if (Icon_Frame_Count > 1)
    {
        painter.drawPixmap(QRect(Icon_Left, Icon_Top, Frame_Size, Frame_Size), Message_Dialog_Icon_Bitmap,
                           QRect(Shown_Frame_Index * Frame_Size, 0, Frame_Size, Frame_Size));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void TMessage_Dialog_Form::Animation_TimerTimer()
{
    Shown_Frame_Index = Frame_Index;
    Frame_Index = Frame_Index < Icon_Frame_Count - 1 ? Frame_Index + 1 : 0;
    update(Icon_Left, Icon_Top, Frame_Size, Frame_Size);
}

void TMessage_Dialog_Form::Vela_Button_1Click(TVela_Button* sender) { Choose(sender->Tag()); }

void TMessage_Dialog_Form::Choose(int answer)
{
    Animation_Timer->stop();
    Dialog_Answer = answer;
    done(answer);
}

void TMessage_Dialog_Form::reject()
{
    // Closed by the window manager: the same as the second button.
    Choose(2);
}

void TMessage_Dialog_Form::keyPressEvent(QKeyEvent* event)
{
    // A key held down since before the dialog opened must not answer a question it never saw.
    if (event->isAutoRepeat()) return;
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
    {
        Choose(1);
        return;
    }
    if (key == Qt::Key_Escape)
    {
        Choose(2);
        return;
    }
    if (!Letter_Keys_Enabled) return;
    if (Is_Key_Character(First_Hotkey) && key == First_Hotkey) Choose(1);
    else if (Is_Key_Character(Second_Hotkey) && key == Second_Hotkey) Choose(2);
}

void TMessage_Dialog_Form::mousePressEvent(QMouseEvent* event)
{
    Dragging = true;
    Drag_Offset = event->globalPosition().toPoint() - pos();
}

void TMessage_Dialog_Form::mouseMoveEvent(QMouseEvent* event)
{
    if (!Dragging) return;
    const QRect proposed(event->globalPosition().toPoint() - Drag_Offset, size());
    move(Keep_Inside_Work_Area(proposed, Primary_Work_Area()).topLeft());
}

void TMessage_Dialog_Form::mouseReleaseEvent(QMouseEvent*) { Dragging = false; }
