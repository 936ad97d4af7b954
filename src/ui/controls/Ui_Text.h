#pragma once
// The boundary between the core's CP1250 short strings and colours and Qt's types.
#include <QColor>
#include <QString>
#include <cstdint>
#include <string>

QString From_Cp1250(const std::string& text);
std::string To_Cp1250(const QString& text);

// Colours are kept as 0x00BBGGRR, the order of the stored settings.
QColor Color_From_Bgr(std::uint32_t bgr);
std::uint32_t Color_To_Bgr(const QColor& color);

// A file system path held in a std::string (local 8-bit bytes) as a QString.
QString Path_To_QString(const std::string& path);
