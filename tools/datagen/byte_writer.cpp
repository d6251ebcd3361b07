// SPDX-License-Identifier: MIT
#include "byte_writer.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace datagen {

void ByteWriter::Tag(std::string_view fourCharacters) {
    for (char c : fourCharacters) bytes_.push_back(static_cast<std::uint8_t>(c));
}

void ByteWriter::U16LE(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U16BE(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void ByteWriter::U32LE(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void ByteWriter::U32BE(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void ByteWriter::Append(const std::vector<std::uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace datagen
