#include "ui/main/Main_Form_Keys.h"

Main_Form_Key Main_Form_Key_Of(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key)
    {
    case Qt::Key_Delete:
    case Qt::Key_D:
        // Exactly Ctrl: Ctrl+Shift+D deletes the highlighted record.
        return (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier
                   ? Main_Form_Key::Clear_All_Records
                   : Main_Form_Key::Delete_Highlighted_Record;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock: return Main_Form_Key::Modifier;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Main_Form_Key::Toggle_Button_Bar;
    case Qt::Key_Escape: return Main_Form_Key::Minimize;
    case Qt::Key_A: return Main_Form_Key::Add_Record;
    case Qt::Key_E: return Main_Form_Key::Shutdown;
    case Qt::Key_O: return Main_Form_Key::Open_Log;
    case Qt::Key_S: return Main_Form_Key::Setup;
    case Qt::Key_R: return Main_Form_Key::Report;
    // The window has no frame and no close box: Ctrl+Q is the desktop's usual way to quit.
    case Qt::Key_Q:
        return (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier
                   ? Main_Form_Key::Quit
                   : Main_Form_Key::None;
    default: return Main_Form_Key::None;
    }
}
