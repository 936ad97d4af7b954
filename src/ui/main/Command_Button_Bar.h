#pragma once
// The four command buttons below the record table (add a record, settings, open the log,
// shut down).
#include <array>

class Main_Form_Commands;
class QPixmap;
class QWidget;
class TVela_Button;
struct Language_Texts;

class Command_Button_Bar
{
public:
    // A click runs its command on the window, unless the window fades.
    Command_Button_Bar(QWidget* window, Main_Form_Commands& commands);

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
