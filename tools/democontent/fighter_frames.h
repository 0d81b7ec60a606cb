// The frames of a fighter's actions, as pictures.
#pragma once

#include <string>

#include "moves.h"
#include "raster.h"
#include "roster.h"

namespace democontent {

inline constexpr int kGrabFrameWidth = 364;

// Frame k (0-based) of an action; a throw needs its victim.
Image RenderActionFrame(const Character& character, const ActionSpec& action, int k,
                        const Character* victim = nullptr);

// The select screens' portrait tiles. The game draws them at (20, 160) and
// (440, 160), "SELECT CHARACTER" from (200, 160) and each player's "SELECTED"
// 30 pixels into the tile at y 240, all at fixed places. So a tile keeps a
// transparent (black) margin at both sides, which puts the pictures 30 pixels
// from either edge of the screen and clear of the heading, and keeps a plain
// band where "SELECTED" lands, between the name above and the face below.
inline constexpr int kPortraitWidth = 180;
inline constexpr int kPortraitHeight = 240;
inline constexpr int kPortraitMargin = 10;   // transparent columns at each side
inline constexpr int kPortraitBandTop = 70;  // the band for "SELECTED" (rows)
inline constexpr int kPortraitBandBottom = 108;

// Paints a tile's common parts over `out` (kPortraitWidth x kPortraitHeight):
// the margins, the name at the top, the band and the edge in `edge`.
void PortraitFrame(Image& out, const Font& font, const std::string& name, Rgb nameColour, Rgb edge);

// The character's portrait for the select screens.
Image RenderPortrait(const Character& character, const Font& font);

}  // namespace democontent
