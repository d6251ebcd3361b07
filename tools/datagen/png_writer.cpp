// SPDX-License-Identifier: MIT
#include "png_writer.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "byte_writer.h"
#include "rgb_image.h"
#include "stable_math.h"

namespace datagen {
namespace {

// The CRC-32 of PNG chunks (polynomial 0xEDB88320, reflected).
std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// The checksum that ends a zlib stream.
std::uint32_t Adler32(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A zlib stream of stored deflate blocks, each at most 65535 bytes.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& data) {
    constexpr std::size_t kBlockLimit = 65535;
    ByteWriter out;
    out.U8(0x78);  // deflate, 32 KiB window
    out.U8(0x01);  // no preset dictionary; the two bytes make a multiple of 31
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(kBlockLimit, data.size() - offset);
        const bool last = offset + length == data.size();
        out.U8(last ? 1 : 0);
        out.U16LE(static_cast<std::uint16_t>(length));
        out.U16LE(static_cast<std::uint16_t>(~length));
        out.Append(
            std::vector<std::uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                      data.begin() + static_cast<std::ptrdiff_t>(offset + length)));
        offset += length;
    } while (offset < data.size());
    out.U32BE(Adler32(data));
    return out.Bytes();
}

void Chunk(ByteWriter& out, std::string_view type, const std::vector<std::uint8_t>& data) {
    ByteWriter typed;
    typed.Tag(type);
    typed.Append(data);
    out.U32BE(static_cast<std::uint32_t>(data.size()));
    out.Append(typed.Bytes());
    out.U32BE(Crc32(typed.Bytes().data(), typed.Size()));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Canvas& canvas) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    ByteWriter header;
    header.U32BE(static_cast<std::uint32_t>(width));
    header.U32BE(static_cast<std::uint32_t>(height));
    header.U8(8);  // bits per channel
    header.U8(6);  // colour type: RGB with alpha
    header.U8(0);  // deflate
    header.U8(0);  // adaptive filtering (every row here uses filter 0, none)
    header.U8(0);  // not interlaced

    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<std::size_t>(height) * (1 + 4 * width));
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);
        for (int x = 0; x < width; ++x) {
            const Canvas::Pixel& pixel = canvas.At(x, y);
            const std::uint8_t alpha =
                static_cast<std::uint8_t>(FloorToInt(Clamp(pixel.alpha, 0.0, 1.0) * 255.0 + 0.5));
            // A fully transparent pixel says nothing of its colour.
            const Rgb8 colour = alpha == 0 ? Rgb8{} : ToRgb8(pixel.colour);
            rows.insert(rows.end(), {colour.r, colour.g, colour.b, alpha});
        }
    }

    ByteWriter out;
    out.Append({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    Chunk(out, "IHDR", header.Bytes());
    Chunk(out, "IDAT", StoredZlib(rows));
    Chunk(out, "IEND", {});
    return out.Bytes();
}

}  // namespace datagen
