// SPDX-License-Identifier: MIT
#pragma once

// The common kinds of bitmap file decoded straight from the file's bytes: unpacked 24-bit
// pictures and unpacked 8-bit pictures with a colour table, into the 32-bit layout of Bitmap
// (blue, green, red, alpha 255), rows from the top. Every other kind, and every file with
// something unusual about it, is left to the general decoder, so that both give the same
// pixels for every file.

#include <cstddef>
#include <cstdint>

#include "platform/bitmap/bitmap_header.h"

namespace platform {

// Whether DecodeUnpackedBitmap takes the file image bytes[0, size) whose header ReadBitmapHeader
// gave: 24 or 8 bits without compression, a 40-byte or later information header, a colour table
// (8 bits) of at most 256 entries lying in the file before the pixel data, and no pixel
// naming an entry past the table's end.
bool IsUnpackedBitmap(const std::uint8_t* bytes, std::size_t size, const BitmapHeader& header);

// Writes the picture of a file IsUnpackedBitmap takes into pixels: header.width x header.height
// pixels of 4 bytes, rows packed, from the top.
void DecodeUnpackedBitmap(const std::uint8_t* bytes, const BitmapHeader& header,
                          std::uint8_t* pixels);
// The same for rowCount of the picture's rows from firstRow (counted from the top), which must
// lie inside it: rowCount x header.width pixels of 4 bytes.
void DecodeUnpackedRows(const std::uint8_t* bytes, const BitmapHeader& header, int firstRow,
                        int rowCount, std::uint8_t* pixels);

}  // namespace platform
