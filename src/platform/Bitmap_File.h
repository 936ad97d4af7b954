#pragma once
// Windows bitmaps as the program's skins are stored: uncompressed 24- or 32-bit pixels.
// Decoding them needs no image library, so the first window does not wait for Qt to look
// through its image plugins. Any other kind is left to a full decoder.
#include <cstddef>
#include <cstdint>
#include <string_view>

struct Simple_Bitmap
{
    int Width = 0;
    int Height = 0;
    // Where the stored rows lie in the file.
    std::size_t Pixel_Offset = 0;
    std::size_t Stride = 0;
    std::size_t Bytes_Per_Pixel = 0;
    bool Top_Down = false;
};

// True when the bytes hold a whole bitmap of the simple kind; false leaves it to a full
// decoder (another depth, compression, a short file or one too large to trust).
bool Read_Simple_Bitmap(std::string_view bytes, Simple_Bitmap& bitmap);

// Writes one row, counted from the top, as 0xFFRRGGBB into Width pixels at target.
void Decode_Simple_Bitmap_Row(std::string_view bytes, const Simple_Bitmap& bitmap, int row, std::uint32_t* target);
