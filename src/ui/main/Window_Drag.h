#pragma once
// Dragging the borderless window by its face: the pointer keeps its place on the window,
// and each proposed position passes through the window's own rule.
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QWidget;

// The dragged window's own rule for where it may go.
class Dragged_Window
{
public:
    virtual ~Dragged_Window() = default;
    // Gives the rectangle the window may take for a proposed one.
    virtual QRect Form_Moving(QRect proposed) = 0;
};

class Window_Drag
{
public:
    Window_Drag(QWidget& window, Dragged_Window& owner);

    void Press(const QMouseEvent* event);
    void Move(const QMouseEvent* event);
    void Release(const QMouseEvent* event);
    void Stop() { Active = false; }
    bool Dragging() const { return Active; }

private:
    QWidget& Window;
    Dragged_Window& Owner;
    bool Active = false;
    QPoint Offset;  // from the window's top left corner to the pointer
};
