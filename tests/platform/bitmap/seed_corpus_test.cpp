// SPDX-License-Identifier: MIT
// Writes the bitmap fuzz target's seeds: small pictures of every depth and compression the
// decoder takes, in every header kind, and a few refused files, each decoded here first so the
// seeds stay what they claim.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/bitmap/bitmap_header.h"
#include "platform/bitmap/bitmap_service.h"
#include "test_pictures.h"

using namespace platform;
using namespace testpictures;

namespace {

using Bytes = std::vector<std::uint8_t>;

Rgb Ramp(int x, int y) {
    return {static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 50),
            static_cast<std::uint8_t>(200 - x * 20)};
}

// Rows of a 5 x 4 picture at the given depth: every pixel a different value.
Bytes Rows(int bits, int width, int height) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    Bytes rows(rowBytes * height);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return rows;
}

}  // namespace

TEST(SeedCorpus, WritesDecodableAndRefusedBitmaps) {
    std::vector<std::pair<std::string, Bytes>> seeds;
    seeds.emplace_back("rgb24", MakeBmp24(5, 4, Ramp));
    for (const std::uint16_t bits : {1, 4, 8, 16, 32}) {
        seeds.emplace_back("rgb" + std::to_string(bits),
                           MakeBmp({5, 4, bits, 0}, Rows(bits, 5, 4)));
    }
    seeds.emplace_back("top-down", MakeBmp({5, -4, 24, 0}, Rows(24, 5, 4)));
    // Runs, literals, a delta, line ends and the end of the picture.
    seeds.emplace_back("rle8", MakeBmp({6, 4, 8, 1}, {3,   9, 0, 3, 1, 2, 3, 0, 0, 0, 6,
                                                      200, 0, 0, 0, 2, 1, 0, 2, 7, 0, 1}));
    seeds.emplace_back(
        "rle4", MakeBmp({6, 4, 4, 2}, {6, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 0, 3, 0xF0, 0, 1}));
    Bytes masks{0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    Bytes fields = MakeBmp({3, 2, 16, 3}, masks);
    fields[10] += 12;  // the pixels follow the masks
    const Bytes pixels = Rows(16, 3, 2);
    fields.insert(fields.end(), pixels.begin(), pixels.end());
    seeds.emplace_back("bitfields16", fields);
    Bytes core{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0, 3, 0, 1, 0, 24, 0};
    core.resize(core.size() + 3 * 8, 0x44);
    seeds.emplace_back("core", core);
    for (const auto& [name, bytes] : seeds) {
        EXPECT_TRUE(DecodeBitmap(bytes.data(), bytes.size())) << name;
    }

    const std::size_t refusedFrom = seeds.size();
    seeds.emplace_back("claim", MakeBmp({40000, 25000, 8, 1}, {0, 0, 0, 1}));
    seeds.emplace_back("short-rows", MakeBmp({30, -30, 24, 0}, Bytes(50, 7)));
    seeds.emplace_back("jpeg", MakeBmp({2, 2, 24, 4}, Bytes(16, 0)));
    // Refused by the header alone, so that no decoder ever sees what they claim.
    for (std::size_t i = refusedFrom; i < seeds.size(); ++i) {
        EXPECT_FALSE(ReadBitmapHeader(seeds[i].second.data(), seeds[i].second.size()))
            << seeds[i].first;
    }

    const std::filesystem::path folder = ZELTO_BITMAP_SEED_DIR;
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream(folder / (name + ".bmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
}
