// SPDX-License-Identifier: MIT
// The blits that hand their rectangles to the display service as they are, without clipping:
// BlitRect, BlitKeyed, BlitToWindow, BlitMirroredH and BlitMirroredV. Each is held, over the
// destination's whole memory, to the service's plain per-pixel loops: a rectangle inside the
// destination, or flush with one of its edges, is drawn; one that reaches a pixel past an
// edge, lies wholly outside or cannot even be written in 32 bits is refused and draws nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"
#include "platform/fake/fake_host.h"
#include "platform/host/window.h"

using namespace cdx;

using namespace platform;

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// A frame of the sheet, wider than tall, so that a swapped axis shows.
constexpr RECT kFrame{8, 4, 40, 28};
constexpr int kFrameWidth = kFrame.right - kFrame.left;
constexpr int kFrameHeight = kFrame.bottom - kFrame.top;

LRESULT QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

// A full screen on the fake host, in a real window whose client area is the given size (the
// area BlitToWindow draws onto), its rows padded, with a 96 x 64 source of random pixels, a
// third of them its colour key, and random bytes over the back buffer's whole memory.
class Scene {
public:
    Scene(int depth, int clientWidth, int clientHeight) {
        SetHost(&host_);
        host_.SetRowPadding(6);
        WNDCLASS windowClass;
        windowClass.lpfnWndProc = QuietProc;
        windowClass.lpszClassName = "Blits";
        RegisterClass(&windowClass);
        HWND window = CreateWindowEx(0, "Blits", "blits", WS_POPUP, 0, 0, clientWidth, clientHeight,
                                     nullptr, nullptr, nullptr, nullptr);
        screen_ = std::make_unique<CDXScreen>();
        if (window == nullptr ||
            screen_->CreateFullScreen(window, kScreenWidth, kScreenHeight, depth, 0) != 1) {
            return;
        }
        source_ = std::make_unique<CDXSurface>(screen_.get(), 96, 64, 2);
        if (!source_->Surface) return;
        std::mt19937 random(static_cast<unsigned>(depth));
        bytes_ = BytesPerPixel(static_cast<DWORD>(depth));
        const std::uint32_t valueBits = PixelValueMask(bytes_);
        const std::uint32_t key = random() & valueBits;
        if (source_->Lock() != DD_OK) return;
        for (int y = 0; y < source_->PixelHeight; ++y) {
            for (int x = 0; x < source_->PixelWidth; ++x) {
                const bool keyed = (x == 0 && y == 0) || random() % 3 == 0;
                WritePixel(PixelAt(*source_, x, y), bytes_, keyed ? key : random() & valueBits);
            }
        }
        source_->Unlock();
        source_->SetColorKey();
        if (back().Lock() != DD_OK) return;
        backPitch_ = back().Desc.lPitch;
        auto* memory = static_cast<std::uint8_t*>(back().Desc.lpSurface);
        std::generate_n(memory, back().Desc.lPitch * back().PixelHeight,
                        [&] { return static_cast<std::uint8_t>(random()); });
        back().Unlock();
        ready_ = true;
    }
    ~Scene() {
        source_.reset();
        screen_.reset();
    }

    bool ready() const { return ready_; }
    int bytesPerPixel() const { return bytes_; }
    int backPitch() const { return backPitch_; }
    CDXSurface& source() { return *source_; }
    CDXSurface& back() { return *screen_->Back; }
    FakeHost& host() { return host_; }

    // Pixel (x, y) of a locked surface.
    std::uint8_t* PixelAt(CDXSurface& surface, int x, int y) const {
        return static_cast<std::uint8_t*>(surface.Desc.lpSurface) + y * surface.Desc.lPitch +
               x * bytes_;
    }

private:
    FakeHost host_;
    std::unique_ptr<CDXScreen> screen_;
    std::unique_ptr<CDXSurface> source_;
    int bytes_ = 0;
    int backPitch_ = 0;
    bool ready_ = false;
};

// A surface's memory, the padding of its rows included.
std::vector<std::uint8_t> MemoryOf(CDXSurface& surface) {
    EXPECT_EQ(surface.Lock(), DD_OK);
    const auto* first = static_cast<const std::uint8_t*>(surface.Desc.lpSurface);
    std::vector<std::uint8_t> memory(first, first + surface.Desc.lPitch * surface.PixelHeight);
    surface.Unlock();
    return memory;
}

enum class Offer { kRectSameSize, kRectStretched, kKeyed, kMirroredH, kMirroredV };

const char* NameOf(Offer offer) {
    switch (offer) {
        case Offer::kRectSameSize:
            return "BlitRect";
        case Offer::kRectStretched:
            return "BlitRect stretched";
        case Offer::kKeyed:
            return "BlitKeyed";
        case Offer::kMirroredH:
            return "BlitMirroredH";
        case Offer::kMirroredV:
            return "BlitMirroredV";
    }
    return "?";
}

