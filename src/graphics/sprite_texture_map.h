// Where a sprite quad's pixels take their texels: the map from a screen
// position to texture coordinates, worked out in IEEE doubles so that every
// machine and every path finds the same texels.
#pragma once

#include <cstdint>

#include "graphics/sprite_span.h"

namespace vdx {

// The map from three corners of the quad:
// p = P1 + a (P3 - P1) + b (P0 - P1), u = uLeft + a (uRight - uLeft), v likewise.
struct TextureMap {
  double x1, y1, eux, euy, evx, evy, det, inverseDet;
  double u0, du, v0, dv;
  double texW, texH;

  double a(double x, double y) const { return ((x - x1) * evy - (y - y1) * evx) * inverseDet; }
  double b(double x, double y) const { return (eux * (y - y1) - euy * (x - x1)) * inverseDet; }
};

// Coordinates past the texture's edge take its edge texel. (The sprite's
// coordinates run a little past 1 at its far side when it is drawn larger than
// its piece; wrapping round would paint a column of the opposite edge there.)
inline int TexelIndex(double coordinate, double size, int n) {
  const double t = coordinate * size;
  if (!(t > 0)) return 0;                       // below the edge (or not a number)
  return t >= n ? n - 1 : static_cast<int>(t);  // truncation is the floor here
}

// The texel column of pixels x = first, first + 1, ... on the quad's top
// edge, and the texel row (times the texture's width) of pixels y = first, ...
// on its left edge: the only coordinates a quad whose edges run along the axes
// needs. `vector` lets the AVX2 version work them out, four at a time in the
// same arithmetic (the caller checks HasAvx2()).
void TexelColumns(std::int32_t* out, int n, std::int64_t first, const TextureMap& map, int width,
                  bool vector);
void TexelRows(std::int32_t* out, int n, std::int64_t first, const TextureMap& map, int width,
               int height, bool vector);

// The texture position of the first pixel of each turned row (row.first on
// row.y), in texels as 16.16 fixed point, held to +-2e9.
void TurnedRowStarts(TurnedRow* rows, int count, const TextureMap& map, bool vector);

}  // namespace vdx
