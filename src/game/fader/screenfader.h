#pragma once

// ScreenFader: the game's screen transitions in software on 15- and 16-bit pixels, by table
// look-up. Thirty-two brightness tables, built once, map every pixel value to the same colour
// scaled by one of 32 fixed factors, so a fade step is one or two look-ups per pixel. Every
// step is written into the screen's front buffer, which shows it at the next refresh; a fade
// runs to its end before it returns.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cdxscreen.h"
#include "win_types.h"

namespace zelto {

// A locked picture of 16-bit pixels: its first pixel and the bytes from one row to the next.
struct FaderPicture {
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t pitch = 0;
};

class ScreenFader {
public:
    static constexpr int kLevels = 32;

    // Clears the screen's front and back buffers and builds the tables from the front
    // buffer's pixel format. A screen without a front buffer gets tables that map every value
    // to 0, and its fades do nothing.
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

    // Table `level` (0 black .. 31 unchanged) applied to one pixel value.
    std::uint16_t Brightness(int level, std::uint16_t value) const {
        return BrightnessTables[static_cast<std::size_t>(level) * 65536 + value];
    }
    // One cross-fade step over width x height pixels: work = table step (newer) + table
    // 31 - step (older).
    void MixStep(int step, FaderPicture older, FaderPicture newer, FaderPicture work, int width,
                 int height) const;
    // One fade-out step: the pixels of work inside area (right and bottom exclusive, within
    // the picture) become table level of the same pixels of source; the rest keep theirs.
    void DarkenStep(int level, FaderPicture source, FaderPicture work,
                    const platform::RECT& area) const;

    cdx::CDXScreen* Screen = nullptr;
    std::uint32_t RedShift = 0;
    std::uint32_t GreenShift = 0;
    std::uint32_t GreenMask = 0;  // in pixel position
    std::uint32_t BlueMask = 0;
    // kLevels tables of 65536 entries, table L at L x 65536.
    std::vector<std::uint16_t> BrightnessTables;

private:
    void BuildTables();
    // Copies width x height pixels of work into the front buffer, locked for just that copy
    // so that its unlock shows the step.
    void ShowStep(FaderPicture work, int width, int height);
};

}  // namespace zelto
