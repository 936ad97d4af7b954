#include "platform/Display_Platform.h"

Display_Platform_Choice Choose_Display_Platform(const Display_Environment& environment)
{
    Display_Platform_Choice choice;
    if (!environment.Qt_Platform.empty() || !environment.Platform_Argument.empty())
    {
        // The user's choice holds (the command line over the environment, as in Qt); only
        // its consequences are told.
        const std::string& chosen =
            environment.Platform_Argument.empty() ? environment.Qt_Platform : environment.Platform_Argument;
        choice.Without_X_Server = chosen.rfind("wayland", 0) == 0;
        return choice;
    }
    if (!environment.Display.empty())
    {
        choice.Platform = "xcb";
        return choice;
    }
    if (!environment.Wayland_Display.empty())
    {
        // Named outright: Qt's default would try X first and fail without a display.
        choice.Platform = "wayland";
        choice.Without_X_Server = true;
        return choice;
    }
    choice.Display_Found = false;
    return choice;
}

std::string Without_X_Server_Protocol_Text()
{
    return " - START_DISPLAY - WAYLAND - no X server (DISPLAY is not set): the window cannot place itself,"
           " keep to the work area, stay at its anchor or fade; the compositor decides";
}
