#include "ui/main/Button_Bar_State.h"

int Button_Bar_State::Toggle(int top, int window_height, int work_area_height, bool anchored)
{
    if (Bar_Height != 0)
    {
        Bar_Height = 0;
        if (!Moved || anchored) return top;
        Moved = false;
        return Top_Before_Bar;
    }
    Bar_Height = Shown_Height;
    if (anchored || window_height + top + Shown_Height <= work_area_height) return top;
    Top_Before_Bar = top;
    Moved = true;
    return work_area_height - window_height - Shown_Height;
}
