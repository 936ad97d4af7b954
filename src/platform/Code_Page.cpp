#include "platform/Code_Page.h"

#include <array>
#include <cstdint>

namespace
{

// Unicode of the CP1250 bytes 0x80..0xFF; 0xFFFD marks the five bytes the code page leaves undefined.
constexpr std::array<std::uint16_t, 128> Cp1250_High_Half = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void Append_Utf8(std::string& out, std::uint32_t code_point)
{
    if (code_point < 0x80)
    {
        out += static_cast<char>(code_point);
    }
    else if (code_point < 0x800)
    {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

// The CP1250 byte of a code point, or '?' when the code page has none.
char Cp1250_Byte_Of(std::uint32_t code_point)
{
    if (code_point < 0x80) return static_cast<char>(code_point);
    if (code_point == 0xFFFD) return '?';
    for (std::size_t index = 0; index < Cp1250_High_Half.size(); ++index)
    {
        if (Cp1250_High_Half[index] == code_point) return static_cast<char>(0x80 + index);
    }
    return '?';
}

}  // namespace

std::string Cp1250_To_Utf8(std::string_view cp1250_text)
{
    std::string out;
    out.reserve(cp1250_text.size() * 2);
    for (char character : cp1250_text)
    {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x80) out += character;
        else Append_Utf8(out, Cp1250_High_Half[byte - 0x80]);
    }
    return out;
}

std::string Utf8_To_Cp1250(std::string_view utf8_text)
{
    std::string out;
    out.reserve(utf8_text.size());
    std::size_t position = 0;
    const std::size_t size = utf8_text.size();
    while (position < size)
    {
        const auto lead = static_cast<unsigned char>(utf8_text[position]);
        if (lead < 0x80)
        {
            out += static_cast<char>(lead);
            ++position;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code_point = 0;
        std::uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
        {
            length = 2;
            code_point = lead & 0x1F;
            minimum = 0x80;
        }
        else if (lead >= 0xE0 && lead <= 0xEF)
        {
            length = 3;
            code_point = lead & 0x0F;
            minimum = 0x800;
        }
        else if (lead >= 0xF0 && lead <= 0xF4)
        {
            length = 4;
            code_point = lead & 0x07;
            minimum = 0x10000;
        }

        bool valid = length != 0 && position + length <= size;
        for (std::size_t offset = 1; valid && offset < length; ++offset)
        {
            const auto next = static_cast<unsigned char>(utf8_text[position + offset]);
            if ((next & 0xC0) != 0x80) valid = false;
            else code_point = (code_point << 6) | (next & 0x3F);
        }
        if (valid && (code_point < minimum || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)))
            valid = false;

        if (!valid)
        {
            // One '?' per byte that does not start a well-formed sequence; the scan resumes after it.
            out += '?';
            ++position;
            continue;
        }
        out += Cp1250_Byte_Of(code_point);
        position += length;
    }
    return out;
}

char Cp1250_To_Lower(char cp1250_character)
{
    const auto byte = static_cast<unsigned char>(cp1250_character);
    unsigned char lower = byte;
    if (byte >= 'A' && byte <= 'Z') lower = static_cast<unsigned char>(byte + 0x20);
    // Š Ś Ť Ž Ź pair with their small letters 0x10 further on.
    else if (byte == 0x8A || (byte >= 0x8C && byte <= 0x8F)) lower = static_cast<unsigned char>(byte + 0x10);
    else if (byte == 0xA3) lower = 0xB3;  // Ł
    else if (byte == 0xA5) lower = 0xB9;  // Ą
    else if (byte == 0xAA) lower = 0xBA;  // Ş
    else if (byte == 0xAF) lower = 0xBF;  // Ż
    else if (byte == 0xBC) lower = 0xBE;  // Ľ
    // The accented capitals À..Ţ, all but the multiplication sign.
    else if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) lower = static_cast<unsigned char>(byte + 0x20);
    return static_cast<char>(lower);
}

bool Cp1250_Equal_Ignoring_Case(std::string_view left, std::string_view right)
{
    if (left.size() != right.size()) return false;
    for (std::size_t index = 0; index < left.size(); ++index)
        if (Cp1250_To_Lower(left[index]) != Cp1250_To_Lower(right[index])) return false;
    return true;
}
