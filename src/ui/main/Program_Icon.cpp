#include "ui/main/Program_Icon.h"

#include <QPainter>
#include <QPixmap>

QIcon Program_Icon()
{
    // A small clock face in the window's green, drawn so that no image file is needed.
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1E, 0x4D, 0x0A), 1.2));
    painter.setBrush(QColor(0x90, 0xC4, 0x05));
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    painter.drawLine(QPointF(8, 8), QPointF(11.5, 9.5));
    painter.end();
    return QIcon(image);
}
