#pragma once
// The button bar below the record table, and where it moved the window: shown near the
// work area's bottom, the bar lifts an unanchored window so it stays inside; hidden again,
// it puts the window back, unless the window was moved by hand in between.
class Button_Bar_State
{
public:
    static constexpr int Shown_Height = 30;

    int Height() const { return Bar_Height; }
    bool Moved_For_Bar() const { return Moved; }
    // The window's top once the bar has been switched; window_height is without the bar.
    int Toggle(int top, int window_height, int work_area_height, bool anchored);
    void Window_Moved_By_Hand() { Moved = false; }
    // The top to remember for the window: the one it had before the bar lifted it.
    int Top_To_Save(int top) const { return Moved ? Top_Before_Bar : top; }

private:
    int Bar_Height = 0;
    bool Moved = false;
    int Top_Before_Bar = 0;
};
