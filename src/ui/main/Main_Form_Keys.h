#pragma once
// What a key pressed on the main window asks for. Deleting and clearing act on every
// key-down, auto-repeat included; the other commands once per press.
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
    Quit,  // ends the program as closing the window does
};

Main_Form_Key Main_Form_Key_Of(int key, Qt::KeyboardModifiers modifiers);
