// DrawSprite: every textured picture of a frame goes through it. It draws one
// piece of a surface onto the back buffer as a quad, with the surface's colour
// key, scaling, rotation, mirroring, tint, opacity and one of four blends.
#pragma once

#include <cstdint>

#include "graphics/sprite_quad.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

// The sixteen arguments of a draw. DrawSprite writes back DestWidth and
// DestHeight (0 becomes the source size) and Red, Green, Blue (all three 0
// become 255: no tint).
struct SpriteArgs {
  float X = 0, Y = 0;                          // top-left of the drawn picture, pixels
  std::int16_t Width = 0, Height = 0;          // size of the source piece, texels
  float Alpha = 1;                             // opacity 0..1
  std::int16_t DestWidth = 0, DestHeight = 0;  // drawn size; 0: the source size
  float Angle = 0;                     // radians; 0 not turned, pi/2 upright, 4.71 upside down
  float Red = 1, Green = 1, Blue = 1;  // tint 0..1
  std::int16_t BlendMode = 0;          // 1 additive, 2 black, 3 colour-weighted, else alpha
  float SrcX = 0, SrcY = 0;            // top-left of the piece in the surface
  std::int16_t Flip = 0;               // non-zero: mirrored left to right
};

// A plain draw of a w x h piece at (x, y), drawn at dw x dh (0: its own size).
inline SpriteArgs SpriteAt(float x, float y, int w, int h, int dw = 0, int dh = 0) {
  SpriteArgs a;
  a.X = x;
  a.Y = y;
  a.Width = static_cast<std::int16_t>(w);
  a.Height = static_cast<std::int16_t>(h);
  a.DestWidth = static_cast<std::int16_t>(dw);
  a.DestHeight = static_cast<std::int16_t>(dh);
  return a;
}

void DrawSprite(Surface& target, const Surface& surface, SpriteArgs& args,
                RasterPath path = RasterPath::Best);

// The same with the arguments one by one, in their order.
void DrawSprite(Surface& target, const Surface& surface, float& X, float& Y, std::int16_t& Width,
                std::int16_t& Height, float& Alpha, std::int16_t& DestWidth,
                std::int16_t& DestHeight, float& Angle, float& Red, float& Green, float& Blue,
                std::int16_t& BlendMode, float& SrcX, float& SrcY, std::int16_t& Flip);

// The rectangles a draw uses, for the tests and the collision code.
SpriteRect SourceRect(const SpriteArgs& args);
SpriteRect DestinationRect(const SpriteArgs& args);

}  // namespace vdx
