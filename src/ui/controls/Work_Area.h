#pragma once
// The screen's work area and the rule that keeps a dragged window inside it.
#include <QRect>

// The available geometry of the primary screen.
QRect Primary_Work_Area();

// Shifts the rectangle so that its left, top, right and bottom edges (checked in this
// order) lie inside the work area; a window larger than the area ends at its bottom right.
QRect Keep_Inside_Work_Area(QRect proposed, const QRect& work_area);
