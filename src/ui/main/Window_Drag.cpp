#include "ui/main/Window_Drag.h"

#include <QMouseEvent>
#include <QWidget>

Window_Drag::Window_Drag(QWidget& window, Dragged_Window& owner) : Window(window), Owner(owner) {}

void Window_Drag::Press(const QMouseEvent* event)
{
    Active = true;
    Offset = event->globalPosition().toPoint() - Window.pos();
}

void Window_Drag::Move(const QMouseEvent* event)
{
    if (!Active) return;
    if (!(event->buttons() & ~Qt::RightButton))
    {
        // The release went elsewhere (a grab taken by another window).
        Active = false;
        return;
    }
    const QRect proposed(event->globalPosition().toPoint() - Offset, Window.size());
    Window.move(Owner.Form_Moving(proposed).topLeft());
}

void Window_Drag::Release(const QMouseEvent* event)
{
    if (!(event->buttons() & ~Qt::RightButton)) Active = false;
}
