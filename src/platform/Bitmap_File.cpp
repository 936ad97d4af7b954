#include "platform/Bitmap_File.h"

namespace
{
constexpr std::size_t File_Header_Size = 14;
constexpr std::uint32_t Info_Header_Size = 40;  // the later header versions begin alike
constexpr std::uint32_t Uncompressed = 0;
constexpr std::int64_t Max_Side = 16384;
constexpr std::int64_t Max_Pixels = 16 * 1024 * 1024;

std::uint32_t Read_U32(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t Read_U16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                  << 8);
}
}  // namespace

bool Read_Simple_Bitmap(std::string_view bytes, Simple_Bitmap& bitmap)
{
    if (bytes.size() < File_Header_Size + Info_Header_Size || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint32_t pixel_offset = Read_U32(bytes, 10);
    const std::uint32_t header_size = Read_U32(bytes, 14);
    const auto width = static_cast<std::int32_t>(Read_U32(bytes, 18));
    const auto stored_height = static_cast<std::int32_t>(Read_U32(bytes, 22));
    const std::uint16_t planes = Read_U16(bytes, 26);
    const std::uint16_t bits_per_pixel = Read_U16(bytes, 28);
    const std::uint32_t compression = Read_U32(bytes, 30);
    if (header_size < Info_Header_Size || planes != 1 || compression != Uncompressed) return false;
    if (bits_per_pixel != 24 && bits_per_pixel != 32) return false;

    // A negative height stores the top row first.
    const bool top_down = stored_height < 0;
    const std::int64_t height = top_down ? -static_cast<std::int64_t>(stored_height) : stored_height;
    if (width <= 0 || height <= 0 || width > Max_Side || height > Max_Side || width * height > Max_Pixels) return false;

    const std::size_t bytes_per_pixel = bits_per_pixel / 8u;
    const std::size_t stride = (static_cast<std::size_t>(width) * bytes_per_pixel + 3) & ~std::size_t{3};
    if (pixel_offset < File_Header_Size + header_size || pixel_offset > bytes.size() ||
        (bytes.size() - pixel_offset) / stride < static_cast<std::size_t>(height))
        return false;

    bitmap = {width, static_cast<int>(height), pixel_offset, stride, bytes_per_pixel, top_down};
    return true;
}

void Decode_Simple_Bitmap_Row(std::string_view bytes, const Simple_Bitmap& bitmap, int row, std::uint32_t* target)
{
    const auto stored_row = static_cast<std::size_t>(bitmap.Top_Down ? row : bitmap.Height - 1 - row);
    const auto* source =
        reinterpret_cast<const unsigned char*>(bytes.data()) + bitmap.Pixel_Offset + stored_row * bitmap.Stride;
    for (int column = 0; column < bitmap.Width; ++column, source += bitmap.Bytes_Per_Pixel)
        target[column] = 0xFF000000u | static_cast<std::uint32_t>(source[2]) << 16 |
                         static_cast<std::uint32_t>(source[1]) << 8 | source[0];
}
