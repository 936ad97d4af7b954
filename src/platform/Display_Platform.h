#pragma once
// Which window system the program asks for. The main window places itself, fades and
// keeps to the work area, which a Wayland compositor does not let a client do; an X
// server (XWayland in a Wayland session) allows all of it, so it is preferred whenever
// the user has not chosen a platform.
#include <string>

struct Display_Environment
{
    std::string Qt_Platform;        // $QT_QPA_PLATFORM
    std::string Display;            // $DISPLAY
    std::string Wayland_Display;    // $WAYLAND_DISPLAY
    std::string Platform_Argument;  // the value of "-platform" on the command line
};

struct Display_Platform_Choice
{
    std::string Platform;           // the platform to ask for; empty leaves the choice to Qt
    bool Display_Found = true;      // false: no X server, no Wayland compositor, nothing chosen
    bool Without_X_Server = false;  // the window runs on Wayland and cannot do all it does on X
};

Display_Platform_Choice Choose_Display_Platform(const Display_Environment& environment);

// The process's environment and the "-platform" argument, if any.
Display_Environment Process_Display_Environment(int argc, const char* const* argv);

// The protocol line's text (after the time stamp) for a start without an X server.
std::string Without_X_Server_Protocol_Text();
