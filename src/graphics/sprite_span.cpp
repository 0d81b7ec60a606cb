#include "graphics/sprite_span.h"

#include <algorithm>

namespace vdx {
namespace {

// x * y / 255 rounded, for bytes: exact for every pair.
inline std::uint32_t Mul255(std::uint32_t x, std::uint32_t y) {
  const std::uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

}  // namespace

SpanShading MakeSpanShading(const Surface& texture, std::uint32_t diffuse, SpriteBlend blend) {
  SpanShading s;
  s.keyed = texture.colorKey.has_value();
  s.key565 = s.keyed ? To565(*texture.colorKey) : 0;
  s.alpha = (diffuse >> 24) & 0xFF;
  s.red = (diffuse >> 16) & 0xFF;
  s.green = (diffuse >> 8) & 0xFF;
  s.blue = diffuse & 0xFF;
  s.blend = blend;
  return s;
}

std::uint32_t ShadePixel(std::uint32_t dst, std::uint32_t texel, const SpanShading& s) {
  const std::uint32_t sr = Mul255((texel >> 16) & 0xFF, s.red);
  const std::uint32_t sg = Mul255((texel >> 8) & 0xFF, s.green);
  const std::uint32_t sb = Mul255(texel & 0xFF, s.blue);
  const std::uint32_t dr = (dst >> 16) & 0xFF, dg = (dst >> 8) & 0xFF, db = dst & 0xFF;
  std::uint32_t r = 0, g = 0, b = 0;
  switch (s.blend) {
    case SpriteBlend::Alpha:
      r = Mul255(sr, s.alpha) + Mul255(dr, 255 - s.alpha);
      g = Mul255(sg, s.alpha) + Mul255(dg, 255 - s.alpha);
      b = Mul255(sb, s.alpha) + Mul255(db, 255 - s.alpha);
      break;
    case SpriteBlend::Additive:
      r = std::min<std::uint32_t>(255, sr + dr);
      g = std::min<std::uint32_t>(255, sg + dg);
      b = std::min<std::uint32_t>(255, sb + db);
      break;
    case SpriteBlend::Black:
      break;
    case SpriteBlend::ColourWeighted:
      r = Mul255(sr, sr) + Mul255(dr, 255 - sr);
      g = Mul255(sg, sg) + Mul255(dg, 255 - sg);
      b = Mul255(sb, sb) + Mul255(db, 255 - sb);
      break;
  }
  return (std::min<std::uint32_t>(r, 255) << 16) | (std::min<std::uint32_t>(g, 255) << 8) |
         std::min<std::uint32_t>(b, 255);
}

void ShadeSpan(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns, int n,
               const SpanShading& s, RasterPath path) {
  (void)path;
  for (int i = 0; i < n; ++i) {
    const std::uint32_t texel = texels[columns[i]];
    if (s.keyed && To565(texel) == s.key565) continue;
    out[i] = ShadePixel(out[i], texel, s);
  }
}

}  // namespace vdx
