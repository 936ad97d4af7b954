#include "ui/controls/Skin_Bitmap.h"

#include <QFile>
#include <QImage>
#include <cstring>

#include "platform/Bitmap_File.h"

bool Load_Skin_Bitmap(const QString& path, QPixmap& pixmap)
{
    pixmap = QPixmap();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    Decoded_Bitmap decoded;
    if (!Decode_Simple_Bitmap(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), decoded))
        return pixmap.loadFromData(bytes) && !pixmap.isNull();
    QImage image(decoded.Width, decoded.Height, QImage::Format_RGB32);
    if (image.isNull()) return false;
    for (int row = 0; row < decoded.Height; ++row)
        std::memcpy(image.scanLine(row), decoded.Pixels.data() + static_cast<std::size_t>(row) * decoded.Width,
                    static_cast<std::size_t>(decoded.Width) * sizeof(std::uint32_t));
    pixmap = QPixmap::fromImage(std::move(image));
    return !pixmap.isNull();
}
