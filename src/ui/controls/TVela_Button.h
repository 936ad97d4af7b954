#pragma once
// The skinned push button of every window. A skin holds the button's four faces side by
// side, each a quarter of the skin's width: normal, hot (pointer over it), down, disabled.
// Without a skin, or with Draw_Default set, the button draws a plain bevelled face.
#include <QPixmap>
#include <QString>
#include <QWidget>

class TVela_Button : public QWidget
{
    Q_OBJECT

public:
    enum class Face
    {
        Normal = 0,
        Hot = 1,
        Down = 2,
        Disabled = 3
    };
    static constexpr int Skin_Face_Count = 4;

    explicit TVela_Button(QWidget* parent = nullptr);

    // The skin is shared by many buttons; the copy held here is a cheap shared reference.
    void Set_Button_Skin(const QPixmap& skin);
    const QPixmap& Button_Skin() const { return Skin; }

    void Set_Text(const QString& text);
    const QString& Text() const { return Caption; }

    // Caption placement: centred in either direction, or at the offset from the top left.
    void Set_Center_Text_Horizontal(bool center);
    void Set_Center_Text_Vertical(bool center);
    void Set_Text_Left(int left);
    void Set_Text_Top(int top);
    bool Center_Text_Horizontal() const { return Centered_Horizontally; }
    bool Center_Text_Vertical() const { return Centered_Vertically; }

    void Set_Draw_Default(bool draw_default);
    bool Draw_Default() const { return Default_Face; }

    // A held button stays down after a click until it is clicked again or released.
    void Set_Hold_Status(bool hold);
    bool Hold_Status() const { return Holds; }
    void Set_Button_Down(bool down);
    bool Button_Down() const { return Held_Down; }

    void Set_Tag(int tag) { Button_Tag = tag; }
    int Tag() const { return Button_Tag; }

    // The face the button shows now.
    Face Current_Face() const;

    // Where the caption's box lies for the current font, before the pressed shift.
    QRect Caption_Rectangle() const;

signals:
    void Clicked(TVela_Button* sender);
    void Mouse_Entered(TVela_Button* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Paint_Default_Face(class QPainter& painter, Face face) const;

    QPixmap Skin;
    QString Caption;
    bool Centered_Horizontally = true;
    bool Centered_Vertically = true;
    int Caption_Left = 0;
    int Caption_Top = 0;
    bool Default_Face = false;
    bool Holds = false;
    bool Held_Down = false;
    int Button_Tag = 0;
    bool Pointer_Inside = false;
    bool Pressing = false;      // left button went down on the button and is still down
    bool Press_Inside = false;  // ...and the pointer is over the button now
};