// Where a target of width w and height h lands: x = xBase + xPerWidth * w, and the same for y,
// so that "flush with the right edge" reads 640 - w whatever the size.
struct Placement {
    const char* where;
    std::int64_t xBase;
    int xPerWidth;
    std::int64_t yBase;
    int yPerHeight;
    bool draws;
};

constexpr Placement kPlacements[] = {
    {"inside", 100, 0, 60, 0, true},
    {"flush left", 0, 0, 60, 0, true},
    {"one past the left", -1, 0, 60, 0, false},
    {"flush right", kScreenWidth, -1, 60, 0, true},
    {"one past the right", kScreenWidth + 1, -1, 60, 0, false},
    {"flush top", 100, 0, 0, 0, true},
    {"one past the top", 100, 0, -1, 0, false},
    {"flush bottom", 100, 0, kScreenHeight, -1, true},
    {"one past the bottom", 100, 0, kScreenHeight + 1, -1, false},
    {"in the top-left corner", 0, 0, 0, 0, true},
    {"in the bottom-right corner", kScreenWidth, -1, kScreenHeight, -1, true},
    {"wholly right", kScreenWidth, 0, 60, 0, false},
    {"wholly left", 0, -1, 60, 0, false},
    {"wholly below", 100, 0, kScreenHeight, 0, false},
    {"wholly above", 100, 0, 0, -1, false},
    {"at the largest position", INT32_MAX, 0, INT32_MAX, 0, false},
    {"at the smallest position", INT32_MIN, 0, INT32_MIN, 0, false},
};

std::int32_t HeldToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The expected memory after a blit that draws: the service's plain per-pixel loop, on a copy.
void DrawReference(Scene& scene, Offer offer, const RECT& from, const RECT& to,
                   std::vector<std::uint8_t>& expected) {
    CDXSurface& source = scene.source();
    const int bytes = scene.bytesPerPixel();
    ASSERT_EQ(source.Lock(), DD_OK);
    const ConstPixelSpan fromSpan{scene.PixelAt(source, from.left, from.top), source.Desc.lPitch};
    const PixelSpan toSpan{expected.data() + to.top * scene.backPitch() + to.left * bytes,
                           scene.backPitch()};
    const int fromWidth = from.right - from.left;
    const int fromHeight = from.bottom - from.top;
    const int toWidth = to.right - to.left;
    const int toHeight = to.bottom - to.top;
    if (offer == Offer::kKeyed) {
        CopyPixelsKeyedReference(fromSpan, toSpan, fromWidth, fromHeight, bytes, source.ColorKey);
    } else {
        StretchOptions options;  // no colour key
        options.mirrorLeftRight = offer == Offer::kMirroredH;
        options.mirrorUpDown = offer == Offer::kMirroredV;
        StretchPixelsReference(fromSpan, fromWidth, fromHeight, toSpan, toWidth, toHeight, bytes,
                               options);
    }
    source.Unlock();
}

HRESULT Blit(Scene& scene, Offer offer, std::int32_t x, std::int32_t y, const RECT& to) {
    CDXSurface& source = scene.source();
    switch (offer) {
        case Offer::kRectSameSize:
        case Offer::kRectStretched:
            source.DestRect = to;
            return source.BlitRect(&scene.back());
        case Offer::kKeyed:
            return source.BlitKeyed(x, y, &scene.back());
        case Offer::kMirroredH:
            return source.BlitMirroredH(x, y, &scene.back());
        case Offer::kMirroredV:
            return source.BlitMirroredV(x, y, &scene.back());
    }
    return DDERR_UNSUPPORTED;
}

constexpr int kDepths[] = {8, 16, 24, 32};

}  // namespace

// Every offer at every placement: BlitRect onto a DestRect of the frame's size and of another
// size, the others at (x, y) with the frame's size.
TEST(ServiceBlits, DrawWhatTheReferenceDrawsOrRefuseAndDrawNothing) {
    const Offer offers[] = {Offer::kRectSameSize, Offer::kRectStretched, Offer::kKeyed,
                            Offer::kMirroredH, Offer::kMirroredV};
    for (const int depth : kDepths) {
        Scene scene(depth, kScreenWidth, kScreenHeight);
        ASSERT_TRUE(scene.ready()) << depth;
        scene.source().SrcRect = kFrame;
        for (const Offer offer : offers) {
            // Stretched: half as wide again and half as tall, so both axes are resampled.
            const bool stretched = offer == Offer::kRectStretched;
            const int width = stretched ? kFrameWidth * 3 / 2 : kFrameWidth;
            const int height = stretched ? kFrameHeight / 2 : kFrameHeight;
            for (const Placement& placement : kPlacements) {
                const std::int64_t x = placement.xBase + std::int64_t{placement.xPerWidth} * width;
                const std::int64_t y =
                    placement.yBase + std::int64_t{placement.yPerHeight} * height;
                // BlitRect's caller writes the rectangle: its far edges stop at the range's end.
                const RECT to{HeldToInt32(x), HeldToInt32(y), HeldToInt32(x + width),
                              HeldToInt32(y + height)};
                std::vector<std::uint8_t> expected = MemoryOf(scene.back());
                if (placement.draws) {
                    ASSERT_NO_FATAL_FAILURE(DrawReference(scene, offer, kFrame, to, expected));
                }
                const HRESULT result = Blit(scene, offer, HeldToInt32(x), HeldToInt32(y), to);
                EXPECT_EQ(result, placement.draws ? DD_OK : DDERR_INVALIDRECT)
                    << NameOf(offer) << " " << placement.where << ", depth " << depth;
                ASSERT_EQ(MemoryOf(scene.back()), expected)
                    << NameOf(offer) << " " << placement.where << ", depth " << depth;
                EXPECT_EQ(scene.source().SrcRect.left, kFrame.left) << "SrcRect is not changed";
            }
        }

        // A source rectangle reaching past the source's own edge, or one so wide that its
        // width does not fit in 32 bits, is refused by all of them.
        const std::vector<std::uint8_t> before = MemoryOf(scene.back());
        for (const RECT& outside : {RECT{80, 40, 112, 64}, RECT{INT32_MIN, 0, INT32_MAX, 24}}) {
            scene.source().SrcRect = outside;
            for (const Offer offer : offers) {
                EXPECT_EQ(Blit(scene, offer, 100, 60, RECT{100, 60, 132, 84}), DDERR_INVALIDRECT)
                    << NameOf(offer) << " from " << outside.left << ", depth " << depth;
            }
        }
        EXPECT_EQ(MemoryOf(scene.back()), before) << depth;
    }
}

