// SPDX-License-Identifier: MIT
#include "file_readers.h"

#include <fstream>
#include <iterator>

namespace datagen_test {

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string GameFile(const std::string& name) {
    return std::string(ZELTO_GAME_DIR) + "/" + name;
}

std::uint32_t U32LE(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint32_t U32BE(const Bytes& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
           b[at + 3];
}

std::uint16_t U16LE(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::int16_t I16LE(const Bytes& b, std::size_t at) {
    return static_cast<std::int16_t>(U16LE(b, at));
}

std::int32_t I32LE(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(U32LE(b, at));
}

std::string Tag(const Bytes& b, std::size_t at) {
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

std::optional<Bitmap> Bitmap::Read(const Bytes& file, std::string& problem) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') {
        problem = "no BM header";
        return std::nullopt;
    }
    if (U32LE(file, 2) != file.size()) {
        problem = "file size field differs from the file";
        return std::nullopt;
    }
    const std::uint32_t pixelOffset = U32LE(file, 10);
    Bitmap bitmap;
    bitmap.width = I32LE(file, 18);
    bitmap.height = I32LE(file, 22);
    if (U32LE(file, 14) != 40 || U16LE(file, 26) != 1 || U16LE(file, 28) != 24 ||
        U32LE(file, 30) != 0) {
        problem = "not a plain 24-bit uncompressed bitmap";
        return std::nullopt;
    }
    if (bitmap.width <= 0 || bitmap.height <= 0) {
        problem = "size not positive (top-down rows are not expected)";
        return std::nullopt;
    }
    const std::size_t stride = (static_cast<std::size_t>(bitmap.width) * 3 + 3) / 4 * 4;
    if (pixelOffset + stride * bitmap.height != file.size()) {
        problem = "pixel data length differs from width x height";
        return std::nullopt;
    }
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        const std::size_t row = pixelOffset + stride * (bitmap.height - 1 - y);
        for (int x = 0; x < bitmap.width; ++x) {
            const std::size_t at = row + 3 * x;
            bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x] = {
                file[at + 2], file[at + 1], file[at]};
        }
    }
    return bitmap;
}

std::optional<ChunkFile> ChunkFile::Read(const Bytes& file, std::string& problem) {
    if (file.size() < 12 || Tag(file, 0) != "FORM" || Tag(file, 8) != "FMAP") {
        problem = "no FORM/FMAP header";
        return std::nullopt;
    }
    if (U32BE(file, 4) + 8ull != file.size()) {
        problem = "FORM length + 8 differs from the file length";
        return std::nullopt;
    }
    ChunkFile result;
    std::size_t at = 12;
    while (at != file.size()) {
        if (file.size() - at < 8) {
            problem = "chunk header cut short";
            return std::nullopt;
        }
        const std::string id = Tag(file, at);
        const std::size_t length = U32BE(file, at + 4);
        if (length > file.size() - at - 8) {
            problem = "chunk " + id + " runs past the end";
            return std::nullopt;
        }
        if (result.chunks.count(id) != 0) {
            problem = "chunk " + id + " twice";
            return std::nullopt;
        }
        result.chunks[id] = Bytes(file.begin() + static_cast<long>(at + 8),
                                  file.begin() + static_cast<long>(at + 8 + length));
        at += 8 + length;
    }
    return result;
}

}  // namespace datagen_test
