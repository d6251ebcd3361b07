// SPDX-License-Identifier: MIT
#include "bmp_writer.h"

#include "byte_writer.h"

namespace datagen {

std::vector<std::uint8_t> EncodeBmp(const RgbImage& image) {
    constexpr std::uint32_t kHeadersSize = 14 + 40;
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(image.height);

    ByteWriter out;
    out.Tag("BM");
    out.U32LE(kHeadersSize + pixelBytes);
    out.U32LE(0);  // two reserved 16-bit fields
    out.U32LE(kHeadersSize);
    out.U32LE(40);
    out.I32LE(image.width);
    out.I32LE(image.height);  // positive: rows stored bottom-up
    out.U16LE(1);             // planes
    out.U16LE(24);            // bits per pixel
    out.U32LE(0);             // no compression
    out.U32LE(pixelBytes);
    out.I32LE(2835);  // 72 dots per inch, in dots per metre
    out.I32LE(2835);
    out.U32LE(0);  // no colour table
    out.U32LE(0);
    const std::size_t padding = rowSize - static_cast<std::uint32_t>(image.width) * 3;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb8& pixel = image.At(x, y);
            out.U8(pixel.b);
            out.U8(pixel.g);
            out.U8(pixel.r);
        }
        out.Zeros(padding);
    }
    return out.Bytes();
}

}  // namespace datagen