// BlitToWindow stretches the whole source onto the window's client area; on the fake host the
// client area's top-left corner is the screen's, so only its size can reach past an edge.
TEST(ServiceBlits, BlitToWindowFillsTheClientAreaOrRefusesOneLargerThanTheDestination) {
    struct ClientArea {
        int width;
        int height;
        bool draws;
    };
    const ClientArea areas[] = {{kScreenWidth, kScreenHeight, true},
                                {200, 150, true},
                                {kScreenWidth + 1, kScreenHeight, false},
                                {kScreenWidth, kScreenHeight + 1, false},
                                {0, 0, false}};
    for (const int depth : kDepths) {
        for (const ClientArea& area : areas) {
            Scene scene(depth, area.width, area.height);
            ASSERT_TRUE(scene.ready()) << depth;
            const RECT whole{0, 0, scene.source().PixelWidth, scene.source().PixelHeight};
            // The source rectangle is not the one drawn: BlitToWindow takes the whole surface.
            scene.source().SrcRect = kFrame;
            std::vector<std::uint8_t> expected = MemoryOf(scene.back());
            if (area.draws) {
                ASSERT_NO_FATAL_FAILURE(DrawReference(scene, Offer::kRectStretched, whole,
                                                      RECT{0, 0, area.width, area.height},
                                                      expected));
            }
            EXPECT_EQ(scene.source().BlitToWindow(&scene.back()),
                      area.draws ? DD_OK : DDERR_INVALIDRECT)
                << area.width << " x " << area.height << ", depth " << depth;
            ASSERT_EQ(MemoryOf(scene.back()), expected)
                << area.width << " x " << area.height << ", depth " << depth;
        }
    }
}

// The display lost under a blit: the loss is the answer and nothing is drawn; BlitRect,
// BlitKeyed and BlitToWindow restore their source, the two mirrored blits leave it lost.
TEST(ServiceBlits, ALostDisplayIsAnsweredAndOnlyTheUnmirroredRestoreTheirSource) {
    Scene scene(16, kScreenWidth, kScreenHeight);
    ASSERT_TRUE(scene.ready());
    CDXSurface& source = scene.source();
    const std::vector<std::uint8_t> before = MemoryOf(scene.back());
    struct Lost {
        const char* offer;
        HRESULT (*blit)(Scene&);
        bool restores;
    };
    const Lost blits[] = {
        {"BlitRect", [](Scene& s) { return s.source().BlitRect(&s.back()); }, true},
        {"BlitKeyed", [](Scene& s) { return s.source().BlitKeyed(0, 0, &s.back()); }, true},
        {"BlitToWindow", [](Scene& s) { return s.source().BlitToWindow(&s.back()); }, true},
        {"BlitMirroredH", [](Scene& s) { return s.source().BlitMirroredH(0, 0, &s.back()); },
         false},
        {"BlitMirroredV", [](Scene& s) { return s.source().BlitMirroredV(0, 0, &s.back()); },
         false},
    };
    source.SrcRect = kFrame;
    source.DestRect = RECT{0, 0, kFrameWidth, kFrameHeight};
    for (const Lost& lost : blits) {
        // Only the source is lost: the destination keeps its memory for the comparison.
        source.Surface->MarkLost();
        EXPECT_EQ(lost.blit(scene), DDERR_SURFACELOST) << lost.offer;
        EXPECT_EQ(source.Surface->IsLost(), lost.restores ? DD_OK : DDERR_SURFACELOST)
            << lost.offer;
        source.Surface->Restore();
    }
    EXPECT_EQ(MemoryOf(scene.back()), before);
}
