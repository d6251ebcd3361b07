// SPDX-License-Identifier: MIT
#include "palette.h"

#include <algorithm>

namespace datagen {
namespace {

using ColourBox = std::vector<Rgb8>;

int Channel(const Rgb8& c, int channel) {
    return channel == 0 ? c.r : (channel == 1 ? c.g : c.b);
}

// The channel with the widest spread in the box, and that spread.
std::pair<int, int> WidestChannel(const ColourBox& box) {
    int bestChannel = 0;
    int bestRange = -1;
    for (int channel = 0; channel < 3; ++channel) {
        int lo = 255;
        int hi = 0;
        for (const Rgb8& c : box) {
            lo = std::min(lo, Channel(c, channel));
            hi = std::max(hi, Channel(c, channel));
        }
        if (hi - lo > bestRange) {
            bestRange = hi - lo;
            bestChannel = channel;
        }
    }
    return {bestChannel, bestRange};
}

Rgb8 Average(const ColourBox& box) {
    long sum[3] = {0, 0, 0};
    for (const Rgb8& c : box) {
        sum[0] += c.r;
        sum[1] += c.g;
        sum[2] += c.b;
    }
    const long n = static_cast<long>(box.size());
    return {static_cast<std::uint8_t>((sum[0] + n / 2) / n),
            static_cast<std::uint8_t>((sum[1] + n / 2) / n),
            static_cast<std::uint8_t>((sum[2] + n / 2) / n)};
}

}  // namespace

std::array<Rgb8, 256> BuildPalette(const std::vector<RgbImage>& images) {
    ColourBox all;
    for (const RgbImage& image : images)
        all.insert(all.end(), image.pixels.begin(), image.pixels.end());

    std::vector<ColourBox> boxes;
    if (!all.empty()) boxes.push_back(std::move(all));
    // Split the box with the widest spread (weighted by its pixel count) until 255 boxes exist
    // or no box can be split further.
    while (boxes.size() < 255) {
        int chosen = -1;
        long chosenScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            const long score = static_cast<long>(WidestChannel(boxes[i]).second) *
                               static_cast<long>(boxes[i].size());
            if (score > chosenScore) {
                chosenScore = score;
                chosen = static_cast<int>(i);
            }
        }
        if (chosen < 0) break;
        ColourBox& box = boxes[chosen];
        const int channel = WidestChannel(box).first;
        std::sort(box.begin(), box.end(), [channel](const Rgb8& a, const Rgb8& b) {
            const int ka = Channel(a, channel);
            const int kb = Channel(b, channel);
            if (ka != kb) return ka < kb;
            if (a.r != b.r) return a.r < b.r;
            if (a.g != b.g) return a.g < b.g;
            return a.b < b.b;
        });
        const std::size_t half = box.size() / 2;
        ColourBox upper(box.begin() + static_cast<long>(half), box.end());
        box.resize(half);
        boxes.push_back(std::move(upper));
    }

    std::array<Rgb8, 256> palette{};
    std::size_t next = 1;
    for (const ColourBox& box : boxes) palette[next++] = Average(box);
    // Fewer colours than entries: the rest become a grey ramp, still a usable palette.
    for (; next < palette.size(); ++next) {
        const auto grey = static_cast<std::uint8_t>(next);
        palette[next] = {grey, grey, grey};
    }
    return palette;
}

}  // namespace datagen
