#include "screenfader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

using namespace platform;

using namespace cdx;

namespace zelto {

namespace {

// The brightness of table L. They are symmetric, kFactors[s] + kFactors[31 - s] = 1.00, so
// the two truncated parts of a cross-fade step never add up to more than the channel held.
constexpr double kFactors[ScreenFader::kLevels] = {
    0.00, 0.03, 0.06, 0.09, 0.13, 0.17, 0.21, 0.24, 0.27, 0.31, 0.34, 0.37, 0.41, 0.44, 0.47, 0.49,
    0.51, 0.53, 0.56, 0.59, 0.63, 0.66, 0.69, 0.73, 0.76, 0.79, 0.83, 0.87, 0.91, 0.94, 0.97, 1.00};

constexpr int kTableSize = 65536;

std::uint16_t Load16(const std::uint8_t* at) {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void Store16(std::uint8_t* at, std::uint16_t value) {
    std::memcpy(at, &value, sizeof value);
}

std::uint32_t LowestBit(std::uint32_t mask) {
    return mask == 0 ? 0 : static_cast<std::uint32_t>(std::countr_zero(mask));
}

// Locks surface as a picture of at least width x height 16-bit pixels. Nothing, with the
// surface unlocked again, when the lock fails or its memory is no such picture: the passes
// then never touch memory they do not hold.
std::optional<FaderPicture> LockPicture(CDXSurface& surface, int width, int height) {
    if (surface.Lock() != DD_OK) return std::nullopt;
    const DDSURFACEDESC2& desc = surface.Desc;
    if (desc.lpSurface == nullptr || desc.ddpfPixelFormat.dwRGBBitCount != 16 ||
        desc.dwWidth < static_cast<DWORD>(width) || desc.dwHeight < static_cast<DWORD>(height)) {
        surface.Unlock();
        return std::nullopt;
    }
    return FaderPicture{static_cast<std::uint8_t*>(desc.lpSurface), desc.lPitch};
}

}  // namespace

ScreenFader::ScreenFader(CDXScreen* screen) : Screen(screen) {
    BrightnessTables.assign(static_cast<std::size_t>(kLevels) * kTableSize, 0);
    if (Screen == nullptr || Screen->Front == nullptr || !Screen->Front->Surface) return;
    Screen->Front->Fill(0);
    if (Screen->Back != nullptr) Screen->Back->Fill(0);
    DDSURFACEDESC2 desc;
    if (Screen->Front->Surface->GetSurfaceDesc(&desc) != DD_OK ||
        (desc.dwFlags & DDSD_PIXELFORMAT) == 0) {
        return;
    }
    RedShift = LowestBit(desc.ddpfPixelFormat.dwRBitMask);
    GreenShift = LowestBit(desc.ddpfPixelFormat.dwGBitMask);
    GreenMask = desc.ddpfPixelFormat.dwGBitMask;
    BlueMask = desc.ddpfPixelFormat.dwBBitMask;
    BuildTables();
}

void ScreenFader::BuildTables() {
    for (int level = 0; level < kLevels; ++level) {
        const double factor = kFactors[level];
        std::uint16_t* table = &BrightnessTables[static_cast<std::size_t>(level) * kTableSize];
        for (std::uint32_t value = 0; value < kTableSize; ++value) {
            // Red is the top field and taken without a mask; blue sits at bit 0.
            const auto green =
                static_cast<std::uint32_t>(((value & GreenMask) >> GreenShift) * factor);
            const auto red = static_cast<std::uint32_t>((value >> RedShift) * factor);
            const auto blue = static_cast<std::uint32_t>((value & BlueMask) * factor);
            table[value] =
                static_cast<std::uint16_t>((green << GreenShift) | (red << RedShift) | blue);
        }
    }
}

void ScreenFader::MixStep(int step, FaderPicture older, FaderPicture newer, FaderPicture work,
                          int width, int height) const {
    if (step < 0 || step >= kLevels) return;
    const std::uint16_t* newTable = &BrightnessTables[static_cast<std::size_t>(step) * kTableSize];
    const std::uint16_t* oldTable =
        &BrightnessTables[static_cast<std::size_t>(kLevels - 1 - step) * kTableSize];
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* oldRow = older.pixels + y * older.pitch;
        const std::uint8_t* newRow = newer.pixels + y * newer.pitch;
        std::uint8_t* workRow = work.pixels + y * work.pitch;
        for (int x = 0; x < width; ++x) {
            Store16(workRow + 2 * x, static_cast<std::uint16_t>(newTable[Load16(newRow + 2 * x)] +
                                                                oldTable[Load16(oldRow + 2 * x)]));
        }
    }
}

void ScreenFader::DarkenStep(int level, FaderPicture source, FaderPicture work,
                             const RECT& area) const {
    if (level < 0 || level >= kLevels) return;
    const std::uint16_t* table = &BrightnessTables[static_cast<std::size_t>(level) * kTableSize];
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* sourceRow = source.pixels + y * source.pitch;
        std::uint8_t* workRow = work.pixels + y * work.pitch;
        for (int x = area.left; x < area.right; ++x) {
            Store16(workRow + 2 * x, table[Load16(sourceRow + 2 * x)]);
        }
    }
}

