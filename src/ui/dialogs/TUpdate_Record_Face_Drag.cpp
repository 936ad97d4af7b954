#include "ui/dialogs/TUpdate_Record_Face_Drag.h"

#include <QMouseEvent>
#include <QWidget>

#include "config/Settings.h"
#include "ui/controls/Work_Area.h"

TUpdate_Record_Face_Drag::TUpdate_Record_Face_Drag(QWidget* window, const Settings& settings)
    : QObject(window), Window(window), Drag_Settings(settings)
{
}

void TUpdate_Record_Face_Drag::Add_Handle(QWidget* handle) { handle->installEventFilter(this); }

bool TUpdate_Record_Face_Drag::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        Dragging = true;
        Pointer_Offset = mouse->globalPosition().toPoint() - Window->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (!Dragging) break;
        Move_To(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    case QEvent::Move:
        // A move by the title bar (the window manager's own drag) obeys the restriction too.
        if (watched == Window && !Dragging && Window->isVisible() && Drag_Settings.Form_Movement_Restrictions)
        {
            const QRect frame = Window->frameGeometry();
            const QRect kept = Keep_Inside_Work_Area(frame, Primary_Work_Area());
            if (kept != frame && !Primary_Work_Area().isEmpty()) Window->move(kept.topLeft());
        }
        break;
    case QEvent::MouseButtonRelease:
        if (!Dragging) break;
        if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) Dragging = false;
        return true;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void TUpdate_Record_Face_Drag::Move_To(const QPoint& global_pointer)
{
    QRect proposed = Window->frameGeometry();
    proposed.moveTopLeft(global_pointer - Pointer_Offset);
    if (Drag_Settings.Form_Movement_Restrictions) proposed = Keep_Inside_Work_Area(proposed, Primary_Work_Area());
    Window->move(proposed.topLeft());
}

void Keep_Opening_Dialog_On_Screen(QWidget* dialog)
{
    if (const auto position = Position_Back_On_A_Screen(dialog->frameGeometry())) dialog->move(*position);
}
