#include "ui/controls/Ui_Text.h"

#include <QFile>

#include "platform/Code_Page.h"

QString From_Cp1250(const std::string& text) { return QString::fromUtf8(Cp1250_To_Utf8(text)); }

std::string To_Cp1250(const QString& text) { return Utf8_To_Cp1250(text.toUtf8().toStdString()); }

QColor Color_From_Bgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

std::uint32_t Color_To_Bgr(const QColor& color)
{
    return std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) | (std::uint32_t(color.blue()) << 16);
}

QString Path_To_QString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
