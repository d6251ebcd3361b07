// SPDX-License-Identifier: MIT
// One presented frame: the 640 x 480 16-bit back buffer turned into the host's ARGB texture,
// against a plain copy of the same bytes and SDL's own conversion of the same frame. Beside it
// the clear that starts every play frame: the engine's colour fill of the 16-bit back buffer,
// against a memset of as many bytes.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "platform/display/pixel_format.h"
#include "platform/display/present_convert.h"
#include "platform/fake/fake_host.h"
#include "processor_levels.h"

using namespace cdx;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Frame {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kWidth * kHeight * 2);
    std::vector<std::uint32_t> texture = std::vector<std::uint32_t>(kWidth * kHeight);
    Frame() {
        std::uint32_t state = 1;
        for (auto& byte : pixels) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
    }
    platform::PresentedPicture Picture() const {
        platform::PresentedPicture picture;
        picture.pixels = pixels.data();
        picture.width = kWidth;
        picture.height = kHeight;
        picture.pitch = kWidth * 2;
        picture.format = platform::PixelFormatForDepth(16);
        return picture;
    }
};

void BM_PresentConvert(benchmark::State& state) {
    Frame frame;
    const auto picture = frame.Picture();
    for (auto _ : state) {
        platform::ConvertPictureToArgb(picture, frame.texture.data(), kWidth * 4);
        benchmark::DoNotOptimize(frame.texture.data());
    }
}
BENCHMARK(BM_PresentConvert);

// The 8-pixel SSE2 steps that processors without AVX2 take.
void BM_PresentConvertSse2(benchmark::State& state) {
    Frame frame;
    const auto picture = frame.Picture();
    for (auto _ : state) {
        if (!platform::ConvertPictureToArgbWithSteps(platform::ConversionSteps::kSse2, picture,
                                                     frame.texture.data(), kWidth * 4)) {
            return state.SkipWithError("no SSE2 steps on this processor");
        }
        benchmark::DoNotOptimize(frame.texture.data());
    }
}
BENCHMARK(BM_PresentConvertSse2);

void BM_PresentConvertReference(benchmark::State& state) {
    Frame frame;
    const auto picture = frame.Picture();
    for (auto _ : state) {
        platform::ConvertPictureToArgbReference(picture, frame.texture.data(), kWidth * 4);
        benchmark::DoNotOptimize(frame.texture.data());
    }
}
BENCHMARK(BM_PresentConvertReference);

void BM_PlainCopyOfTheFrame(benchmark::State& state) {
    Frame frame;
    std::vector<std::uint8_t> copy(frame.pixels.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.pixels.data(), frame.pixels.size());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PlainCopyOfTheFrame);

void BM_SdlConvertPixels(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        SDL_ConvertPixels(kWidth, kHeight, SDL_PIXELFORMAT_RGB565, frame.pixels.data(), kWidth * 2,
                          SDL_PIXELFORMAT_ARGB8888, frame.texture.data(), kWidth * 4);
        benchmark::DoNotOptimize(frame.texture.data());
    }
}
BENCHMARK(BM_SdlConvertPixels);

// The game's clear, GameScreen->Back->Fill(0), on a 640 x 480 16-bit screen of the fake host.
void BM_FillFrame(benchmark::State& state) {
    platform::FakeHost host;
    platform::SetHost(&host);
    CDXScreen screen;
    if (screen.CreateFullScreen(reinterpret_cast<platform::HWND>(1), kWidth, kHeight, 16, 0) != 1 ||
        screen.Back == nullptr) {
        return state.SkipWithError("the 16-bit screen could not be made");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.Back->Fill(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
}
BENCHMARK(BM_FillFrame);

void BM_MemsetFrame(benchmark::State& state) {
    std::vector<std::uint8_t> frame(kWidth * kHeight * 2, 1);
    for (auto _ : state) {
        std::memset(frame.data(), 0, frame.size());
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
}
BENCHMARK(BM_MemsetFrame);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RunAtEveryProcessorLevel();
    benchmark::Shutdown();
    return 0;
}
