#include "ui/controls/Work_Area.h"

#include <QGuiApplication>
#include <QScreen>

QRect Primary_Work_Area()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QRect Keep_Inside_Work_Area(QRect proposed, const QRect& work_area)
{
    // Right and bottom are exclusive edges here, as a window rectangle has them.
    const int area_right = work_area.x() + work_area.width();
    const int area_bottom = work_area.y() + work_area.height();
    if (proposed.x() < work_area.x()) proposed.moveLeft(work_area.x());
    if (proposed.y() < work_area.y()) proposed.moveTop(work_area.y());
    if (proposed.x() + proposed.width() > area_right) proposed.moveLeft(area_right - proposed.width());
    if (proposed.y() + proposed.height() > area_bottom) proposed.moveTop(area_bottom - proposed.height());
    return proposed;
}

std::optional<QPoint> Anchored_Position(int anchor, const QRect& work_area, const QSize& window)
{
    const int right = work_area.width() - window.width();
    const int bottom = work_area.height() - window.height();
    switch (anchor)
    {
    case 1: return QPoint(0, 0);
    case 2: return QPoint(right, 0);
    case 3: return QPoint(0, bottom);
    case 4: return QPoint(right, bottom);
    default: return std::nullopt;
    }
}

std::optional<QPoint> Position_Back_On_A_Screen(const QRect& window)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().intersects(window)) return std::nullopt;
    const QRect work_area = Primary_Work_Area();
    if (work_area.isEmpty()) return std::nullopt;
    return Keep_Inside_Work_Area(window, work_area).topLeft();
}
