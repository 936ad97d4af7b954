#pragma once
// What the main window's keys, buttons, title and wheel reach of the window: its commands,
// and whether it takes any now. The window implements it; its parts hold only this.
#include "ui/main/Main_Form_Keys.h"

class Main_Form_Commands
{
public:
    virtual ~Main_Form_Commands() = default;
    // Gives true when the command opened another window that has the keyboard now.
    virtual bool Run_Command(Main_Form_Key command) = 0;
    virtual bool Day_Ended() const = 0;
    // While the window fades it takes no commands.
    virtual bool Is_Fading() const = 0;
};
