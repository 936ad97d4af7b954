#pragma once
// The program's picture: a clock face on the skins' green. The window, the tray icon and
// the installed icons (data/icons/zentavo-logger.svg draws the same shapes) all show it.
#include <QIcon>

class QPainter;

// Draws the picture into a square of the given size at the painter's origin.
void Paint_Program_Icon(QPainter& painter, int size);

// The picture at the sizes windows and tray hosts ask for.
QIcon Program_Icon();
