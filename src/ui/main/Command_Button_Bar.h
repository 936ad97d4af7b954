#pragma once
// The four command buttons below the record table (add a record, settings, open the log,
// shut down).
#include <array>
#include <functional>

class QPixmap;
class QWidget;
class TVela_Button;
struct Language_Texts;

class Command_Button_Bar
{
public:
    // The handlers run on a click; a click while blocked() is true does nothing.
    Command_Button_Bar(QWidget* window, const std::function<bool()>& blocked,
                       std::array<std::function<void()>, 4> handlers);

    void Set_Skin(const QPixmap& skin);
    // Captions from the language file (section Main_Form, keys 1 to 4).
    void Set_Captions(const Language_Texts& texts);
    void Place(int top);
    // The buttons lie below the visible area while the bar is hidden, where they would only
    // cover the frame's bottom line: only the ones inside the window show.
    void Show_Inside(int window_height);

    TVela_Button* Add_Record_Button() const { return Buttons[0]; }

private:
    std::array<TVela_Button*, 4> Buttons{};
};
