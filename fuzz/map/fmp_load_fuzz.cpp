// SPDX-License-Identifier: MIT
// Any bytes as a map file: parsed and checked on their own, then loaded through the map onto
// the fake host's display, drawn at a few scroll positions, and restored.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "map/block_pixels.h"
#include "map/fmpfile.h"
#include "map/fmpmap.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

namespace {

struct Display {
    Display() {
        platform::SetHost(&host);
        host.SetRowPadding(3);
        screen = std::make_unique<CDXScreen>();
        screen->CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0);
    }
    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
};

void ConvertEveryGraphic(const FmpFile& file) {
    const FmpHeader& header = file.Header;
    std::vector<std::uint8_t> pixels(std::size_t(header.BlockWidth) * header.BlockHeight * 4);
    std::vector<std::uint8_t> rows(std::size_t(DibStride(header.BlockWidth)) * header.BlockHeight);
    const BlockTargetFormat target{32, 0xFF0000, 0xFF00, 0xFF};
    for (int g = 0; g < header.BlockGraphicCount; ++g) {
        const BlockSource source{file.GraphicPixels(g), header.BlockDepth, header.BlockWidth,
                                 header.BlockHeight, file.Palette.data()};
        ConvertBlockPixels(source, target, pixels.data(), header.BlockWidth * 4);
        BlockToDibRows(source, rows.data(), DibStride(header.BlockWidth));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Display display;
    static const std::string path = "/tmp/fmp_load_fuzz-" + std::to_string(::getpid()) + ".fmp";

    FmpFile file;
    if (file.Parse({data, size}) == kFmpNoError && file.Resolve() == kFmpNoError) {
        for (int row = -1; row <= file.Header.MapHeight; ++row) {
            for (int column = -1; column <= file.Header.MapWidth; ++column) {
                file.BlockAt(column, row);
            }
        }
        ConvertEveryGraphic(file);
    }

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    FmpMap map;
    if (map.Create(display.screen.get(), path.c_str(), 0, 0, 500, 480) == 0) {
        const std::int32_t positions[][2] = {{0, 0}, {37, 11}, {100000, 100000}};
        for (const auto& position : positions) {
            map.SetScrollPosition(position[0], position[1]);
            map.Draw(display.screen->Back);
        }
        map.Restore();
    }
    map.Destroy();
    return 0;
}
