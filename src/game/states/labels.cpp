// SPDX-License-Identifier: MIT
#include "game/states/labels.h"

#include <algorithm>
#include <vector>

#include "game/world/world.h"

using namespace cdx;
using namespace platform;

namespace zelto {

namespace {

// Window-system colours, 0x00BBGGRR.
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::int32_t kShadowOffset = 2;
// The sound's state stays shown this many frames after M: about a second.
constexpr std::int32_t kSoundLabelFrames = 60;
// The pixels kept under a label reach this far beside its middle and below its cell, so that
// the script's flourishes beyond its advance are taken away with it.
constexpr std::int32_t kKeptHalfWidth = 100;
constexpr std::int32_t kKeptMargin = 6;

struct LabelPlace {
    std::int32_t centreX;
    std::int32_t top;
};

// In play (the instruction screen, play, the pause, the death sequence) in the map view under
// "Paused"; on the intro between the credits' plate and the prompt; on the Game Over screen
// above "Game Over!".
LabelPlace SoundLabelPlace(const Game& game) {
    switch (game.Status->State) {
        case Intro:
            return {kScreenWidth / 2, 330};
        case GameOver:
            return {kScreenWidth / 2, 60};
        default:
            return {kMapViewWidth / 2, kPausedLabelTop + kLabelHeight + 10};
    }
}

const char* SoundStateText(const Game& game) {
    return game.Options.muted ? "Sound off" : "Sound on";
}

RECT KeptAreaOf(LabelPlace place, const CDXSurface& surface) {
    return RECT{std::max(place.centreX - kKeptHalfWidth, 0), std::max(place.top - kKeptMargin, 0),
                std::min(place.centreX + kKeptHalfWidth, surface.PixelWidth),
                std::min(place.top + kLabelHeight + kKeptMargin, surface.PixelHeight)};
}

void KeepPixels(FrontLabel& label, CDXSurface& surface, const RECT& area) {
    std::vector<std::uint32_t>& keptPixels = label.keptPixels;
    keptPixels.clear();
    label.keptArea = area;
    if (surface.Lock() != DD_OK) return;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        for (std::int32_t x = area.left; x < area.right; ++x) {
            keptPixels.push_back(surface.GetPixel(x, y));
        }
    }
    surface.Unlock();
}

void PutPixelsBack(const FrontLabel& label, CDXSurface& surface) {
    const RECT& keptArea = label.keptArea;
    const std::vector<std::uint32_t>& keptPixels = label.keptPixels;
    const auto count = static_cast<std::size_t>(keptArea.right - keptArea.left) *
                       static_cast<std::size_t>(keptArea.bottom - keptArea.top);
    if (keptPixels.empty() || keptPixels.size() != count) return;
    if (surface.Lock() != DD_OK) return;
    auto pixel = keptPixels.begin();
    for (std::int32_t y = keptArea.top; y < keptArea.bottom; ++y) {
        for (std::int32_t x = keptArea.left; x < keptArea.right; ++x) {
            surface.PutPixel(x, y, *pixel++);
        }
    }
    surface.Unlock();
}

// Writes the sound label within the surface's held context and counts its time down; the text
// written, or null when its time is up.
const char* WriteSoundLabel(Game& game, CDXSurface& surface) {
    if (!game.Status || game.Status->SoundLabelFrames <= 0) return nullptr;
    --game.Status->SoundLabelFrames;
    const char* text = SoundStateText(game);
    const LabelPlace place = SoundLabelPlace(game);
    SelectLabelFont(surface);
    DrawCentred(surface, text, place.centreX, place.top);
    return text;
}

}  // namespace

void SelectLabelFont(CDXSurface& surface) {
    surface.MakeFont("Script", 0, kLabelHeight, 700);
    surface.SelectFont();
}

void DrawCentred(CDXSurface& surface, const char* text, std::int32_t centreX, std::int32_t top) {
    const std::int32_t left = centreX - surface.TextWidth(text) / 2;
    // A black shadow below and to the right keeps the white letters apart from a light picture.
    surface.DrawString(left + kShadowOffset, top + kShadowOffset, kBlack, text);
    surface.DrawString(left, top, kWhite, text);
}

void ShowSoundState(Game& game) {
    if (game.Status) game.Status->SoundLabelFrames = kSoundLabelFrames;
}

void DrawSoundLabelOnBack(Game& game, CDXSurface& back) {
    // The flip brings this picture to the front.
    game.SoundLabelOnFront.text = nullptr;
    if (!game.Status || game.Status->SoundLabelFrames <= 0) return;
    // A pause may follow, which writes over this picture on the front: the pixels under the
    // label are kept for it.
    KeepPixels(game.SoundLabelOnFront, back, KeptAreaOf(SoundLabelPlace(game), back));
    if (back.GetDC() == nullptr) return;
    game.SoundLabelOnFront.text = WriteSoundLabel(game, back);
    back.ReleaseDC();
}

void PrepareSoundLabelOnFront(Game& game, CDXSurface& front) {
    const char* wanted =
        game.Status && game.Status->SoundLabelFrames > 0 ? SoundStateText(game) : nullptr;
    if (game.SoundLabelOnFront.text != nullptr && game.SoundLabelOnFront.text != wanted) {
        PutPixelsBack(game.SoundLabelOnFront, front);
        game.SoundLabelOnFront.text = nullptr;
    }
    if (wanted != nullptr && game.SoundLabelOnFront.text == nullptr) {
        KeepPixels(game.SoundLabelOnFront, front, KeptAreaOf(SoundLabelPlace(game), front));
    }
}

void DrawSoundLabelOnFront(Game& game, CDXSurface& front) {
    if (const char* text = WriteSoundLabel(game, front)) game.SoundLabelOnFront.text = text;
}

void ForgetSoundLabelOnFront(Game& game) {
    game.SoundLabelOnFront.text = nullptr;
}

}  // namespace zelto
