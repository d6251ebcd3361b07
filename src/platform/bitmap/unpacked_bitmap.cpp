// SPDX-License-Identifier: MIT
#include "platform/bitmap/unpacked_bitmap.h"

namespace platform {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
// An OS/2 2.x header, laid out unlike the Windows ones of other sizes.
constexpr std::uint32_t kOs2HeaderBytes = 64;
constexpr std::size_t kColourEntryBytes = 4;
constexpr std::uint32_t kLargestColourTable = 256;
constexpr std::uint8_t kOpaque = 0xFF;

std::size_t RowBytes(const BitmapHeader& header) {
    return (static_cast<std::size_t>(header.width) * header.bitsPerPixel + 31) / 32 * 4;
}

std::uint32_t ColourCount(const BitmapHeader& header) {
    return header.coloursUsed != 0 ? header.coloursUsed : kLargestColourTable;
}

std::size_t ColourTableOffset(const BitmapHeader& header) {
    return kFileHeaderBytes + header.infoBytes;
}

// The file's row that holds picture row y (counted from the top).
const std::uint8_t* FileRow(const std::uint8_t* bytes, const BitmapHeader& header, int y) {
    const int stored = header.topDown ? y : header.height - 1 - y;
    return bytes + header.pixelOffset + static_cast<std::size_t>(stored) * RowBytes(header);
}

}  // namespace

bool IsUnpackedBitmap(const std::uint8_t* bytes, std::size_t size, const BitmapHeader& header) {
    if (header.compression != BitmapCompression::None || header.infoBytes < kInfoHeaderBytes ||
        header.infoBytes == kOs2HeaderBytes) {
        return false;
    }
    if (header.bitsPerPixel == 24) return header.pixelOffset >= ColourTableOffset(header);
    if (header.bitsPerPixel != 8 || header.coloursUsed > kLargestColourTable) return false;
    const std::uint32_t colours = ColourCount(header);
    const std::size_t tableEnd = ColourTableOffset(header) + colours * kColourEntryBytes;
    if (tableEnd > size || header.pixelOffset < tableEnd) return false;
    if (colours == kLargestColourTable) return true;
    for (int y = 0; y < header.height; ++y) {
        const std::uint8_t* row = FileRow(bytes, header, y);
        for (int x = 0; x < header.width; ++x) {
            if (row[x] >= colours) return false;
        }
    }
    return true;
}

void DecodeUnpackedBitmap(const std::uint8_t* bytes, const BitmapHeader& header,
                          std::uint8_t* pixels) {
    DecodeUnpackedRows(bytes, header, 0, header.height, pixels);
}

void DecodeUnpackedRows(const std::uint8_t* bytes, const BitmapHeader& header, int firstRow,
                        int rowCount, std::uint8_t* pixels) {
    const std::size_t width = static_cast<std::size_t>(header.width);
    if (header.bitsPerPixel == 24) {
        for (int row = 0; row < rowCount; ++row) {
            const std::uint8_t* from = FileRow(bytes, header, firstRow + row);
            std::uint8_t* to = pixels + static_cast<std::size_t>(row) * width * 4;
            for (std::size_t x = 0; x < width; ++x, from += 3, to += 4) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                to[3] = kOpaque;
            }
        }
        return;
    }
    // The colour table's entries are blue, green, red and a reserved byte, which is no alpha.
    std::uint8_t table[kLargestColourTable][4] = {};
    const std::uint8_t* entry = bytes + ColourTableOffset(header);
    for (std::uint32_t i = 0; i < ColourCount(header); ++i, entry += kColourEntryBytes) {
        table[i][0] = entry[0];
        table[i][1] = entry[1];
        table[i][2] = entry[2];
        table[i][3] = kOpaque;
    }
    for (int row = 0; row < rowCount; ++row) {
        const std::uint8_t* from = FileRow(bytes, header, firstRow + row);
        std::uint8_t* to = pixels + static_cast<std::size_t>(row) * width * 4;
        for (std::size_t x = 0; x < width; ++x, to += 4) {
            const std::uint8_t* colour = table[from[x]];
            to[0] = colour[0];
            to[1] = colour[1];
            to[2] = colour[2];
            to[3] = colour[3];
        }
    }
}

}  // namespace platform
