#pragma once
// What a key, a button or the wheel of the main window asks for. Deleting and clearing act
// on every key-down, auto-repeat included; the other key commands once per press.
#include <Qt>

enum class Main_Form_Key
{
    None,
    Modifier,  // Shift, Ctrl, Alt and the like: pressed before the letter they go with
    Delete_Highlighted_Record,
    Clear_All_Records,
    Toggle_Button_Bar,
    Minimize,
    Add_Record,
    Shutdown,
    Open_Log,
    Setup,
    Report,
    Quit,        // ends the program as closing the window does
    Wheel_Up,    // one notch: the record under the pointer grows
    Wheel_Down,  // one notch: it shrinks
};

Main_Form_Key Main_Form_Key_Of(int key, Qt::KeyboardModifiers modifiers);
