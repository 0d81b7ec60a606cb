// The inner loop of the sprite renderer: one row of pixels, each taking the
// texel at its column, tinted, keyed and blended. A plain scalar version is the
// reference; vector versions must give the same pixels.
#pragma once

#include <algorithm>
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

namespace detail {
void ShadeSpanWide(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns,
                   int n, const SpanShading& shading, RasterPath path);
inline __attribute__((always_inline)) std::uint32_t Mul255(std::uint32_t x, std::uint32_t y) {
  const std::uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}
}  // namespace detail

// One pixel, the reference for every path.
inline __attribute__((always_inline)) std::uint32_t ShadePixel(std::uint32_t dst,
                                                               std::uint32_t texel,
                                                               const SpanShading& s) {
  const std::uint32_t sr = detail::Mul255((texel >> 16) & 0xFF, s.red);
  const std::uint32_t sg = detail::Mul255((texel >> 8) & 0xFF, s.green);
  const std::uint32_t sb = detail::Mul255(texel & 0xFF, s.blue);
  const std::uint32_t dr = (dst >> 16) & 0xFF, dg = (dst >> 8) & 0xFF, db = dst & 0xFF;
  std::uint32_t r = 0, g = 0, b = 0;
  switch (s.blend) {
    case SpriteBlend::Alpha:
      r = detail::Mul255(sr, s.alpha) + detail::Mul255(dr, 255 - s.alpha);
      g = detail::Mul255(sg, s.alpha) + detail::Mul255(dg, 255 - s.alpha);
      b = detail::Mul255(sb, s.alpha) + detail::Mul255(db, 255 - s.alpha);
      break;
    case SpriteBlend::Additive:
      r = std::min<std::uint32_t>(255, sr + dr);
      g = std::min<std::uint32_t>(255, sg + dg);
      b = std::min<std::uint32_t>(255, sb + db);
      break;
    case SpriteBlend::Black:
      break;
    case SpriteBlend::ColourWeighted:
      r = detail::Mul255(sr, sr) + detail::Mul255(dr, 255 - sr);
      g = detail::Mul255(sg, sg) + detail::Mul255(dg, 255 - sg);
      b = detail::Mul255(sb, sb) + detail::Mul255(db, 255 - sb);
      break;
  }
  return (std::min<std::uint32_t>(r, 255) << 16) | (std::min<std::uint32_t>(g, 255) << 8) |
         std::min<std::uint32_t>(b, 255);
}

// out[i] = blend(out[i], tint(texels[columns[i]])) unless that texel is the key.
// Short spans (rain, the corners of turned sprites) are shaded right here.
inline void ShadeSpan(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns,
                      int n, const SpanShading& s, RasterPath path) {
  if (n >= 8 || path != RasterPath::Best) {
    detail::ShadeSpanWide(out, texels, columns, n, s, path);
    return;
  }
  for (int i = 0; i < n; ++i) {
    const std::uint32_t texel = texels[columns[i]];
    if (s.keyed && To565(texel) == s.key565) continue;
    out[i] = ShadePixel(out[i], texel, s);
  }
}

}  // namespace vdx
