#pragma once
// Windows bitmaps as the program's skins are stored: uncompressed 24- or 32-bit pixels.
// Decoding them needs no image library, so the first window does not wait for Qt to look
// through its image plugins. Any other kind is left to a full decoder.
#include <cstdint>
#include <string_view>
#include <vector>

struct Decoded_Bitmap
{
    int Width = 0;
    int Height = 0;
    // 0xFFRRGGBB, the top row first.
    std::vector<std::uint32_t> Pixels;
};

// True when the bytes are a whole bitmap of the simple kind; false leaves it to a full
// decoder (another depth, compression, a short file or one too large to trust).
bool Decode_Simple_Bitmap(std::string_view bytes, Decoded_Bitmap& bitmap);
