// SPDX-License-Identifier: MIT
#include "game/fader/screenfader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "cdx/surface/surface_lock.h"

using namespace platform;

using namespace cdx;

namespace zelto {

namespace {

// The brightness of table L. They are symmetric, kFactors[s] + kFactors[31 - s] = 1.00, so
// the two truncated parts of a cross-fade step never add up to more than the channel held.
constexpr double kFactors[ScreenFader::kLevels] = {
    0.00, 0.03, 0.06, 0.09, 0.13, 0.17, 0.21, 0.24, 0.27, 0.31, 0.34, 0.37, 0.41, 0.44, 0.47, 0.49,
    0.51, 0.53, 0.56, 0.59, 0.63, 0.66, 0.69, 0.73, 0.76, 0.79, 0.83, 0.87, 0.91, 0.94, 0.97, 1.00};

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

// The picture of a surface `lock` holds, as at least width x height 16-bit pixels. Nothing
// when the lock failed or the memory is no such picture: the passes then never touch memory
// they do not hold.
std::optional<FadePicture> LockedPicture(const SurfaceLock& lock, const CDXSurface& surface,
                                         int width, int height) {
    if (!lock.locked()) return std::nullopt;
    const DDSURFACEDESC2& desc = surface.Desc;
    if (desc.lpSurface == nullptr || desc.ddpfPixelFormat.dwRGBBitCount != 16 ||
        desc.dwWidth < static_cast<DWORD>(width) || desc.dwHeight < static_cast<DWORD>(height)) {
        return std::nullopt;
    }
    return FadePicture{static_cast<std::uint8_t*>(desc.lpSurface), desc.lPitch};
}

bool IsRunOfBits(std::uint32_t bits) {
    return bits != 0 && std::has_single_bit((bits >> LowestBit(bits)) + 1);
}

// The multipliers m with FadeChannel(c, m) == table[c] >> shift for every channel value c up
// to `largest`: those from low to high, none when low > high.
struct MultiplierRange {
    std::uint64_t low = 0;
    std::uint64_t high = kFadeUnit;
};

void NarrowToTable(MultiplierRange& range,
                   const std::array<std::uint16_t, ScreenFader::kChannelEntries>& table,
                   std::uint32_t shift, std::uint32_t largest) {
    for (std::uint32_t c = 1; c <= largest; ++c) {
        const std::uint64_t scaled = table[c] >> shift;
        range.low = std::max(range.low, (scaled * kFadeUnit + c - 1) / c);
        range.high = std::min(range.high, ((scaled + 1) * kFadeUnit - 1) / c);
    }
}

}  // namespace

ScreenFader::ScreenFader(CDXScreen* screen) : Screen(screen) {
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
    // Only layouts whose every channel value indexes within a table: 5-5-5 and 5-6-5.
    if (RedShift + 6 < 16 || (GreenMask >> GreenShift) >= kChannelEntries ||
        BlueMask >= kChannelEntries) {
        return;
    }
    for (int level = 0; level < kLevels; ++level) {
        const double factor = kFactors[level];
        ChannelTables& tables = Tables[static_cast<std::size_t>(level)];
        for (std::uint32_t value = 0; value < kChannelEntries; ++value) {
            // Each channel scaled alone and truncated, then shifted into its place.
            const auto scaled = static_cast<std::uint32_t>(value * factor);
            tables.red[value] = static_cast<std::uint16_t>(scaled << RedShift);
            tables.green[value] = static_cast<std::uint16_t>(scaled << GreenShift);
            tables.blue[value] = static_cast<std::uint16_t>(scaled);
        }
    }
    WalkByMultipliers = BuildMultipliers();
}

bool ScreenFader::BuildMultipliers() {
    // The walks scale each field in place: the fields must be runs of bits that do not
    // overlap, with blue at bit 0.
    const FadeFields fields{static_cast<int>(RedShift), static_cast<std::uint16_t>(GreenMask),
                            static_cast<std::uint16_t>(BlueMask)};
    const auto red = static_cast<std::uint16_t>(0xFFFFu << RedShift);
    if (!IsRunOfBits(red) || !IsRunOfBits(fields.greenMask) || !IsRunOfBits(fields.blueMask) ||
        (fields.blueMask & 1) == 0 || (red & fields.greenMask) != 0 ||
        ((red | fields.greenMask) & fields.blueMask) != 0) {
        return false;
    }
    for (int level = 0; level < kLevels; ++level) {
        const ChannelTables& tables = Tables[static_cast<std::size_t>(level)];
        MultiplierRange range;
        NarrowToTable(range, tables.red, RedShift, 0xFFFFu >> RedShift);
        NarrowToTable(range, tables.green, GreenShift, GreenMask >> GreenShift);
        NarrowToTable(range, tables.blue, 0, BlueMask);
        if (range.low > range.high) return false;
        Multipliers[static_cast<std::size_t>(level)] = static_cast<std::uint32_t>(range.low);
    }
    Fields = fields;
    return true;
}

void ScreenFader::MixStep(int step, FadePicture older, FadePicture newer, FadePicture work,
                          int width, int height) const {
    if (step < 0 || step >= kLevels || width <= 0 || height <= 0) return;
    const auto newLevel = static_cast<std::size_t>(step);
    const auto oldLevel = static_cast<std::size_t>(kLevels - 1 - step);
    if (WalkByMultipliers) {
        return MixPixels(Fields, Multipliers[newLevel], Multipliers[oldLevel], older, newer, work,
                         width, height);
    }
    const ChannelTables& newTables = Tables[newLevel];
    const ChannelTables& oldTables = Tables[oldLevel];
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* oldRow = older.pixels + y * older.pitch;
        const std::uint8_t* newRow = newer.pixels + y * newer.pitch;
        std::uint8_t* workRow = work.pixels + y * work.pitch;
        for (int x = 0; x < width; ++x) {
            Store16(workRow + 2 * x,
                    static_cast<std::uint16_t>(Faded(newTables, Load16(newRow + 2 * x)) +
                                               Faded(oldTables, Load16(oldRow + 2 * x))));
        }
    }
}

