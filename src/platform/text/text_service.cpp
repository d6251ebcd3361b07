// SPDX-License-Identifier: MIT
#include "platform/text/text_service.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/display/display_palette.h"
#include "platform/display/display_surface.h"
#include "platform/display/nearest_palette.h"
#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"
#include "platform/host/regular_file.h"
#include "platform/host/threads.h"
#include "platform/host/window.h"
#include "platform/text/font_files.h"

namespace platform {

// A font handle: a face at one size, shared by every handle made with the same request.
struct Font {
    std::shared_ptr<struct FontFace> face;
};

// One horizontal run of inked pixels of a glyph.
struct InkRun {
    std::int16_t row = 0;
    std::int16_t first = 0;
    std::int16_t end = 0;  // one past the last inked column
};

struct Glyph {
    bool rendered = false;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<InkRun> runs;  // row by row, left to right
};

// A face opened at the size whose cell height is the one asked for. Each glyph of the 8-bit
// character set is rendered once, the first time text uses it: text drawn every frame only
// copies masks, and a face costs only the glyphs the program writes.
struct FontFace {
    FontFace() = default;
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;
    ~FontFace() {
        // A program that quit the font engine has taken its faces with it.
        if (font != nullptr && TTF_WasInit() != 0) TTF_CloseFont(font);
    }

