// SPDX-License-Identifier: MIT
#pragma once

// Readers for the generated files, written for the tests from the file layouts alone, so that
// a fault in the generator's writers cannot hide itself.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace datagen_test {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path);
std::string GameFile(const std::string& name);

std::uint32_t U32LE(const Bytes& b, std::size_t at);
std::uint32_t U32BE(const Bytes& b, std::size_t at);
std::uint16_t U16LE(const Bytes& b, std::size_t at);
std::int16_t I16LE(const Bytes& b, std::size_t at);
std::int32_t I32LE(const Bytes& b, std::size_t at);
std::string Tag(const Bytes& b, std::size_t at);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A 24-bit uncompressed bitmap; Read returns nothing if the file is not one.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top row first
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    static std::optional<Bitmap> Read(const Bytes& file, std::string& problem);
};

// The chunks of a FORM/FMAP file by identifier; Read returns nothing if the container is
// malformed (wrong tags, a length that does not match, a chunk running past the end) or a
// chunk occurs twice.
struct ChunkFile {
    std::map<std::string, Bytes> chunks;
    static std::optional<ChunkFile> Read(const Bytes& file, std::string& problem);
};

}  // namespace datagen_test
