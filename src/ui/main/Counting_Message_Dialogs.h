#pragma once
// Passes every question on and counts the ones open, so that the record table keeps its
// highlight while a dialog speaks of the highlighted row.
#include <functional>

#include "config/Message_Dialogs.h"

class Counting_Message_Dialogs final : public Message_Dialogs
{
public:
    // after_close runs when the last open question has closed.
    Counting_Message_Dialogs(Message_Dialogs& inner, int& depth, std::function<void()> after_close = {})
        : Inner(inner), Depth(depth), After_Close(std::move(after_close))
    {
    }

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>& arguments) override
    {
        ++Depth;
        const int answer = Inner.Display_Message_Dialog(icon_file_name, animation_interval, message, first_button,
                                                        second_button, arguments);
        --Depth;
        if (Depth == 0 && After_Close) After_Close();
        return answer;
    }

    void Show_Start_Splash_Screen() override { Inner.Show_Start_Splash_Screen(); }

private:
    Message_Dialogs& Inner;
    int& Depth;
    std::function<void()> After_Close;
};
