// SPDX-License-Identifier: MIT
#pragma once

// ScreenFader: the game's screen transitions in software on 15- and 16-bit pixels. Each of 32
// brightness levels scales every channel of a pixel by one of 32 fixed factors; a level is
// three small tables, one per channel, whose entries are the scaled channel already in place,
// and a pixel's faded value is the three entries of its channels together. The passes hand
// each level to the engine's fade walks (fade_walks.h) as one multiplier that gives exactly
// those tables. Every step is written into the screen's front buffer, which shows it at the
// next refresh; a fade runs to its end before it returns.

#include <array>
#include <cstddef>
#include <cstdint>

#include "cdx/blit/fade_walks.h"
#include "cdx/surface/cdxscreen.h"
#include "platform/host/win_types.h"

namespace zelto {

class ScreenFader {
public:
    static constexpr int kLevels = 32;
    // Entries of a channel table: every value of a channel of at most six bits.
    static constexpr int kChannelEntries = 64;

    // One level's tables: a channel's value (its field shifted down) to the scaled value in
    // its place in the pixel.
    struct ChannelTables {
        std::array<std::uint16_t, kChannelEntries> red{};
        std::array<std::uint16_t, kChannelEntries> green{};
        std::array<std::uint16_t, kChannelEntries> blue{};
    };

    // Clears the screen's front and back buffers and builds the tables from the front
    // buffer's pixel format. A screen without a front buffer, or one whose pixels are not 15-
    // or 16-bit colour, gets tables that map every value to 0, and its fades do nothing.
    explicit ScreenFader(cdx::CDXScreen* screen);
    ScreenFader(const ScreenFader&) = delete;
    ScreenFader& operator=(const ScreenFader&) = delete;

    // Turns the visible picture `from` into `to` in 32 steps; the game passes the screen's
    // front and back buffers.
    void CrossFade(cdx::CDXSurface* from, cdx::CDXSurface* to);
    // Fades the whole screen to black.
    void FadeOut();
    // Fades the rectangle to black in 30 steps; right and bottom are inclusive.
    void FadeOutRect(const platform::RECT& rect);

    // Level `level` (0 black .. 31 unchanged) applied to one pixel value. Red is the top field
    // and taken without a mask (at 5-5-5 it includes bit 15); blue sits at bit 0.
    std::uint16_t Brightness(int level, std::uint16_t value) const {
        return Faded(Tables[static_cast<std::size_t>(level)], value);
    }
    // One cross-fade step over width x height pixels: work = table step (newer) + table
    // 31 - step (older).
    void MixStep(int step, cdx::FadePicture older, cdx::FadePicture newer, cdx::FadePicture work,
                 int width, int height) const;
    // One fade-out step: the pixels of work inside area (right and bottom exclusive, within
    // the picture) become table level of the same pixels of source; the rest keep theirs.
    void DarkenStep(int level, cdx::FadePicture source, cdx::FadePicture work,
                    const platform::RECT& area) const;

    cdx::CDXScreen* Screen = nullptr;
    std::uint32_t RedShift = 0;
    std::uint32_t GreenShift = 0;
    std::uint32_t GreenMask = 0;  // in pixel position
    std::uint32_t BlueMask = 0;
    std::array<ChannelTables, kLevels> Tables{};
    // The same levels as the fade walks' multipliers, and the channel fields they work on.
    std::array<std::uint32_t, kLevels> Multipliers{};
    cdx::FadeFields Fields;
    // Whether the passes run the fade walks: when a multiplier gives every level's tables
    // exactly. Otherwise, and when the tests clear it, they walk the tables pixel by pixel.
    bool WalkByMultipliers = false;

private:
    void BuildTables();
    // The multiplier of each level that gives all three of its tables exactly; false when a
    // level has none.
    bool BuildMultipliers();
    // The index masks keep every look-up inside the tables whatever the layout; at 5-5-5 and
    // 5-6-5 they change no index.
    std::uint16_t Faded(const ChannelTables& tables, std::uint16_t value) const {
        constexpr std::uint32_t kIndex = kChannelEntries - 1;
        return static_cast<std::uint16_t>(
            tables.red[(value >> RedShift) & kIndex] |
            tables.green[((value & GreenMask) >> GreenShift) & kIndex] |
            tables.blue[value & BlueMask & kIndex]);
    }
    // The cross-fade's steps over the three locked copies, shown one by one; false, with
    // nothing shown, when a copy cannot be locked as a picture.
    bool ShowCrossFadeSteps(cdx::CDXSurface& older, cdx::CDXSurface& newer, cdx::CDXSurface& work,
                            int width, int height);
    // Copies width x height pixels of work into the front buffer, locked for just that copy
    // so that its unlock shows the step.
    void ShowStep(cdx::FadePicture work, int width, int height);
};

}  // namespace zelto
