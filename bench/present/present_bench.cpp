// One presented frame: the 640 x 480 16-bit back buffer turned into the host's ARGB texture,
// against a plain copy of the same bytes and SDL's own conversion of the same frame.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "pixel_format.h"
#include "present_convert.h"

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

}  // namespace

BENCHMARK_MAIN();
