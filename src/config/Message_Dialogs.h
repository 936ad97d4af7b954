#pragma once
// What the core needs from the user interface: its message dialog and the start splash.
// The program answers with its own dialogs; tests answer with scripted replies.
#include <string>
#include <vector>

class Message_Dialogs
{
public:
    virtual ~Message_Dialogs() = default;

    // Shows a message pattern (CP1250, "#" for line breaks) with its arguments and one or
    // two buttons (an empty second caption shows one). 1 is the first button or Enter,
    // 2 the second button or Escape.
    virtual int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval,
                                       const std::string& message, const std::string& first_button,
                                       const std::string& second_button, const std::vector<std::string>& arguments) = 0;

    // The splash screen shown when a new day begins after a past day was exported.
    virtual void Show_Start_Splash_Screen() = 0;
};
