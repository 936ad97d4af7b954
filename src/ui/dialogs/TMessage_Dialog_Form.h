#pragma once
// The program's own message dialog: a skinned, borderless, modal window with an icon
// (animated when its bitmap is a strip of 64 x 64 frames), a message and one or two
// skinned buttons. It answers 1 for the first button or Enter, 2 for the second button,
// Escape or a close by the window manager.
#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

#include "config/Error_List.h"
#include "config/Program_Paths.h"

class QLabel;
class QTimer;
class TVela_Button;

class TMessage_Dialog_Form : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Form_Width = 355;
    static constexpr int Form_Height = 138;
    static constexpr int Frame_Size = 64;
    static constexpr int Icon_Left = 20;
    static constexpr int Icon_Top = 20;
    static constexpr int Buttons_Design_Top = 96;
    static constexpr int Text_Bottom_Limit = 84;  // the text ends above the buttons' band
    static constexpr int Label_Right_Margin = 12;
    static constexpr int Background_Split_Row = 86;  // between the icon and the buttons' band

    // Loads the background bitmap; a missing one is protocolled and leaves a white face.
    TMessage_Dialog_Form(const Program_Paths& paths, Error_List& errors, QWidget* parent = nullptr);
    ~TMessage_Dialog_Form() override;

    // Captions are CP1250; an empty second caption leaves one button, moved to the middle.
    void Set_Buttons(const QPixmap& button_skin, const std::string& button_1_text, const std::string& button_2_text);
    // The CP1250 pattern ("#" a line break) formatted with its arguments; a pattern that
    // does not fit them is shown as it stands.
    void Set_Message(const std::string& message_format, const std::vector<std::string>& arguments);
    // Loads the icon from the skin directory; a strip of two or more frames is animated.
    void Load_Icon(const std::string& icon_file_name, int animation_interval);

    int Answer() const { return Dialog_Answer; }
    // How much taller than its design the dialog is for a long message.
    int Extra_Height_For_Text() const { return Extra_Height; }

    // What the dialog holds, for the program's tests.
    QLabel* Label1 = nullptr;
    TVela_Button* Vela_Button_1 = nullptr;
    TVela_Button* Vela_Button_2 = nullptr;
    QTimer* Animation_Timer = nullptr;
    bool Has_Background() const { return !Message_Dialog_Background_Bitmap.isNull(); }
    int Frame_Count() const { return Icon_Frame_Count; }
    int Shown_Frame() const { return Shown_Frame_Index; }
    std::uint16_t Hotkey_1() const { return First_Hotkey; }
    std::uint16_t Hotkey_2() const { return Second_Hotkey; }
    bool Hotkeys_Enabled() const { return Letter_Keys_Enabled; }

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Vela_Button_1Click(TVela_Button* sender);
    void Animation_TimerTimer();
    void Choose(int answer);
    int Buttons_Top() const { return Buttons_Design_Top + Extra_Height; }

    const Program_Paths& Paths;
    Error_List& Errors;
    QPixmap Message_Dialog_Background_Bitmap;
    QPixmap Message_Dialog_Icon_Bitmap;
    int Icon_Frame_Count = 0;
    int Frame_Index = 0;
    int Shown_Frame_Index = 0;
    std::uint16_t First_Hotkey = 0;
    std::uint16_t Second_Hotkey = 0;
    bool Letter_Keys_Enabled = false;
    int Dialog_Answer = 2;
    int Extra_Height = 0;
    bool Dragging = false;
    QPoint Drag_Offset;  // from the dialog's top left to the pointer, in screen pixels
};

// The letter key of a CP1250 caption: its first character with a to z upper-cased; 0 for
// an empty caption.
std::uint16_t Caption_Hotkey(const std::string& caption);

// Where the dialog opens from its remembered top left once a long text has made it
// grown_height high: its drag kept it inside the work area at its own height, so the growth
// must not carry its bottom out; it moves up by as much as the growth passes the bottom.
QPoint Message_Dialog_Opening_Position(QPoint remembered, int grown_height, const QRect& work_area);
