#pragma once
// The main window's keyboard, mouse and wheel: which command each asks for, that a command
// key acts once per press, and that the title and the testing panel act as the window's
// own face. The window passes its events here and is called back through its commands.
#include <QObject>
#include <QtGlobal>

class Main_Form_Commands;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class Testing_Mode;
class Window_Drag;
struct Settings;

class Main_Form_Input : public QObject
{
public:
    // An anchored window (settings) stays in its corner.
    Main_Form_Input(Main_Form_Commands& form, Window_Drag& drag, Testing_Mode& testing, const Settings& settings)
        : Form(form), Drag(drag), Testing(testing), Setup(settings)
    {
    }

    void Key_Press(QKeyEvent* event);
    void Key_Release(QKeyEvent* event);
    void Mouse_Press(QMouseEvent* event);
    void Mouse_Move(QMouseEvent* event);
    void Mouse_Release(QMouseEvent* event);
    void Double_Click(QMouseEvent* event);
    void Wheel(QWheelEvent* event);

    // A key released while a dialog or another window had the keyboard never came here.
    void Arm() { Armed = true; }
    bool Key_Armed() const { return Armed; }

    // The title's and the testing panel's events.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Key_Down(QKeyEvent* event);
    void Key_Up(QKeyEvent* event);
    void Typed_Text(QKeyEvent* event, bool into_error_list);
    // A key the testing panel's list ignores comes on to the window, which saw it first.
    void Note_Previewed(const QKeyEvent* event);
    bool Previewed_Already(const QKeyEvent* event) const;

    Main_Form_Commands& Form;
    Window_Drag& Drag;
    Testing_Mode& Testing;
    const Settings& Setup;
    bool Armed = true;
    int Wheel_Remainder = 0;
    // The list's last key event, known by its object, type and time; never read through.
    const QKeyEvent* Previewed_Key = nullptr;
    int Previewed_Key_Type = 0;
    quint64 Previewed_Key_Time = 0;
};
