#pragma once
// Loads a skin bitmap into a pixmap: the program's own kind directly, any other through
// Qt's image readers.
#include <QPixmap>
#include <QString>

// False when the file cannot be read or decoded; the pixmap is then null.
bool Load_Skin_Bitmap(const QString& path, QPixmap& pixmap);
