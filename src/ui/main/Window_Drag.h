#pragma once
// Dragging the borderless window by its face: the pointer keeps its place on the window,
// and each proposed position passes through the window's own rule.
#include <QPoint>
#include <QRect>
#include <functional>

class QMouseEvent;
class QWidget;

class Window_Drag
{
public:
    // moving gives the rectangle the window may take for a proposed one.
    Window_Drag(QWidget& window, std::function<QRect(QRect)> moving);

    void Press(const QMouseEvent* event);
    void Move(const QMouseEvent* event);
    void Release(const QMouseEvent* event);
    void Stop() { Active = false; }
    bool Dragging() const { return Active; }

private:
    QWidget& Window;
    std::function<QRect(QRect)> Moving;
    bool Active = false;
    QPoint Offset;  // from the window's top left corner to the pointer
};
