// SPDX-License-Identifier: MIT
#pragma once

// Pictures the tests make themselves: Windows bitmap and PSD file images built byte by byte,
// files in a scratch folder, and a fake-host screen to load them onto.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

namespace testpictures {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A bottom-up 24-bit Windows bitmap file image whose pixel (x, y) is colour(x, y).
std::vector<std::uint8_t> MakeBmp24(int width, int height, Rgb (*colour)(int x, int y));

// A Windows bitmap file image with a 40-byte information header holding the given fields, a
// grey colour table of 2^bits entries for 8 bits or fewer, then `data` as the pixel data.
struct BmpFields {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
};
std::vector<std::uint8_t> MakeBmp(const BmpFields& fields, const std::vector<std::uint8_t>& data);

// A PSD file image: the header with the given fields, empty sections, then `image` as the
// compression field and image data.
struct PsdFields {
    std::uint16_t version = 1;
    std::uint16_t channels = 3;
    std::uint32_t height = 1;
    std::uint32_t width = 1;
    std::uint16_t bits = 8;
    std::uint16_t mode = 3;
    std::uint16_t compression = 0;
};
std::vector<std::uint8_t> MakePsd(const PsdFields& fields, const std::vector<std::uint8_t>& data);

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path folder_;
};

// A 16-bit 640 x 480 full screen on the fake host, rows padded so that nothing may take the
// pitch for width x bytes.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::uint32_t PixelOf(CDXSurface& surface, int x, int y);
    // Fills column c of surface with value(c) over its whole height.
    void FillColumns(CDXSurface& surface, std::uint32_t (*value)(int column));

    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    ScratchFolder scratch;
};

// The 5-6-5 pixel a picture's colour becomes: the top bits of each channel.
inline std::uint32_t Pixel565(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (static_cast<std::uint32_t>(red >> 3) << 11) |
           (static_cast<std::uint32_t>(green >> 2) << 5) | (blue >> 3);
}

}  // namespace testpictures
