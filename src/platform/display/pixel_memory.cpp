// SPDX-License-Identifier: MIT
#include "platform/display/pixel_memory.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <new>
#include <utility>

namespace platform {
namespace {

// Sanitized builds keep every block on the heap, where the address sanitizer watches its edges.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapLargeBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMapLargeBlocks = false;
#else
constexpr bool kMapLargeBlocks = true;
#endif
#else
constexpr bool kMapLargeBlocks = true;
#endif

}  // namespace

PixelMemory::PixelMemory(std::size_t size) : size_(size) {
    if (size == 0) return;
    if (kMapLargeBlocks && size >= kMappedFrom) {
        // Fresh anonymous pages read as zero. Where the mapping with its pages made is refused,
        // the heap serves instead.
#ifdef _WIN32
        void* mapped = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (mapped != nullptr) {
#else
        void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped != MAP_FAILED) {
#endif
            bytes_ = static_cast<std::uint8_t*>(mapped);
            mapped_ = true;
            return;
        }
    }
    bytes_ = new std::uint8_t[size]();
}

PixelMemory::~PixelMemory() {
    Release();
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept {
    swap(other);
}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
    if (this != &other) {
        Release();
        swap(other);
    }
    return *this;
}

void PixelMemory::swap(PixelMemory& other) noexcept {
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
}

void PixelMemory::Release() noexcept {
    if (bytes_ == nullptr) return;
    if (mapped_) {
#ifdef _WIN32
        VirtualFree(bytes_, 0, MEM_RELEASE);
#else
        munmap(bytes_, size_);
#endif
    } else {
        delete[] bytes_;
    }
    bytes_ = nullptr;
    size_ = 0;
    mapped_ = false;
}

}  // namespace platform
