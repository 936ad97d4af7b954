#include "platform/Display_Platform.h"

#include <cstdlib>
#include <string_view>

namespace
{
std::string Environment_Value(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}
}  // namespace

Display_Environment Process_Display_Environment(int argc, const char* const* argv)
{
    Display_Environment environment;
    environment.Qt_Platform = Environment_Value("QT_QPA_PLATFORM");
    environment.Display = Environment_Value("DISPLAY");
    environment.Wayland_Display = Environment_Value("WAYLAND_DISPLAY");
    for (int index = 1; index + 1 < argc; ++index)
    {
        const std::string_view argument = argv[index];
        if (argument == "-platform" || argument == "--platform") environment.Platform_Argument = argv[index + 1];
    }
    return environment;
}

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
