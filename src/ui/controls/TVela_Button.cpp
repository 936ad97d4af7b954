#include "ui/controls/TVela_Button.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/controls/Program_Font.h"

TVela_Button::TVela_Button(QWidget* parent) : QWidget(parent)
{
    // Keys belong to the window: the program's windows act on them before any control.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    setFont(Program_Font());
    resize(105, 25);
}

void TVela_Button::Set_Button_Skin(const QPixmap& skin)
{
    Skin = skin;
    update();
}

void TVela_Button::Set_Text(const QString& text)
{
    Caption = text;
    update();
}

void TVela_Button::Set_Center_Text_Horizontal(bool center)
{
    Centered_Horizontally = center;
    update();
}

void TVela_Button::Set_Center_Text_Vertical(bool center)
{
    Centered_Vertically = center;
    update();
}

void TVela_Button::Set_Text_Left(int left)
{
    Caption_Left = left;
    update();
}

void TVela_Button::Set_Text_Top(int top)
{
    Caption_Top = top;
    update();
}

void TVela_Button::Set_Draw_Default(bool draw_default)
{
    Default_Face = draw_default;
    update();
}

void TVela_Button::Set_Hold_Status(bool hold)
{
    Holds = hold;
    if (!Holds) Held_Down = false;
    update();
}

void TVela_Button::Set_Button_Down(bool down)
{
    // Only a holding button keeps a pressed state of its own.
    Held_Down = Holds && down;
    update();
}

TVela_Button::Face TVela_Button::Current_Face() const
{
    if (!isEnabled()) return Face::Disabled;
    if (Held_Down || (Pressing && Press_Inside)) return Face::Down;
    if (Pointer_Inside) return Face::Hot;
    return Face::Normal;
}

QRect TVela_Button::Caption_Rectangle() const
{
    const QFontMetrics metrics(font());
    const int text_width = metrics.horizontalAdvance(Caption);
    const int text_height = metrics.height();
    const int left = Centered_Horizontally ? (width() - text_width) / 2 : Caption_Left;
    const int top = Centered_Vertically ? (height() - text_height) / 2 : Caption_Top;
    return QRect(left, top, text_width, text_height);
}

void TVela_Button::Paint_Default_Face(QPainter& painter, Face face) const
{
    const QRect area = rect();
    const bool down = face == Face::Down;
    QColor fill(0xEC, 0xEC, 0xE8);
    if (face == Face::Hot) fill = QColor(0xF6, 0xF6, 0xF2);
    if (down) fill = QColor(0xD6, 0xD9, 0xCE);
    painter.fillRect(area, fill);

    const int right = area.width() - 1;
    const int bottom = area.height() - 1;
    const QColor light = down ? QColor(0x80, 0x80, 0x80) : QColor(0xFF, 0xFF, 0xFF);
    const QColor dark = down ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x80, 0x80, 0x80);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(0, 0, right, bottom);
    painter.setPen(light);
    painter.drawLine(1, 1, right - 1, 1);
    painter.drawLine(1, 1, 1, bottom - 1);
    painter.setPen(dark);
    painter.drawLine(1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, 1, right - 1, bottom - 1);
}

void TVela_Button::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Face face = Current_Face();
    if (Default_Face || Skin.isNull())
    {
        Paint_Default_Face(painter, face);
    }
    else
    {
        const int face_width = Skin.width() / Skin_Face_Count;
        const QRect source(int(face) * face_width, 0, face_width, Skin.height());
        painter.drawPixmap(QRect(0, 0, face_width, Skin.height()), Skin, source);
    }

    if (Caption.isEmpty()) return;
    QRect caption = Caption_Rectangle();
    if (face == Face::Down) caption.translate(1, 1);
    painter.setFont(font());
    painter.setPen(face == Face::Disabled ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Caption);
}

void TVela_Button::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    Pressing = true;
    Press_Inside = true;
    update();
}

void TVela_Button::mouseMoveEvent(QMouseEvent* event)
{
    if (!Pressing) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != Press_Inside)
    {
        Press_Inside = inside;
        update();
    }
}

void TVela_Button::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !Pressing) return;
    Pressing = false;
    const bool clicked = rect().contains(event->position().toPoint());
    Press_Inside = false;
    update();
    if (!clicked) return;
    if (Holds) Held_Down = !Held_Down;
    emit Clicked(this);
}

void TVela_Button::enterEvent(QEnterEvent*)
{
    Pointer_Inside = true;
    update();
    emit Mouse_Entered(this);
}

void TVela_Button::leaveEvent(QEvent*)
{
    Pointer_Inside = false;
    update();
}

void TVela_Button::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
    {
        Pressing = false;
        Press_Inside = false;
        update();
    }
    QWidget::changeEvent(event);
}
