// SPDX-License-Identifier: MIT
#pragma once

// A full screen on the fake host, rows padded so that nothing may take the pitch for width x
// bytes, with a sprite sheet of 32 x 32 frames to draw from.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "cdx/sprite/cdxsprite.h"
#include "cdx/sprite/cdxtile.h"
#include "cdx/surface/cdxscreen.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

class BlitterScene {
public:
    explicit BlitterScene(int depth) {
        platform::SetHost(&host);
        host.SetRowPadding(6);
        screen = std::make_unique<CDXScreen>();
        ready =
            screen->CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, depth, 0) == 1;
    }
    ~BlitterScene() {
        sheet.reset();
        screen.reset();
    }

    // A sheet of 320 x 64 (two rows of ten frames) filled with value, keyed by key.
    CDXTile& MakeSheet(std::uint32_t value, std::uint32_t key) {
        sheet = std::make_unique<CDXTile>();
        sheet->CDXSurface::Create(screen.get(), 320, 64, 2);
        sheet->BlockWidth = 32;
        sheet->BlockHeight = 32;
        sheet->BlockCount = 20;
        sheet->Fill(value);
        sheet->FillRect(0, 0, 1, 1, key);
        sheet->SetColorKey();
        return *sheet;
    }

    std::uint32_t Pixel(CDXSurface& surface, int x, int y) {
        EXPECT_EQ(surface.Lock(), platform::DD_OK);
        const std::uint32_t value = surface.GetPixel(x, y);
        surface.Unlock();
        return value;
    }
    void Put(CDXSurface& surface, int x, int y, std::uint32_t value) {
        surface.FillRect(x, y, x + 1, y + 1, value);
    }

    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    std::unique_ptr<CDXTile> sheet;
    bool ready = false;
};

// Every pixel of a surface, row by row, for before-and-after comparisons.
inline std::vector<std::uint32_t> AllPixels(CDXSurface& surface) {
    std::vector<std::uint32_t> pixels;
    EXPECT_EQ(surface.Lock(), platform::DD_OK);
    for (int y = 0; y < surface.PixelHeight; ++y) {
        for (int x = 0; x < surface.PixelWidth; ++x) pixels.push_back(surface.GetPixel(x, y));
    }
    surface.Unlock();
    return pixels;
}
