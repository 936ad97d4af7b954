#pragma once
// The screen's work area and the rule that keeps a dragged window inside it.
#include <QRect>
#include <optional>

// The available geometry of the primary screen.
QRect Primary_Work_Area();

// Shifts the rectangle so that its left, top, right and bottom edges (checked in this
// order) lie inside the work area; a window larger than the area ends at its bottom right.
QRect Keep_Inside_Work_Area(QRect proposed, const QRect& work_area);

// Where a window of the size goes for the anchor: 1 top left, 2 top right, 3 bottom left,
// 4 bottom right, measured from the screen's origin, not from the work area's own corner;
// nothing for any other anchor.
std::optional<QPoint> Anchored_Position(int anchor, const QRect& work_area, const QSize& window);

// A position stored on a screen that is gone would leave a window without a taskbar button
// out of reach: where such a window goes instead. Nothing for a window that shows on any
// screen, even in part.
std::optional<QPoint> Position_Back_On_A_Screen(const QRect& window);
