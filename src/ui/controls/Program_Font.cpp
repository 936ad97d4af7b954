#include "ui/controls/Program_Font.h"

QFont Program_Font()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont Program_Bold_Font() { return With_Bold(Program_Font(), true); }

QFont With_Bold(QFont font, bool bold)
{
    font.setBold(bold);
    return font;
}
