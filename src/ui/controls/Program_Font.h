#pragma once
// The one font of the user interface: a sans-serif face at pixel size 11.
#include <QFont>

QFont Program_Font();
QFont Program_Bold_Font();

// The given font with its weight set to bold or to normal.
QFont With_Bold(QFont font, bool bold);