void ScreenFader::DarkenStep(int level, FadePicture source, FadePicture work,
                             const RECT& area) const {
    const int columns = area.right - area.left;
    const int rows = area.bottom - area.top;
    if (level < 0 || level >= kLevels || columns <= 0 || rows <= 0) return;
    const FadePicture from{source.pixels + area.top * source.pitch + 2 * area.left, source.pitch};
    const FadePicture to{work.pixels + area.top * work.pitch + 2 * area.left, work.pitch};
    if (WalkByMultipliers) {
        return DarkenPixels(Fields, Multipliers[static_cast<std::size_t>(level)], from, to, columns,
                            rows);
    }
    const ChannelTables& tables = Tables[static_cast<std::size_t>(level)];
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* sourceRow = from.pixels + y * from.pitch;
        std::uint8_t* workRow = to.pixels + y * to.pitch;
        for (int x = 0; x < columns; ++x) {
            Store16(workRow + 2 * x, Faded(tables, Load16(sourceRow + 2 * x)));
        }
    }
}

void ScreenFader::ShowStep(FadePicture work, int width, int height) {
    SurfaceLock frontLock(*Screen->Front);
    const auto front = LockedPicture(frontLock, *Screen->Front, width, height);
    if (!front) return;
    for (int y = 0; y < height; ++y) {
        std::memcpy(front->pixels + y * front->pitch, work.pixels + y * work.pitch,
                    static_cast<std::size_t>(width) * 2);
    }
    // The front buffer's unlock, at the end of the scope, shows the step.
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
    if (!ShowCrossFadeSteps(older, newer, work, width, height)) showNewPicture();
}

bool ScreenFader::ShowCrossFadeSteps(CDXSurface& older, CDXSurface& newer, CDXSurface& work,
                                     int width, int height) {
    SurfaceLock newerLock(newer);
    const auto newerPicture = LockedPicture(newerLock, newer, width, height);
    if (!newerPicture) return false;
    SurfaceLock olderLock(older);
    const auto olderPicture = LockedPicture(olderLock, older, width, height);
    if (!olderPicture) return false;
    SurfaceLock workLock(work);
    const auto workPicture = LockedPicture(workLock, work, width, height);
    if (!workPicture) return false;
    // Step 0 shows the old picture, step 31 the new one exactly.
    for (int step = 0; step < kLevels; ++step) {
        MixStep(step, *olderPicture, *newerPicture, *workPicture, width, height);
        ShowStep(*workPicture, width, height);
    }
    // Unlocked work first, then newer, then older.
    workLock.Release();
    newerLock.Release();
    return true;
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
        SurfaceLock workLock(work);
        SurfaceLock sourceLock(source);
        const auto workPicture = LockedPicture(workLock, work, width, height);
        const auto sourcePicture = LockedPicture(sourceLock, source, width, height);
        if (workPicture && sourcePicture) {
            // Level 0 is left out: the fill below makes the last step.
            for (int level = kLevels - 2; level >= 1; --level) {
                DarkenStep(level, *sourcePicture, *workPicture, area);
                ShowStep(*workPicture, width, height);
            }
        }
        // Unlocked work first, then source, both before the fill.
        workLock.Release();
    }
    front.FillRect(area.left, area.top, area.right, area.bottom, 0);
}

}  // namespace zelto
