// SPDX-License-Identifier: MIT
// Drawing the game's 500 x 480 map view at an unaligned scroll position, against a plain copy
// of the same number of bytes (500 x 480 pixels of 16 bits) in the same run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "map/fmpmap.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

namespace {

void BM_MapDraw(benchmark::State& state) {
    platform::FakeHost host;
    platform::SetHost(&host);
    CDXScreen screen;
    screen.CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0);
    FmpMap map;
    map.SetTransparentColor(0);
    if (map.Create(&screen, ZELTO_GAME_DIR "/ZELTO.FMP", 0, 0, 500, 480) != 0) {
        state.SkipWithError("the generated map did not load");
        return;
    }
    map.SetScrollPosition(317, 211);
    for (auto _ : state) {
        benchmark::DoNotOptimize(map.Draw(screen.Back));
    }
    state.SetBytesProcessed(state.iterations() * 500 * 480 * 2);
    map.Destroy();
}
BENCHMARK(BM_MapDraw);

void BM_PlainCopyOfTheViewsBytes(benchmark::State& state) {
    constexpr int kRowBytes = 500 * 2;
    constexpr int kPitch = 640 * 2;
    std::vector<std::uint8_t> source(kPitch * 480, 0x5A);
    std::vector<std::uint8_t> dest(kPitch * 480);
    for (auto _ : state) {
        for (int row = 0; row < 480; ++row) {
            std::memcpy(dest.data() + row * kPitch, source.data() + row * kPitch, kRowBytes);
        }
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 500 * 480 * 2);
}
BENCHMARK(BM_PlainCopyOfTheViewsBytes);

}  // namespace

BENCHMARK_MAIN();
