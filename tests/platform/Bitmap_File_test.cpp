// The bitmap decoder for the program's skins: rows in either order, row padding, both
// depths, and every kind it must leave to a full decoder.
#include "platform/Bitmap_File.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
struct Bitmap_Layout
{
    int Width = 3;
    int Height = 2;
    int Bits_Per_Pixel = 24;
    bool Top_Down = false;
    std::uint32_t Header_Size = 40;
    std::uint32_t Compression = 0;
};

void Put_U32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int index = 0; index < 4; ++index) bytes[at + index] = static_cast<char>(value >> (8 * index) & 0xFF);
}

// A distinct colour for every pixel, the top row first.
std::vector<std::uint32_t> Test_Pixels(int width, int height)
{
    std::vector<std::uint32_t> pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(row * 40 + 7) << 16 |
                             static_cast<std::uint32_t>(column * 30 + 11) << 8 |
                             static_cast<std::uint32_t>(row * column + 3));
    return pixels;
}

// Written as a Windows bitmap writer lays it out, independently of the decoder.
std::string Write_Bitmap(const Bitmap_Layout& layout, const std::vector<std::uint32_t>& pixels)
{
    const int bytes_per_pixel = layout.Bits_Per_Pixel / 8;
    const int stride = (layout.Width * bytes_per_pixel + 3) / 4 * 4;
    const std::uint32_t offset = 14 + layout.Header_Size;
    std::string bytes(offset + static_cast<std::size_t>(stride) * layout.Height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put_U32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    Put_U32(bytes, 10, offset);
    Put_U32(bytes, 14, layout.Header_Size);
    Put_U32(bytes, 18, static_cast<std::uint32_t>(layout.Width));
    Put_U32(bytes, 22, static_cast<std::uint32_t>(layout.Top_Down ? -layout.Height : layout.Height));
    bytes[26] = 1;
    bytes[28] = static_cast<char>(layout.Bits_Per_Pixel);
    Put_U32(bytes, 30, layout.Compression);
    for (int row = 0; row < layout.Height; ++row)
    {
        const int stored_row = layout.Top_Down ? row : layout.Height - 1 - row;
        for (int column = 0; column < layout.Width; ++column)
        {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(row * layout.Width + column)];
            const std::size_t at = offset + static_cast<std::size_t>(stored_row * stride + column * bytes_per_pixel);
            bytes[at] = static_cast<char>(pixel & 0xFF);
            bytes[at + 1] = static_cast<char>(pixel >> 8 & 0xFF);
            bytes[at + 2] = static_cast<char>(pixel >> 16 & 0xFF);
            if (bytes_per_pixel == 4) bytes[at + 3] = 0x5A;  // unused; the skin stays opaque
        }
    }
    return bytes;
}
// The whole bitmap as the program reads it, row by row; empty when it is refused.
std::vector<std::uint32_t> Decode(const std::string& bytes, Simple_Bitmap& bitmap)
{
    if (!Read_Simple_Bitmap(bytes, bitmap)) return {};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height));
    for (int row = 0; row < bitmap.Height; ++row)
        Decode_Simple_Bitmap_Row(bytes, bitmap, row, pixels.data() + static_cast<std::size_t>(row) * bitmap.Width);
    return pixels;
}
}  // namespace

TEST(Bitmap_File, Rows_In_Either_Order_Padded_Rows_And_Both_Depths_Decode)
{
    for (const int width : {1, 2, 3, 4, 5})
        for (const int bits : {24, 32})
            for (const bool top_down : {false, true})
                for (const std::uint32_t header_size : {40u, 108u, 124u})
                {
                    const Bitmap_Layout layout{width, 3, bits, top_down, header_size, 0};
                    const std::vector<std::uint32_t> pixels = Test_Pixels(width, 3);
                    Simple_Bitmap bitmap;
                    EXPECT_EQ(Decode(Write_Bitmap(layout, pixels), bitmap), pixels)
                        << width << " " << bits << " " << top_down << " " << header_size;
                    EXPECT_EQ(bitmap.Width, width);
                    EXPECT_EQ(bitmap.Height, 3);
                }
}

TEST(Bitmap_File, Other_Kinds_And_Damaged_Files_Are_Left_To_A_Full_Decoder)
{
    const std::vector<std::uint32_t> pixels = Test_Pixels(3, 2);
    const std::string good = Write_Bitmap({}, pixels);
    Simple_Bitmap bitmap;
    ASSERT_TRUE(Read_Simple_Bitmap(good, bitmap));

    std::vector<std::string> refused;
    refused.push_back(good.substr(0, good.size() - 1));  // the last stored row is short
    refused.push_back(good.substr(0, 40));
    refused.push_back("");
    std::string changed = good;
    changed[0] = 'X';
    refused.push_back(changed);
    for (const auto& [at, value] :
         std::vector<std::pair<std::size_t, std::uint32_t>>{{30, 1},            // run-length compressed
                                                            {30, 3},            // bit fields
                                                            {14, 12},           // the old core header
                                                            {18, 0},            // no width
                                                            {22, 0},            // no height
                                                            {18, 0x80000000u},  // a negative width
                                                            {18, 100000},  // wider than any skin, and than the file
                                                            {10, 0xFFFFFFF0u},  // pixels beyond the end
                                                            {10, 20}})          // pixels inside the header
    {
        changed = good;
        Put_U32(changed, at, value);
        refused.push_back(changed);
    }
    changed = good;
    changed[28] = 8;  // a palette
    refused.push_back(changed);
    changed = good;
    changed[26] = 2;  // planes
    refused.push_back(changed);
    for (std::size_t index = 0; index < refused.size(); ++index)
        EXPECT_FALSE(Read_Simple_Bitmap(refused[index], bitmap)) << index;
}
