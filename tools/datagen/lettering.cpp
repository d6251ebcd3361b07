// SPDX-License-Identifier: MIT
#include "lettering.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>
#include <string_view>

namespace datagen {
namespace {

std::string FamilyOf(std::string_view pattern) {
    return std::string(pattern.substr(0, pattern.find(':')));
}

// The font file for a fontconfig pattern, insisting that the match is of the asked family.
std::string FindFontFile(const std::string& pattern) {
    if (!FcInit()) throw std::runtime_error("fontconfig could not be initialised");
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> query(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str())), FcPatternDestroy);
    if (!query) throw std::runtime_error("bad font pattern: " + pattern);
    FcConfigSubstitute(nullptr, query.get(), FcMatchPattern);
    FcDefaultSubstitute(query.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
        FcFontMatch(nullptr, query.get(), &result), FcPatternDestroy);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FamilyOf(pattern) != reinterpret_cast<const char*>(family)) {
        throw std::runtime_error("font not installed: " + FamilyOf(pattern) +
                                 " (install fonts-dejavu-core and fonts-dancingscript)");
    }
    return reinterpret_cast<const char*>(file);
}

}  // namespace

TextMask RenderText(const std::string& fontPattern, int pixelHeight, const std::string& text) {
    if (!TTF_WasInit() && TTF_Init() != 0) {
        throw std::runtime_error(std::string("SDL_ttf could not start: ") + TTF_GetError());
    }
    const std::string file = FindFontFile(fontPattern);
    std::unique_ptr<TTF_Font, decltype(&TTF_CloseFont)> font(
        TTF_OpenFont(file.c_str(), pixelHeight), TTF_CloseFont);
    if (!font) throw std::runtime_error("cannot open font " + file + ": " + TTF_GetError());
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> rendered(
        TTF_RenderUTF8_Blended(font.get(), text.c_str(), SDL_Color{255, 255, 255, 255}),
        SDL_FreeSurface);
    if (!rendered) throw std::runtime_error("cannot render text: " + std::string(TTF_GetError()));
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> argb(
        SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0), SDL_FreeSurface);
    if (!argb) throw std::runtime_error("cannot convert text: " + std::string(SDL_GetError()));

    TextMask mask{argb->w, argb->h, {}};
    mask.coverage.reserve(static_cast<std::size_t>(mask.width) * mask.height);
    if (SDL_MUSTLOCK(argb.get())) SDL_LockSurface(argb.get());
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                          y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) mask.coverage.push_back((row[x] >> 24) / 255.0);
    }
    if (SDL_MUSTLOCK(argb.get())) SDL_UnlockSurface(argb.get());
    return mask;
}

TextMask Dilate(const TextMask& mask, int radius) {
    TextMask grown{mask.width + 2 * radius, mask.height + 2 * radius, {}};
    grown.coverage.assign(static_cast<std::size_t>(grown.width) * grown.height, 0.0);
    for (int y = 0; y < grown.height; ++y) {
        for (int x = 0; x < grown.width; ++x) {
            double best = 0.0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy > radius * radius) continue;
                    const double v = mask.At(x - radius + dx, y - radius + dy);
                    if (v > best) best = v;
                }
            }
            grown.coverage[static_cast<std::size_t>(y) * grown.width + x] = best;
        }
    }
    return grown;
}

void DrawMask(Canvas& canvas, const TextMask& mask, int left, int top, const Shader& shader,
              double opacity) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const double coverage = mask.At(x, y);
            if (coverage <= 0.0) continue;
            canvas.Blend(left + x, top + y, shader(left + x + 0.5, top + y + 0.5),
                         coverage * opacity);
        }
    }
}

}  // namespace datagen
