// The four corners of a sprite as a screen-space quad: positions (after the
// rotation convention), the tint and the texture coordinates of each corner.
#pragma once

#include <array>
#include <cstdint>

#include "graphics/surface.h"

namespace vdx {

// A rectangle whose right and bottom are inclusive (the last texel or pixel).
struct SpriteRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A transformed-and-lit vertex: screen position, depth, reciprocal w, colours
// (0xAARRGGBB) and texture coordinates.
struct SpriteVertex {
  float x = 0, y = 0, z = 0, rhw = 0;
  std::uint32_t diffuse = 0, specular = 0;
  float u = 0, v = 0;
};

using SpriteQuad = std::array<SpriteVertex, 4>;  // in triangle-strip order

// The diffuse colour of a sprite: each of red, green, blue, alpha clamped to
// 0..1 and scaled to a byte.
std::uint32_t DiffuseColour(float red, float green, float blue, float alpha);

// Fills the quad of source rectangle S drawn to D, turned by `angle` in the
// sprite convention (0: not turned; pi/2: upright too; 4.71: upside down).
void BuildSpriteQuad(SpriteQuad& quad, const Surface& surface, const SpriteRect& s,
                     const SpriteRect& d, float red, float green, float blue, float alpha,
                     float angle);
// The same, mirrored left to right.
void BuildMirroredSpriteQuad(SpriteQuad& quad, const Surface& surface, const SpriteRect& s,
                             const SpriteRect& d, float red, float green, float blue, float alpha,
                             float angle);

}  // namespace vdx
