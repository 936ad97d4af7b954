#include "ui/main/Main_Form_Input.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QWheelEvent>

#include "config/Settings.h"
#include "ui/main/Main_Form_Commands.h"
#include "ui/main/TTesting_Panel.h"
#include "ui/main/Testing_Mode.h"
#include "ui/main/Window_Drag.h"

namespace
{
constexpr int Wheel_Notch = 120;
}  // namespace

void Main_Form_Input::Note_Previewed(const QKeyEvent* event)
{
    Previewed_Key = event;
    Previewed_Key_Type = event->type();
    Previewed_Key_Time = event->timestamp();
}

bool Main_Form_Input::Previewed_Already(const QKeyEvent* event) const
{
    // The focus is no sign: a question the key asked has moved it by the time the event
    // comes on to the window. The same X event is the same object with the same time.
    return event == Previewed_Key && event->type() == Previewed_Key_Type && event->timestamp() == Previewed_Key_Time;
}

void Main_Form_Input::Key_Press(QKeyEvent* event)
{
    if (Previewed_Already(event)) return;
    Key_Down(event);
    Typed_Text(event, false);
}

void Main_Form_Input::Key_Release(QKeyEvent* event)
{
    if (Previewed_Already(event)) return;
    Key_Up(event);
}

void Main_Form_Input::Key_Down(QKeyEvent* event)
{
    // During a fade the window takes no commands, and a key pressed then stays armed.
    if (Form.Day_Ended() || Form.Is_Fading()) return;
    const Main_Form_Key command = Main_Form_Key_Of(event->key(), event->modifiers());
    if (command == Main_Form_Key::Clear_All_Records || command == Main_Form_Key::Delete_Highlighted_Record)
    {
        Form.Run_Command(command);
        return;
    }
    if (command == Main_Form_Key::Modifier || !Armed) return;
    Armed = false;
    // Each command acts once per press, however long the key is held; any other key also
    // holds the commands back until it is released. The key that opened another window
    // is released over it, not over this one.
    if (command != Main_Form_Key::None && Form.Run_Command(command)) Armed = true;
}

void Main_Form_Input::Key_Up(QKeyEvent* event)
{
    // X11 repeats a held key as release and press pairs; only the real release re-arms.
    if (event->isAutoRepeat()) return;
    Armed = true;
}

void Main_Form_Input::Typed_Text(QKeyEvent* event, bool into_error_list)
{
    if (Form.Day_Ended()) return;
    // Each character a key types counts, Enter, Escape and Backspace included.
    for (const QChar character : event->text())
    {
        Testing.Key_Typed(character);
        if (into_error_list) Testing.Panel_Of_Window().Error_List_BoxKeyPress(character);
    }
}

void Main_Form_Input::Mouse_Press(QMouseEvent* event)
{
    if (Form.Is_Fading() || Form.Day_Ended()) return;
    if (event->button() == Qt::RightButton)
    {
        Form.Run_Command(Main_Form_Key::Toggle_Button_Bar);
        return;
    }
    // An anchored window stays in its corner.
    if (Setup.Main_Form_Anchor == 0) Drag.Press(event);
}

void Main_Form_Input::Mouse_Move(QMouseEvent* event) { Drag.Move(event); }

void Main_Form_Input::Mouse_Release(QMouseEvent* event) { Drag.Release(event); }

void Main_Form_Input::Double_Click(QMouseEvent* event)
{
    // Only the left button's double click puts the window away; for the other buttons the
    // second press is a press like the first (two right clicks toggle the bar twice).
    if (event->button() == Qt::LeftButton) Form.Run_Command(Main_Form_Key::Minimize);
    else Mouse_Press(event);
}

void Main_Form_Input::Wheel(QWheelEvent* event)
{
    if (Form.Day_Ended()) return;
    // One command per notch; finer wheels add up to a notch.
    Wheel_Remainder += event->angleDelta().y();
    for (; Wheel_Remainder >= Wheel_Notch; Wheel_Remainder -= Wheel_Notch) Form.Run_Command(Main_Form_Key::Wheel_Up);
    for (; Wheel_Remainder <= -Wheel_Notch; Wheel_Remainder += Wheel_Notch) Form.Run_Command(Main_Form_Key::Wheel_Down);
    event->accept();
}

bool Main_Form_Input::eventFilter(QObject* watched, QEvent* event)
{
    const TTesting_Panel* panel = Testing.Built_Panel();
    // The window sees every key first, whichever of its controls has the focus.
    if (panel && watched == panel->Error_List_Box())
    {
        // Cast only once the type says it is a key event: the list sees every kind of event.
        if (event->type() == QEvent::KeyPress)
        {
            auto* key = static_cast<QKeyEvent*>(event);
            Note_Previewed(key);
            Key_Down(key);
            Typed_Text(key, true);
        }
        else if (event->type() == QEvent::KeyRelease)
        {
            auto* key = static_cast<QKeyEvent*>(event);
            Note_Previewed(key);
            Key_Up(key);
        }
        return false;
    }
    // Besides the list, only the title and the panel pass their events here.
    const bool is_title = panel == nullptr || watched != panel;
    // The title and the panel drag the window as its background does; only an event of a
    // mouse type is taken as a mouse event.
    const auto mouse = [event] {
        return static_cast<QMouseEvent*>(event);
    };
    switch (event->type())
    {
    case QEvent::MouseButtonPress: Mouse_Press(mouse()); return true;
    case QEvent::MouseMove: Mouse_Move(mouse()); return true;
    case QEvent::MouseButtonRelease: Mouse_Release(mouse()); return true;
    // The panel has only its mouse-down; the title puts the window away as the background does.
    case QEvent::MouseButtonDblClick: is_title ? Double_Click(mouse()) : Mouse_Press(mouse()); return true;
    default: return false;
    }
}
