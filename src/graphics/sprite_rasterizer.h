// Draws a sprite quad onto a 32-bit surface: screen-space quads with pixel
// centres on integer coordinates, the top-left fill rule, point sampling of the
// texture, the colour key (never drawn, compared in the 5-6-5 space), the tint
// and one of four blends. Everything in integers or IEEE doubles, so the same
// input gives the same pixels on every machine.
#pragma once

#include <cstdint>

#include "graphics/sprite_quad.h"
#include "graphics/surface.h"

namespace vdx {

// How a drawn texel meets what is below ("source" is the texel times the tint).
enum class SpriteBlend {
  Alpha,           // source x alpha + destination x (1 - alpha); every mode but 1, 2 and 3
  Additive,        // 1: source + destination
  Black,           // 2: every drawn texel becomes black
  ColourWeighted,  // 3: source x source + destination x (1 - source)
};

SpriteBlend SpriteBlendOf(std::int16_t blendMode);

// Which implementation runs the inner loops: the widest the processor has, or
// one named (tests compare each with the scalar reference; AVX-512 falls back
// to AVX2, and AVX2 to SSE2, where the processor lacks it).
enum class RasterPath { Best, Scalar, Sse2, Avx2, Avx512 };

void RasterizeQuad(Surface& target, const Surface& texture, const SpriteQuad& quad,
                   SpriteBlend blend, RasterPath path = RasterPath::Best);

}  // namespace vdx
