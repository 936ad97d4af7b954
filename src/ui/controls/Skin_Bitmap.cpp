#include "ui/controls/Skin_Bitmap.h"

#include <QFile>
#include <QImage>

#include "platform/Bitmap_File.h"

bool Load_Skin_Bitmap(const QString& path, QPixmap& pixmap)
{
    pixmap = QPixmap();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    Simple_Bitmap bitmap;
    if (!Read_Simple_Bitmap(view, bitmap)) return pixmap.loadFromData(bytes) && !pixmap.isNull();
    QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
    if (image.isNull()) return false;
    for (int row = 0; row < bitmap.Height; ++row)
        Decode_Simple_Bitmap_Row(view, bitmap, row, reinterpret_cast<std::uint32_t*>(image.scanLine(row)));
    pixmap = QPixmap::fromImage(std::move(image));
    return !pixmap.isNull();
}
