#pragma once
// The program's own 16 x 16 image: the tray icon and the window icon.
#include <QIcon>

QIcon Program_Icon();
