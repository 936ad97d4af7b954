#include "ui/controls/Skin_Bitmap.h"

#include <QFile>
#include <QImage>
#include <string>

#include "platform/Bitmap_File.h"
#include "platform/Posix_File.h"

bool Load_Skin_Bitmap(const QString& path, QPixmap& pixmap)
{
    pixmap = QPixmap();
    std::string bytes;
    if (!Read_Whole_File(QFile::encodeName(path).toStdString(), bytes)) return false;
    Simple_Bitmap bitmap;
    if (!Read_Simple_Bitmap(bytes, bitmap))
        return pixmap.loadFromData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))) &&
               !pixmap.isNull();
    QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
    if (image.isNull()) return false;
    for (int row = 0; row < bitmap.Height; ++row)
        Decode_Simple_Bitmap_Row(bytes, bitmap, row, reinterpret_cast<std::uint32_t*>(image.scanLine(row)));
    pixmap = QPixmap::fromImage(std::move(image));
    return !pixmap.isNull();
}
