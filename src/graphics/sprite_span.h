// The inner loop of the sprite renderer: one row of pixels, each taking the
// texel at its column, tinted, keyed and blended. A plain scalar version is the
// reference; vector versions must give the same pixels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

struct SpanShading {
  bool keyed = false;
  std::uint16_t key565 = 0;   // texels of this 5-6-5 value are not drawn
  std::uint32_t keyBits = 0;  // the bits 0xF8FCF8 of a key texel: the same test, cheaper
  std::uint32_t red = 255, green = 255, blue = 255, alpha = 255;  // tint and opacity, 0..255
  SpriteBlend blend = SpriteBlend::Alpha;
};

// The bits of a 32-bit pixel that its 5-6-5 value keeps.
constexpr std::uint32_t kBits565 = 0xF8FCF8;

// Whether the processor runs AVX2, and AVX-512 with byte and word lanes (the
// vector paths check it once).
bool HasAvx2();
bool HasAvx512();

SpanShading MakeSpanShading(const Surface& texture, std::uint32_t diffuse, SpriteBlend blend);

// Untinted, opaque, ordinary blend: a drawn texel is copied as it is.
inline bool IsPlainCopy(const SpanShading& s) {
  return s.blend == SpriteBlend::Alpha && s.red == 255 && s.green == 255 && s.blue == 255 &&
         s.alpha == 255;
}

namespace detail {
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

// The pixels [from, to) of a row that are drawn.
struct RowRun {
  std::int32_t from, to;
};

// Rows of pixels that share their texel columns: row j is out + j x stride,
// reading its texels at texels + rowOffsets[j] (every row at texels when there
// are no offsets), and drawing its pixels runs[j] (all n when there are no
// runs). The vector paths may read texels near the ones asked for, but never
// at or past texels + texelCount (0: nothing beyond those asked for).
struct SpanRows {
  std::uint32_t* out = nullptr;
  std::ptrdiff_t stride = 0;
  const std::uint32_t* texels = nullptr;
  const std::int32_t* rowOffsets = nullptr;
  int rows = 1;
  std::int32_t texelCount = 0;
  const RowRun* runs = nullptr;
};

inline const std::uint32_t* RowTexels(const SpanRows& r, int j) {
  return r.rowOffsets ? r.texels + r.rowOffsets[j] : r.texels;
}

inline RowRun RunOf(const SpanRows& r, int j, int n) {
  return r.runs ? r.runs[j] : RowRun{0, n};
}

// out[i] = blend(out[i], tint(texels[columns[i]])) unless that texel is the key,
// for i < n on every row.
void ShadeRows(const SpanRows& rows, const std::int32_t* columns, int n, const SpanShading& s,
               RasterPath path);

// The rows of a turned sprite: each row's span starts at pixel `first` of row
// y with texture coordinates (u, v), in texels as 16.16 fixed point, which
// step by the texture's (du, dv) from pixel to pixel.
struct TurnedRow {
  std::int32_t y, first, count;
  std::int32_t u, v;
};
struct TurnedTexture {
  const std::uint32_t* texels = nullptr;
  std::int32_t texelCount = 0;  // of the whole texture
  std::int32_t width = 0;
  std::int32_t du = 0, dv = 0;      // per pixel, 16.16
  std::int32_t maxU = 0, maxV = 0;  // the last position inside the texture, 16.16
};

// The texel offset of each pixel of a span: the coordinates stepped and held
// to the texture's edges (the scalar reference of every path).
void TexelOffsets(std::int32_t* out, int n, std::int32_t u, std::int32_t v,
                  const TurnedTexture& texture, RasterPath path);

void ShadeTurnedRows(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                     int count, const SpanShading& s, RasterPath path);

inline void ShadeSpan(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns,
                      int n, const SpanShading& s, RasterPath path) {
  ShadeRows(SpanRows{out, 0, texels, nullptr, 1}, columns, n, s, path);
}

}  // namespace vdx
