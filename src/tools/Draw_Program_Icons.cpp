// Build tool: writes the program's picture as the PNG sizes of the hicolor icon theme,
// from the same drawing the window and the tray icon show.
// Usage: zl_draw_program_icons <output folder> <size>...
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "ui/main/Program_Icon.h"

int main(int argc, char* argv[])
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: %s <output folder> <size>...\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    for (int index = 2; index < argc; ++index)
    {
        const int size = std::atoi(argv[index]);
        if (size < 1 || size > 1024)
        {
            std::fprintf(stderr, "bad size %s\n", argv[index]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Paint_Program_Icon(painter, size);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(output).arg(size);
        const QString file = folder + QStringLiteral("/zentavo-logger.png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG"))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
