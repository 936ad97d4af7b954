// Skin bitmaps as a user may replace them: whatever the bytes, a bitmap taken as the
// simple kind has every stored row inside the file, and decoding each row stays there
// and gives opaque pixels.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Fuzz_Support.h"
#include "platform/Bitmap_File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Simple_Bitmap bitmap;
    if (!Read_Simple_Bitmap(bytes, bitmap)) return 0;
    ZL_FUZZ_CHECK(bitmap.Width > 0 && bitmap.Height > 0);
    ZL_FUZZ_CHECK(bitmap.Bytes_Per_Pixel == 3 || bitmap.Bytes_Per_Pixel == 4);
    ZL_FUZZ_CHECK(bitmap.Stride % 4 == 0 &&
                  bitmap.Stride >= bitmap.Bytes_Per_Pixel * static_cast<std::size_t>(bitmap.Width));
    ZL_FUZZ_CHECK(bitmap.Pixel_Offset + bitmap.Stride * static_cast<std::size_t>(bitmap.Height) <= size);
    // The address sanitizer watches each row's reads; the row buffer is exactly one row.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(bitmap.Width));
    for (int index = 0; index < bitmap.Height; ++index)
    {
        Decode_Simple_Bitmap_Row(bytes, bitmap, index, row.data());
        for (const std::uint32_t pixel : row) ZL_FUZZ_CHECK(pixel >> 24 == 0xFF);
    }
    return 0;
}
