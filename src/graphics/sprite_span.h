// The inner loop of the sprite renderer: one row of pixels, each taking the
// texel at its column, tinted, keyed and blended. A plain scalar version is the
// reference; vector versions must give the same pixels.
#pragma once

#include <cstdint>

#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

struct SpanShading {
  bool keyed = false;
  std::uint16_t key565 = 0;  // texels of this 5-6-5 value are not drawn
  std::uint32_t red = 255, green = 255, blue = 255, alpha = 255;  // tint and opacity, 0..255
  SpriteBlend blend = SpriteBlend::Alpha;
};

SpanShading MakeSpanShading(const Surface& texture, std::uint32_t diffuse, SpriteBlend blend);

// out[i] = blend(out[i], tint(texels[columns[i]])) unless that texel is the key.
void ShadeSpan(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns, int n,
               const SpanShading& shading, RasterPath path);

// One pixel, the reference for every path.
std::uint32_t ShadePixel(std::uint32_t destination, std::uint32_t texel, const SpanShading& s);

}  // namespace vdx
