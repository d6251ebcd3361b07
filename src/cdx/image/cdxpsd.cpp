// SPDX-License-Identifier: MIT
#include "cdx/image/cdxpsd.h"

#include <algorithm>
#include <new>
#include <optional>

#include "platform/display/surface_limits.h"

namespace cdx {

namespace {

constexpr int kMostChannels = 24;
// Planes taken from the file at most: further channels are not read.
constexpr int kPlanesRead = 4;
// The bytes of a working pixel (blue 0, green 1, red 2, alpha 3) in the order they take
// planes. A byte takes the next plane when its index is below the channel count, so one
// channel fills blue, two fill green and blue, three red, green and blue, four all of them.
constexpr int kPlaneTargets[kPlanesRead] = {2, 1, 0, 3};

// Reads big-endian numbers and skips bytes, refusing anything that passes the end.
class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    std::size_t Remaining() const { return size_ - position_; }
    bool Skip(std::uint64_t count) {
        if (count > Remaining()) return false;
        position_ += static_cast<std::size_t>(count);
        return true;
    }
    std::optional<std::uint8_t> Byte() {
        if (Remaining() < 1) return std::nullopt;
        return bytes_[position_++];
    }
    std::optional<std::uint32_t> Number(int byteCount) {
        if (Remaining() < static_cast<std::size_t>(byteCount)) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < byteCount; ++i) value = value * 256 + bytes_[position_++];
        return value;
    }
    const std::uint8_t* Here() const { return bytes_ + position_; }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t position_ = 0;
};

struct PsdHeader {
    int channels = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int compression = 0;
};

std::optional<PsdHeader> ReadHeader(ByteReader& reader) {
    const std::uint8_t* signature = reader.Here();
    if (!reader.Skip(4) || !std::equal(signature, signature + 4, "8BPS")) return std::nullopt;
    if (reader.Number(2) != 1u || !reader.Skip(6)) return std::nullopt;
    const auto channels = reader.Number(2);
    const auto height = reader.Number(4);
    const auto width = reader.Number(4);
    const auto bits = reader.Number(2);
    const auto mode = reader.Number(2);
    if (!channels || !height || !width || !bits || !mode || *channels < 1 ||
        *channels > kMostChannels || *bits != 8 || *mode != 3) {
        return std::nullopt;
    }
    // Colour mode data, image resources, layer and mask information.
    for (int section = 0; section < 3; ++section) {
        const auto length = reader.Number(4);
        if (!length || !reader.Skip(*length)) return std::nullopt;
    }
    const auto compression = reader.Number(2);
    if (!compression || *compression > 1) return std::nullopt;
    // A side above the display service's limit makes no surface: such a picture is refused here,
    // before its working picture is made.
    using platform::kLargestSurfaceSide;
    if (*width < 1 || *height < 1 || *width > kLargestSurfaceSide ||
        *height > kLargestSurfaceSide) {
        return std::nullopt;
    }
    return PsdHeader{static_cast<int>(*channels), *width, *height, static_cast<int>(*compression)};
}

// Walks one run-length packed plane of pixelCount pixels, handing each decoded run of bytes to
// put(first pixel, byte value or literal bytes, count). A run or literal passing the plane's
// end is cut there (its bytes are still consumed). False when the data ends before the plane.
template <typename Put>
bool WalkPackedPlane(ByteReader& reader, std::size_t pixelCount, Put put) {
    std::size_t pixel = 0;
    while (pixel < pixelCount) {
        const auto control = reader.Byte();
        if (!control) return false;
        if (*control < 128) {
            const std::size_t count = *control + 1u;
            const std::uint8_t* literal = reader.Here();
            if (!reader.Skip(count)) return false;
            const std::size_t kept = std::min(count, pixelCount - pixel);
            put.Literal(pixel, literal, kept);
            pixel += kept;
        } else if (*control > 128) {
            const std::size_t count = 257u - *control;
            const auto value = reader.Byte();
            if (!value) return false;
            const std::size_t kept = std::min(count, pixelCount - pixel);
            put.Run(pixel, *value, kept);
            pixel += kept;
        }
    }
    return true;
}

struct DiscardPixels {
    void Literal(std::size_t, const std::uint8_t*, std::size_t) {}
    void Run(std::size_t, std::uint8_t, std::size_t) {}
};

struct WritePlane {
    std::uint8_t* pixels;  // the plane's byte of pixel 0
    void Literal(std::size_t first, const std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) pixels[(first + i) * 4] = bytes[i];
    }
    void Run(std::size_t first, std::uint8_t value, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) pixels[(first + i) * 4] = value;
    }
};

}  // namespace

std::unique_ptr<PsdPicture> DecodePsd(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr) return nullptr;
    ByteReader reader(bytes, size);
    const auto header = ReadHeader(reader);
    if (!header) return nullptr;
    const std::size_t pixelCount = static_cast<std::size_t>(header->width) * header->height;
    const int planes = std::min(header->channels, kPlanesRead);

    if (header->compression == 0) {
        if (reader.Remaining() / pixelCount < static_cast<std::size_t>(planes)) return nullptr;
    } else {
        // The row byte counts: one 16-bit count per row of every channel.
        if (!reader.Skip(std::uint64_t{2} * header->channels * header->height)) return nullptr;
        // A first walk proves every plane is all there before the working picture is made, so
        // a short file never costs a buffer of the size its header claims.
        ByteReader scan = reader;
        for (int plane = 0; plane < planes; ++plane) {
            if (!WalkPackedPlane(scan, pixelCount, DiscardPixels{})) return nullptr;
        }
    }

    auto picture = std::unique_ptr<PsdPicture>(new (std::nothrow) PsdPicture);
    if (!picture) return nullptr;
    try {
        picture->pixels.pixels.assign(pixelCount * 4, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    picture->pixels.width = static_cast<int>(header->width);
    picture->pixels.height = static_cast<int>(header->height);
    picture->channels = header->channels;
    std::uint8_t* pixels = picture->pixels.pixels.data();
    if (header->channels < kPlanesRead) {
        for (std::size_t i = 0; i < pixelCount; ++i) pixels[i * 4 + 3] = 255;
    }
    for (const int target : kPlaneTargets) {
        if (target >= header->channels) continue;  // keeps its default
        WritePlane write{pixels + target};
        if (header->compression == 0) {
            write.Literal(0, reader.Here(), pixelCount);
            reader.Skip(pixelCount);
        } else {
            WalkPackedPlane(reader, pixelCount, write);
        }
    }
    return picture;
}

}  // namespace cdx
