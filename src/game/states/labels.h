// SPDX-License-Identifier: MIT
#pragma once

// Labels written over the picture in the large script face, white over a shadow: "Paused"
// while play is held, and the sound's state ("Sound off", "Sound on") for about a second after
// M, in play under "Paused" in the map view, elsewhere where the screen's own lines leave room.
//
// Over a picture the next frame draws afresh the sound label goes onto the back buffer. The
// screens that write onto the front buffer instead (the pause, the instruction screen) keep
// their picture: there the label is written over it, and taken away again by putting back the
// pixels it covered, kept before it was first written.

#include <cstdint>

#include "cdx/surface/cdxsurface.h"
#include "game/screen/screen_measures.h"
#include "game/world/world.h"

namespace zelto {

// The labels' cell height, and where "Paused" stands: in the middle of the map view.
inline constexpr std::int32_t kLabelHeight = 40;
inline constexpr std::int32_t kPausedLabelCentreX = kMapViewWidth / 2;
inline constexpr std::int32_t kPausedLabelTop = (kMapViewHeight - kLabelHeight) / 2;

// Selects the labels' face into the surface's held context.
void SelectLabelFont(cdx::CDXSurface& surface);
// Draws text white in the held context's font with its cell's top at top and its middle at
// centreX, over a black shadow.
void DrawCentred(cdx::CDXSurface& surface, const char* text, std::int32_t centreX,
                 std::int32_t top);

// M changed the sound: its new state shows from the next picture on.
void ShowSoundState(Game& game);
// A frame whose back buffer will be shown: the sound label goes over its picture while its
// time lasts.
void DrawSoundLabelOnBack(Game& game, cdx::CDXSurface& back);
// A frame that writes onto the front buffer, before it takes the context: a label whose time
// is up, or whose text changed, is taken away, and the pixels a label to come will cover are
// kept.
void PrepareSoundLabelOnFront(Game& game, cdx::CDXSurface& front);
// The same frame, within the front's held context: the label is written while its time lasts.
void DrawSoundLabelOnFront(Game& game, cdx::CDXSurface& front);
// The front buffer has a whole new picture (a cross-fade ended): no label is on it.
void ForgetSoundLabelOnFront(Game& game);

}  // namespace zelto
