// SPDX-License-Identifier: MIT
// Any bytes as a bitmap: decoded on their own, then made into a surface by CreateFromFile as
// the program's bitmap resource on the fake host's 16-bit display, keyed by its top-left pixel
// and drawn once onto the back buffer with a keyed translucent blend. A picture that comes
// back must be whole, and the surface must be exactly the decoded picture's size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "platform/bitmap/bitmap_service.h"
#include "platform/fake/fake_host.h"
#include "platform/host/window.h"

using namespace cdx;

namespace {

// A name no file has: the surface can come only from the resource.
constexpr const char* kName = "<fuzzed bitmap>";

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

void CheckWhole(const platform::Bitmap& bitmap) {
    if (bitmap.width < 1 || bitmap.height < 1 ||
        bitmap.pixels.size() != static_cast<std::size_t>(bitmap.width) * bitmap.height * 4) {
        std::abort();
    }
    // Touching every byte lets the address sanitizer check the whole buffer.
    volatile unsigned sum = 0;
    for (std::uint8_t byte : bitmap.pixels) sum = sum + byte;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Display display;
    const auto bitmap = platform::DecodeBitmap(data, size);
    if (bitmap) CheckWhole(*bitmap);

    const platform::Resource resources[] = {{kName, platform::ResourceKind::Bitmap, data, size}};
    platform::RegisterResources(resources);
    {
        CDXSurface surface;
        if (surface.CreateFromFile(display.screen.get(), kName, 2) == 1) {
            if (!bitmap || surface.PixelWidth != bitmap->width ||
                surface.PixelHeight != bitmap->height || surface.AlphaMap) {
                std::abort();
            }
            surface.SetColorKey();
            surface.DrawTranslucentKeyed(display.screen->Back, 3, 5, surface.SrcRect, 128);
        } else if (surface.Surface) {
            std::abort();  // a refused picture leaves no surface behind
        }
    }
    platform::RegisterResources({});
    return 0;
}