    std::string family;
    int cellHeight = 0;
    TTF_Font* font = nullptr;  // hinted for monochrome rendering
    std::array<Glyph, 256> glyphs;
};

namespace {

// Face names the program asks for that no system has under that name, and the family that
// stands for each.
constexpr FaceAlias kFaceAliases[] = {{"Script", "Dancing Script"}};

constexpr const char* kDefaultFamily = "DejaVu Sans";
// The context's default font: a plain sans about the size of the classic system font.
constexpr int kDefaultFontHeight = 16;

int liveFonts = 0;

// Starts the font engine and the font search (whose first start may read every configuration
// file and font cache of the system), once per process: the first caller does the work and
// any other waits for it.
bool Initialise() {
    static const bool ready = [] {
        if (TTF_WasInit() == 0 && TTF_Init() != 0) return false;
        return StartFontSearch(kFaceAliases);
    }();
    return ready;
}

// The font search answers every name with some family; only the one asked for (or its alias)
// counts as found.
bool IsTheFaceAskedFor(const char* face, const std::string& family) {
    if (strcasecmp(face, family.c_str()) == 0) return true;
    for (const FaceAlias& alias : kFaceAliases) {
        if (strcasecmp(face, alias.asked) == 0 && strcasecmp(family.c_str(), alias.family) == 0) {
            return true;
        }
    }
    return false;
}

// The font file at path at one point size, or null. Only a regular file is opened: a FIFO
// would hold the open until a writer came, and a folder or a device is no font.
TTF_Font* OpenFontFile(const std::string& path, int size) {
    FileHandle file = OpenRegularFile(path.c_str());
    if (!file) return nullptr;
    SDL_RWops* stream = SDL_RWFromFP(file.get(), SDL_TRUE);
    if (stream == nullptr) return nullptr;
    // The stream closes the file from now on; the font closes the stream, or the open does when
    // it fails.
    file.release();
    return TTF_OpenFontRW(stream, 1, size);
}

TTF_Font* OpenAtCellHeight(const std::string& path, int height) {
    // Cell height grows with the point size; start near the usual ratio and walk to the
    // largest size whose cell is not taller than asked.
    int size = std::max(1, height * 5 / 6);
    TTF_Font* best = nullptr;
    for (int step = 0; step < 64; ++step) {
        TTF_Font* font = OpenFontFile(path, size);
        if (font == nullptr) break;
        const int cell = TTF_FontHeight(font);
        if (cell <= height) {
            if (best != nullptr) TTF_CloseFont(best);
            best = font;
            if (cell == height) break;
            ++size;
        } else {
            TTF_CloseFont(font);
            if (best != nullptr || size <= 1) break;
            --size;
        }
    }
    return best;
}

// Glyphs below the space stay empty: they advance nothing and ink nothing.
constexpr int kFirstRenderedCode = 32;

void RenderGlyph(TTF_Font* font, int code, Glyph& glyph) {
    const SDL_Color ink{255, 255, 255, 255};
    int minX, maxX, minY, maxY, advance;
    if (TTF_GlyphMetrics32(font, static_cast<Uint32>(code), &minX, &maxX, &minY, &maxY, &advance) !=
        0) {
        return;
    }
    glyph.advance = advance;
    SDL_Surface* rendered = TTF_RenderGlyph32_Solid(font, static_cast<Uint32>(code), ink);
    if (rendered == nullptr) return;
    glyph.width = rendered->w;
    glyph.height = rendered->h;
    SDL_LockSurface(rendered);
    for (int y = 0; y < glyph.height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(rendered->pixels) + y * rendered->pitch;
        for (int x = 0; x < glyph.width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < glyph.width && row[x] != 0) ++x;
            glyph.runs.push_back(InkRun{static_cast<std::int16_t>(y),
                                        static_cast<std::int16_t>(first),
                                        static_cast<std::int16_t>(x)});
        }
    }
    SDL_UnlockSurface(rendered);
    SDL_FreeSurface(rendered);
}

// The glyph of character code, rendered now if text has not used it before.
const Glyph& GlyphOf(FontFace& face, unsigned char code) {
    Glyph& glyph = face.glyphs[code];
    if (!glyph.rendered) {
        glyph.rendered = true;
        if (code >= kFirstRenderedCode) RenderGlyph(face.font, code, glyph);
    }
    return glyph;
}

std::shared_ptr<FontFace> LoadFace(const std::string& path, const std::string& family, int height) {
    TTF_Font* font = OpenAtCellHeight(path, height);
    if (font == nullptr) return nullptr;
    std::shared_ptr<FontFace> face;
    try {
        face = std::make_shared<FontFace>();
    } catch (const std::bad_alloc&) {
        TTF_CloseFont(font);
        return nullptr;
    }
    face->family = family;
    face->cellHeight = TTF_FontHeight(font);
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    face->font = font;
    return face;
}

std::shared_ptr<FontFace> FaceFor(const char* name, int height, int weight) {
    using Key = std::tuple<std::string, int, int>;
    static std::map<Key, std::shared_ptr<FontFace>> cache;
    const bool bold = weight >= 600;
    const Key key{name != nullptr ? name : "", height, bold ? 700 : 400};
    if (auto found = cache.find(key); found != cache.end()) return found->second;
    if (!Initialise()) return nullptr;

    FontFile matched;
    std::shared_ptr<FontFace> face;
    if (name != nullptr && FindFontFile(name, weight, matched) &&
        IsTheFaceAskedFor(name, matched.family)) {
        face = LoadFace(matched.path, matched.family, height);
    } else {
        const std::string note = std::string("text: no face \"") + (name ? name : "") +
                                 "\" on this system, using " + kDefaultFamily + "\n";
        OutputDebugString(note.c_str());
    }
    if (!face && FindFontFile(kDefaultFamily, weight, matched)) {
        face = LoadFace(matched.path, matched.family, height);
    }
    if (face) cache[key] = face;
    return face;
}

FontFace* DefaultFace() {
    static std::shared_ptr<FontFace> face;
    if (!face) face = FaceFor(kDefaultFamily, kDefaultFontHeight, FW_NORMAL);
    return face.get();
}

std::uint32_t ChannelBits(std::uint8_t component, DWORD mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    int bits = 0;
    while (((mask >> (shift + bits)) & 1u) != 0 && shift + bits < 32) ++bits;
    const std::uint32_t value =
        bits >= 8 ? component : static_cast<std::uint32_t>(component) >> (8 - bits);
    return (value << shift) & mask;
}

std::uint32_t PixelOfColour(const DisplaySurface& surface, COLORREF colour) {
    const auto red = static_cast<std::uint8_t>(colour & 0xFF);
    const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    const DDPIXELFORMAT& format = surface.format();
    if (format.dwRGBBitCount <= 8) {
        const DisplayPalette* palette = surface.effectivePalette();
        if (palette == nullptr) return 0;
        return NearestPaletteIndex(palette->Entries(), red, green, blue);
    }
    return ChannelBits(red, format.dwRBitMask) | ChannelBits(green, format.dwGBitMask) |
           ChannelBits(blue, format.dwBBitMask);
}

}  // namespace

void StartTextServiceEarly() {
    if (!kThreadsAvailable) return;
    // Joined when the program's statics end, so no thread outlives the program.
    struct JoinedAtEnd {
        std::thread thread;
        ~JoinedAtEnd() {
            if (thread.joinable()) thread.join();
        }
    };
    try {
        static JoinedAtEnd starter{std::thread([] { Initialise(); })};
    } catch (const std::system_error&) {
        // Without a thread of its own the service starts with the first text call.
    }
}

