// SPDX-License-Identifier: MIT
#include "platform/display/opaque_runs.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

// One row's runs: pixel after pixel, a run opens at the first pixel that differs from the key
// and closes at the next one that equals it (or at the row's end).
template <class ReadMasked>
void AddRowRuns(std::vector<OpaqueRun>& runs, int width, std::uint32_t key, ReadMasked read) {
    int column = 0;
    while (column < width) {
        while (column < width && read(column) == key) ++column;
        const int start = column;
        while (column < width && read(column) != key) ++column;
        if (column > start) {
            runs.push_back(OpaqueRun{static_cast<std::uint16_t>(start),
                                     static_cast<std::uint16_t>(column - start)});
        }
    }
}

template <typename Pixel>
void AddTypedRowRuns(std::vector<OpaqueRun>& runs, const std::uint8_t* row, int width,
                     std::uint32_t key, std::uint32_t comparedBits) {
    AddRowRuns(runs, width, key & comparedBits, [row, comparedBits](int column) {
        Pixel pixel;
        std::memcpy(&pixel, row + static_cast<std::ptrdiff_t>(column) * sizeof(Pixel),
                    sizeof(Pixel));
        return static_cast<std::uint32_t>(pixel) & comparedBits;
    });
}

// Copies bytes (at least 1) to a place that does not overlap the source, with fixed-size
// moves only: a size between two powers of two is covered by two moves of the smaller power
// that overlap in the middle, so nothing outside the run is touched.
inline void CopyRunBytes(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    if (bytes >= 16) {
#if defined(__SSE2__)
        std::size_t done = 0;
        for (; done + 16 <= bytes; done += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + done),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + done)));
        }
        if (done < bytes) {
            const std::size_t last = bytes - 16;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + last),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + last)));
        }
#else
        std::memcpy(to, from, bytes);
#endif
        return;
    }
    if (bytes >= 8) {
        std::uint64_t head;
        std::uint64_t tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + bytes - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + bytes - 8, &tail, 8);
    } else if (bytes >= 4) {
        std::uint32_t head;
        std::uint32_t tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + bytes - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + bytes - 4, &tail, 4);
    } else if (bytes >= 2) {
        std::uint16_t head;
        std::uint16_t tail;
        std::memcpy(&head, from, 2);
        std::memcpy(&tail, from + bytes - 2, 2);
        std::memcpy(to, &head, 2);
        std::memcpy(to + bytes - 2, &tail, 2);
    } else {
        to[0] = from[0];
    }
}

// Calls copy(to, from, bytes) for every run of the window, cut to it, row by row.
template <class CopyFn>
void ForEachRunIn(const OpaqueRuns& runs, const RunWindow& window, ConstPixelSpan source,
                  PixelSpan dest, CopyFn copy) {
    const int right = window.left + window.width;
    const int bytesPerPixel = runs.bytesPerPixel();
    const std::uint32_t* rowFirst = runs.rowFirst();
    for (int row = 0; row < window.height; ++row) {
        const OpaqueRun* rowEnd = runs.runs() + rowFirst[window.top + row + 1];
        const OpaqueRun* run = runs.FirstRunReaching(window.top + row, window.left);
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (; run != rowEnd && run->start < right; ++run) {
            const int first = std::max<int>(run->start, window.left) - window.left;
            const int last = std::min<int>(run->start + run->length, right) - window.left;
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(first) * bytesPerPixel;
            copy(to + offset, from + offset,
                 static_cast<std::size_t>(last - first) * bytesPerPixel);
        }
    }
}

}  // namespace

std::optional<OpaqueRuns> OpaqueRuns::Build(ConstPixelSpan pixels, int width, int height,
                                            int bytesPerPixel, std::uint32_t key,
                                            std::uint32_t comparedBits) {
    if (bytesPerPixel < 1 || bytesPerPixel > 4 || width < 0 || height < 0 || width > kMaxWidth) {
        return std::nullopt;
    }
    if (width > 0 && height > 0 && pixels.first == nullptr) return std::nullopt;
    OpaqueRuns table;
    table.width_ = width;
    table.height_ = height;
    table.bytesPerPixel_ = bytesPerPixel;
    table.comparedBits_ = comparedBits & PixelValueMask(bytesPerPixel);
    table.key_ = key & table.comparedBits_;
    table.rowFirst_.reserve(static_cast<std::size_t>(height) + 1);
    for (int row = 0; row < height; ++row) {
        table.rowFirst_.push_back(static_cast<std::uint32_t>(table.runs_.size()));
        const std::uint8_t* at = pixels.first + static_cast<std::ptrdiff_t>(row) * pixels.pitch;
        switch (bytesPerPixel) {
            case 1:
                AddTypedRowRuns<std::uint8_t>(table.runs_, at, width, key, table.comparedBits_);
                break;
            case 2:
                AddTypedRowRuns<std::uint16_t>(table.runs_, at, width, key, table.comparedBits_);
                break;
            case 4:
                AddTypedRowRuns<std::uint32_t>(table.runs_, at, width, key, table.comparedBits_);
                break;
            default:
                AddRowRuns(table.runs_, width, table.key_, [&](int column) {
                    return ReadPixel(at + column * 3, 3) & table.comparedBits_;
                });
                break;
        }
    }
    table.rowFirst_.push_back(static_cast<std::uint32_t>(table.runs_.size()));
    std::int64_t opaquePixels = 0;
    for (const OpaqueRun& run : table.runs_) opaquePixels += run.length;
    table.averageRunLength_ =
        table.runs_.empty() ? 0 : static_cast<int>(opaquePixels / std::ssize(table.runs_));
    const int blocks = (width + kBlockColumns - 1) / kBlockColumns;
    table.blockFirst_.reserve(static_cast<std::size_t>(blocks) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        std::uint32_t index = table.rowFirst_[row];
        for (int block = 0; block < blocks; ++block) {
            const int column = block * kBlockColumns;
            while (index < table.rowFirst_[row + 1] &&
                   table.runs_[index].start + table.runs_[index].length <= column) {
                ++index;
            }
            table.blockFirst_.push_back(index);
        }
    }
    return table;
}

bool CopyOpaqueRuns(const OpaqueRuns& runs, const RunWindow& window, ConstPixelSpan source,
                    PixelSpan dest) {
    if (window.left < 0 || window.top < 0 || window.width < 0 || window.height < 0 ||
        window.left > runs.width() - window.width || window.top > runs.height() - window.height) {
        return false;
    }
    if (window.width == 0) return true;
    ForEachRunIn(runs, window, source, dest, CopyRunBytes);
    return true;
}

}  // namespace platform