void ScreenFader::ShowStep(FaderPicture work, int width, int height) {
    const auto front = LockPicture(*Screen->Front, width, height);
    if (!front) return;
    for (int y = 0; y < height; ++y) {
        std::memcpy(front->pixels + y * front->pitch, work.pixels + y * work.pitch,
                    static_cast<std::size_t>(width) * 2);
    }
    Screen->Front->Unlock();
}

void ScreenFader::CrossFade(CDXSurface* from, CDXSurface* to) {
    if (Screen == nullptr || Screen->Front == nullptr || from == nullptr || to == nullptr) return;
    const int width = Screen->Width;
    const int height = Screen->Height;
    if (width <= 0 || height <= 0) return;
    from->SetSrcRect(0, 0, height, width);
    to->SetSrcRect(0, 0, height, width);
    // A fade that cannot run (no memory for the work pictures, a lock refused, pixels that
    // are not 16-bit) still ends where it would have: the new picture on the screen.
    const auto showNewPicture = [&] { to->BlitOpaque(0, 0, Screen->Front); };
    CDXSurface work(Screen, width, height, 1);
    CDXSurface older(Screen, width, height, 1);
    CDXSurface newer(Screen, width, height, 1);
    if (!work.Surface || !older.Surface || !newer.Surface) return showNewPicture();
    from->BlitOpaque(0, 0, &older);
    to->BlitOpaque(0, 0, &newer);

    const auto newerPicture = LockPicture(newer, width, height);
    if (!newerPicture) return showNewPicture();
    const auto olderPicture = LockPicture(older, width, height);
    if (!olderPicture) {
        newer.Unlock();
        return showNewPicture();
    }
    const auto workPicture = LockPicture(work, width, height);
    if (!workPicture) {
        newer.Unlock();
        older.Unlock();
        return showNewPicture();
    }
    // Step 0 shows the old picture, step 31 the new one exactly.
    for (int step = 0; step < kLevels; ++step) {
        MixStep(step, *olderPicture, *newerPicture, *workPicture, width, height);
        ShowStep(*workPicture, width, height);
    }
    work.Unlock();
    newer.Unlock();
    older.Unlock();
}

void ScreenFader::FadeOut() {
    if (Screen == nullptr) return;
    FadeOutRect(RECT{0, 0, Screen->Width, Screen->Height});
}

void ScreenFader::FadeOutRect(const RECT& rect) {
    if (Screen == nullptr || Screen->Front == nullptr) return;
    CDXSurface& front = *Screen->Front;
    const int width = Screen->Width;
    const int height = Screen->Height;
    // The rectangle is inclusive; the passes and the final fill take it exclusive, cut to the
    // picture, so that its last column and row end black too and a rectangle reaching past
    // the screen (FadeOut's own reaches one past) is not refused by the fill.
    const RECT area{
        std::max(rect.left, 0), std::max(rect.top, 0),
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{rect.right} + 1, width)),
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{rect.bottom} + 1, height))};
    if (area.left >= area.right || area.top >= area.bottom) return;

    CDXSurface work(Screen, width, height, 1);
    CDXSurface source(Screen, width, height, 1);
    if (work.Surface && source.Surface) {
        front.SetSrcRect(0, 0, front.PixelHeight, front.PixelWidth);
        front.BlitOpaque(0, 0, &source);
        source.BlitOpaque(0, 0, &work);
        const auto workPicture = LockPicture(work, width, height);
        const auto sourcePicture = LockPicture(source, width, height);
        if (workPicture && sourcePicture) {
            // Table 0 is left out: the fill below makes the last step.
            for (int level = kLevels - 2; level >= 1; --level) {
                DarkenStep(level, *sourcePicture, *workPicture, area);
                ShowStep(*workPicture, width, height);
            }
        }
        if (workPicture) work.Unlock();
        if (sourcePicture) source.Unlock();
    }
    front.FillRect(area.left, area.top, area.right, area.bottom, 0);
}

}  // namespace zelto