HFONT CreateFont(int height, int, int, int, int weight, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                 DWORD, DWORD, const char* face) {
    if (height < 0) height = -height;
    if (height == 0) height = kDefaultFontHeight;
    // Taller than any screen: refused rather than rendered.
    if (height > 1024) return nullptr;
    auto loaded = FaceFor(face, height, weight);
    if (!loaded) return nullptr;
    ++liveFonts;
    return new Font{std::move(loaded)};
}

BOOL DeleteObject(HFONT font) {
    if (font == nullptr) return 0;
    --liveFonts;
    delete font;
    return 1;
}

HFONT SelectObject(HDC context, HFONT font) {
    if (context == nullptr) return nullptr;
    HFONT previous = context->font;
    context->font = font;
    return previous;
}

int SetBkMode(HDC context, int mode) {
    if (context == nullptr) return 0;
    const int previous = context->backgroundMode;
    context->backgroundMode = mode;
    return previous;
}

COLORREF SetTextColor(HDC context, COLORREF colour) {
    if (context == nullptr) return 0xFFFFFFFF;
    const COLORREF previous = context->textColour;
    context->textColour = colour;
    return previous;
}

namespace {

// Writes the glyphs' runs, each clipped to the surface, with pixels of one size.
template <typename Pixel>
void InkRuns(DisplaySurface& surface, FontFace& face, int x, int y, const char* text, int length,
             Pixel pixel) {
    const int width = surface.width();
    const int height = surface.height();
    int penX = x;
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = GlyphOf(face, static_cast<unsigned char>(text[i]));
        if (penX < width && penX + glyph.width > 0 && y < height && y + glyph.height > 0) {
            for (const InkRun& run : glyph.runs) {
                const int row = y + run.row;
                if (row < 0 || row >= height) continue;
                const int first = std::max(penX + run.first, 0);
                const int end = std::min(penX + run.end, width);
                // Rows may start at any byte: pixels are stored through memcpy.
                std::uint8_t* line =
                    surface.pixels() + static_cast<std::ptrdiff_t>(row) * surface.pitch();
                for (int column = first; column < end; ++column) {
                    std::memcpy(line + column * sizeof(Pixel), &pixel, sizeof(Pixel));
                }
            }
        }
        penX += glyph.advance;
    }
}

struct Pixel24 {
    std::uint8_t bytes[3];
};

}  // namespace

BOOL TextOut(HDC context, int x, int y, const char* text, int length) {
    if (context == nullptr || context->surface == nullptr || text == nullptr || length < 0)
        return 0;
    FontFace* face = context->font != nullptr ? context->font->face.get() : DefaultFace();
    if (face == nullptr) return 0;
    DisplaySurface& surface = *context->surface;
    FaultsOf(CurrentHost())
        .NoteTextDrawn(TextDrawing{surface.isPrimary(), x, y, context->textColour, text, length});
    const std::uint32_t pixel = PixelOfColour(surface, context->textColour);
    // Text is drawn with a transparent background whatever the mode: only inked pixels change.
    switch (surface.bytesPerPixel()) {
        case 1:
            InkRuns(surface, *face, x, y, text, length, static_cast<std::uint8_t>(pixel));
            break;
        case 2:
            InkRuns(surface, *face, x, y, text, length, static_cast<std::uint16_t>(pixel));
            break;
        case 3:
            InkRuns(
                surface, *face, x, y, text, length,
                Pixel24{{static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
                         static_cast<std::uint8_t>(pixel >> 16)}});
            break;
        default:
            InkRuns(surface, *face, x, y, text, length, pixel);
            break;
    }
    return 1;
}

BOOL GetTextExtentPoint32(HDC context, const char* text, int length, POINT* size) {
    if (context == nullptr || text == nullptr || length < 0 || size == nullptr) return 0;
    FontFace* face = context->font != nullptr ? context->font->face.get() : DefaultFace();
    if (face == nullptr) return 0;
    int width = 0;
    for (int i = 0; i < length; ++i) {
        width += GlyphOf(*face, static_cast<unsigned char>(text[i])).advance;
    }
    *size = POINT{width, face->cellHeight};
    return 1;
}

const char* MatchedFamily(HFONT font) {
    return font != nullptr ? font->face->family.c_str() : DefaultFace()->family.c_str();
}

int LiveFontCount() {
    return liveFonts;
}

int FontCellHeight(HFONT font) {
    return font != nullptr ? font->face->cellHeight : DefaultFace()->cellHeight;
}

}  // namespace platform
