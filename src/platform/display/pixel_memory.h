// SPDX-License-Identifier: MIT
#pragma once

// The zeroed memory of a surface's pixels. A large block is mapped with all its pages made at
// once: a program that touches fresh memory page by page pays one page fault per 4 KiB, which on
// some machines (virtual ones above all) costs as much as writing the page many times over, and
// a 640 x 480 screen is 150 to 300 of them. Small blocks come from the heap as usual.

#include <cstddef>
#include <cstdint>

namespace platform {

class PixelMemory {
public:
    PixelMemory() = default;
    // Zeroed bytes; throws std::bad_alloc where they cannot be had.
    explicit PixelMemory(std::size_t size);
    ~PixelMemory();
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;

    std::uint8_t* data() { return bytes_; }
    const std::uint8_t* data() const { return bytes_; }
    std::size_t size() const { return size_; }
    std::uint8_t* begin() { return bytes_; }
    std::uint8_t* end() { return bytes_ + size_; }
    const std::uint8_t* begin() const { return bytes_; }
    const std::uint8_t* end() const { return bytes_ + size_; }
    void swap(PixelMemory& other) noexcept;

    // Blocks of this size and more are mapped whole (except in builds with the address
    // sanitizer); smaller ones come from the heap.
    static constexpr std::size_t kMappedFrom = 64 * 1024;

private:
    void Release() noexcept;

    std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
};

}  // namespace platform
