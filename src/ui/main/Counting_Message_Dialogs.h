#pragma once
// Passes every question on and counts the ones open, so that the record table keeps its
// highlight while a dialog speaks of the highlighted row.
#include "config/Message_Dialogs.h"

// The window the questions are asked over.
class Questioned_Window
{
public:
    virtual ~Questioned_Window() = default;
    // The last open question has closed.
    virtual void Questions_Closed() = 0;
};

class Counting_Message_Dialogs final : public Message_Dialogs
{
public:
    Counting_Message_Dialogs(Message_Dialogs& inner, Questioned_Window& owner) : Inner(inner), Owner(owner) {}

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>& arguments) override
    {
        ++Depth;
        const int answer = Inner.Display_Message_Dialog(icon_file_name, animation_interval, message, first_button,
                                                        second_button, arguments);
        --Depth;
        if (Depth == 0) Owner.Questions_Closed();
        return answer;
    }

    void Show_Start_Splash_Screen() override { Inner.Show_Start_Splash_Screen(); }

    bool Question_Open() const { return Depth > 0; }

private:
    Message_Dialogs& Inner;
    Questioned_Window& Owner;
    int Depth = 0;
};
