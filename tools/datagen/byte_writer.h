// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

// Appends numbers to a byte buffer in an explicit byte order; the file formats written here
// mix both orders, so every call names the one it uses.
class ByteWriter {
public:
    void Tag(std::string_view fourCharacters);
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16LE(std::uint16_t value);
    void U16BE(std::uint16_t value);
    void U32LE(std::uint32_t value);
    void U32BE(std::uint32_t value);
    void I16LE(std::int16_t value) { U16LE(static_cast<std::uint16_t>(value)); }
    void I32LE(std::int32_t value) { U32LE(static_cast<std::uint32_t>(value)); }
    void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void Append(const std::vector<std::uint8_t>& more);

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Writes the bytes to the file; throws std::runtime_error naming the path if that fails.
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
