#include "ui/main/Program_Icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

void Paint_Program_Icon(QPainter& painter, int size)
{
    // Drawn on a 16-unit grid, as the scalable icon is.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    QLinearGradient face(0, 0, 0, 16);
    face.setColorAt(0, QColor(0x86, 0xC8, 0x1E));
    face.setColorAt(1, QColor(0x3C, 0x6C, 0x00));
    painter.setPen(QPen(QColor(0x23, 0x44, 0x00), 1.0));
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    const QColor hands(0x1C, 0x38, 0x00);
    painter.setPen(QPen(hands, 0.75));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(8, 8), 5, 5);
    painter.setPen(QPen(hands, 1.25, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 8), QPointF(8, 4.5));
    painter.drawLine(QPointF(8, 8), QPointF(10.5, 9.5));
    painter.restore();
}

QIcon Program_Icon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48})
    {
        QPixmap image(size, size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Paint_Program_Icon(painter, size);
        painter.end();
        icon.addPixmap(image);
    }
    return icon;
}
