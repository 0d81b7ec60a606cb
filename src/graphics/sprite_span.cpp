#include "graphics/sprite_span.h"

#include "graphics/sprite_span_avx2.h"
#include "graphics/sprite_span_avx512.h"

#include <algorithm>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vdx {

SpanShading MakeSpanShading(const Surface& texture, std::uint32_t diffuse, SpriteBlend blend) {
  SpanShading s;
  s.keyed = texture.colorKey.has_value();
  s.key565 = s.keyed ? To565(*texture.colorKey) : 0;
  s.keyBits = s.keyed ? (*texture.colorKey & kBits565) : 0;
  s.alpha = (diffuse >> 24) & 0xFF;
  s.red = (diffuse >> 16) & 0xFF;
  s.green = (diffuse >> 8) & 0xFF;
  s.blue = diffuse & 0xFF;
  s.blend = blend;
  return s;
}

namespace {

void ShadeRowsScalar(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s) {
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    const RowRun run = RunOf(r, j, n);
    for (int i = run.from; i < run.to; ++i) {
      const std::uint32_t texel = texels[columns[i]];
      if (s.keyed && To565(texel) == s.key565) continue;
      out[i] = ShadePixel(out[i], texel, s);
    }
  }
}

// The three channels of a pixel in 16-bit fields of one word (blue lowest), so
// one multiplication works on all three; the arithmetic is ShadePixel's.
constexpr std::uint64_t kFieldBytes = 0x00FF00FF00FFull;

inline std::uint64_t Spread(std::uint32_t c) {
  return (c & 0xFF) | (std::uint64_t{c & 0xFF00} << 8) | (std::uint64_t{c & 0xFF0000} << 16);
}

inline std::uint32_t Gather(std::uint64_t fields) {
  return static_cast<std::uint32_t>((fields & 0xFF) | ((fields >> 8) & 0xFF00) |
                                    ((fields >> 16) & 0xFF0000));
}

// Mul255 of every field by the same byte y.
inline std::uint64_t Mul255Fields(std::uint64_t x, std::uint32_t y) {
  const std::uint64_t t = x * y + 0x008000800080ull;
  return ((t + ((t >> 8) & kFieldBytes)) >> 8) & kFieldBytes;
}

// Short spans on the best path: the same pixels as ShadePixel, fewer steps.
void ShadeRowsShort(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s) {
  const bool untinted = s.red == 255 && s.green == 255 && s.blue == 255;
  if (!untinted || s.blend == SpriteBlend::ColourWeighted || s.blend == SpriteBlend::Black) {
    ShadeRowsScalar(r, columns, n, s);
    return;
  }
  // Untinted: the source is the texel itself.
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    const RowRun run = RunOf(r, j, n);
    for (int i = run.from; i < run.to; ++i) {
      const std::uint32_t texel = texels[columns[i]] & 0xFFFFFF;
      if (s.keyed && (texel & 0xF8FCF8) == s.keyBits) continue;
      const std::uint64_t src = Spread(texel), dst = Spread(out[i]);
      if (s.blend == SpriteBlend::Alpha) {
        out[i] = Gather(Mul255Fields(src, s.alpha) + Mul255Fields(dst, 255 - s.alpha));
      } else {  // additive, each field held at 255
        const std::uint64_t sum = src + dst;
        const std::uint64_t over = ((sum >> 8) & 0x000100010001ull) * 0xFF;
        out[i] = Gather((sum | over) & kFieldBytes);
      }
    }
  }
}

#if defined(__x86_64__)

// The vector paths compute exactly what ShadePixel computes, on 16-bit lanes.
// Mul255(x, y) = (t + (t >> 8)) >> 8 with t = x * y + 128, which is also the
// high half of t * 257.

__attribute__((target("sse2"))) inline __m128i Mul255x8(__m128i x, __m128i y) {
  const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(128));
  return _mm_mulhi_epu16(t, _mm_set1_epi16(257));
}

__attribute__((target("sse2"))) inline __m128i Shade8(__m128i t, __m128i d, __m128i tint,
                                                      __m128i alpha, __m128i inverseAlpha,
                                                      SpriteBlend blend) {
  const __m128i s = Mul255x8(t, tint);
  switch (blend) {
    case SpriteBlend::Alpha:
      return _mm_add_epi16(Mul255x8(s, alpha), Mul255x8(d, inverseAlpha));
    case SpriteBlend::Additive:
      return _mm_add_epi16(s, d);  // packing saturates at 255
    case SpriteBlend::Black:
      return _mm_setzero_si128();
    case SpriteBlend::ColourWeighted:
      return _mm_add_epi16(Mul255x8(s, s), Mul255x8(d, _mm_sub_epi16(_mm_set1_epi16(255), s)));
  }
  return s;
}

__attribute__((target("sse2"))) void ShadeRowsSse2(const SpanRows& r, const std::int32_t* columns,
                                                   int n, const SpanShading& s) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i keyBits = _mm_set1_epi32(static_cast<int>(s.keyBits));
  const __m128i bits565 = _mm_set1_epi32(static_cast<int>(kBits565));
  const __m128i tint = _mm_setr_epi16(static_cast<short>(s.blue), static_cast<short>(s.green),
                                      static_cast<short>(s.red), 0, static_cast<short>(s.blue),
                                      static_cast<short>(s.green), static_cast<short>(s.red), 0);
  const __m128i alpha = _mm_set1_epi16(static_cast<short>(s.alpha));
  const __m128i inverseAlpha = _mm_set1_epi16(static_cast<short>(255 - s.alpha));
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const bool plain = IsPlainCopy(s);
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    const RowRun run = RunOf(r, j, n);
    const int whole = run.from + ((run.to - run.from) & ~3);
    for (int i = run.from; i < whole; i += 4) {
      const __m128i t = _mm_setr_epi32(
          static_cast<int>(texels[columns[i]]), static_cast<int>(texels[columns[i + 1]]),
          static_cast<int>(texels[columns[i + 2]]), static_cast<int>(texels[columns[i + 3]]));
      const __m128i skip = s.keyed ? _mm_cmpeq_epi32(_mm_and_si128(t, bits565), keyBits) : zero;
      if (_mm_movemask_epi8(skip) == 0xFFFF) continue;
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
      __m128i result;
      if (plain) {
        result = _mm_and_si128(t, colour);
      } else {
        const __m128i lo = Shade8(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(d, zero), tint,
                                  alpha, inverseAlpha, s.blend);
        const __m128i hi = Shade8(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(d, zero), tint,
                                  alpha, inverseAlpha, s.blend);
        result = _mm_and_si128(_mm_packus_epi16(lo, hi), colour);
      }
      result = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, result));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), result);
    }
    for (int i = whole; i < run.to; ++i) {
      const std::uint32_t texel = texels[columns[i]];
      if (!(s.keyed && To565(texel) == s.key565)) out[i] = ShadePixel(out[i], texel, s);
    }
  }
}

#endif

}  // namespace

bool HasAvx2() {
#if defined(__x86_64__)
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
#else
  return false;
#endif
}

bool HasAvx512() {
#if defined(__x86_64__)
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0;
  }();
  return has;
#else
  return false;
#endif
}

void ShadeRows(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s,
               RasterPath path) {
  if (n <= 0 || r.rows <= 0) return;
#if defined(__x86_64__)
  switch (path) {
    case RasterPath::Scalar:
      ShadeRowsScalar(r, columns, n, s);
      return;
    case RasterPath::Sse2:
      ShadeRowsSse2(r, columns, n, s);
      return;
    case RasterPath::Avx2:
    case RasterPath::Avx512:
    case RasterPath::Best:
      // Spans under eight pixels (rain, the corners of turned sprites) pack
      // several rows into a group; without AVX2 they are not worth the set-up.
      if (path == RasterPath::Best && n < 8 && !HasAvx2())
        ShadeRowsShort(r, columns, n, s);
      else if (HasAvx2() && n < 8 && !r.runs && (r.rows == 1 || r.stride >= n || r.stride <= -n))
        ShadeNarrowRowsAvx2(r, columns, n, s);
      else if (path != RasterPath::Avx2 && HasAvx512())
        ShadeRowsAvx512(r, columns, n, s);
      else if (HasAvx2())
        ShadeRowsAvx2(r, columns, n, s);
      else
        ShadeRowsSse2(r, columns, n, s);
      return;
  }
#endif
  (void)path;
  ShadeRowsScalar(r, columns, n, s);
}

void TexelOffsets(std::int32_t* out, int n, std::int32_t u, std::int32_t v, const TurnedTexture& t,
                  RasterPath path) {
  (void)path;  // one definition for every path: the vector loops are checked against it
  for (int i = 0; i < n; ++i) {
    const std::int64_t su = std::int64_t{u} + std::int64_t{t.du} * i;
    const std::int64_t sv = std::int64_t{v} + std::int64_t{t.dv} * i;
    const auto cu = static_cast<std::int32_t>(std::clamp<std::int64_t>(su, 0, t.maxU) >> 16);
    const auto cv = static_cast<std::int32_t>(std::clamp<std::int64_t>(sv, 0, t.maxV) >> 16);
    out[i] = cv * t.width + cu;
  }
}

void ShadeTurnedRows(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                     int count, const SpanShading& s, RasterPath path) {
#if defined(__x86_64__)
  const bool wide = path == RasterPath::Best || path == RasterPath::Avx512;
  if (wide && HasAvx512()) {
    ShadeTurnedRowsAvx512(target, texture, rows, count, s);
    return;
  }
  if ((wide || path == RasterPath::Avx2) && HasAvx2()) {
    ShadeTurnedRowsAvx2(target, texture, rows, count, s);
    return;
  }
#endif
  constexpr int kChunk = 1024;
  std::int32_t offsets[kChunk];
  for (int r = 0; r < count; ++r) {
    const TurnedRow& row = rows[r];
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(row.y) * target.width];
    std::int32_t u = row.u, v = row.v;
    for (int start = 0; start < row.count; start += kChunk) {
      const int n = std::min(kChunk, row.count - start);
      TexelOffsets(offsets, n, u, v, texture, RasterPath::Scalar);
      ShadeRows(SpanRows{out + row.first + start, 0, texture.texels, nullptr, 1}, offsets, n, s,
                path);
      u = static_cast<std::int32_t>(u + static_cast<std::int64_t>(texture.du) * n);
      v = static_cast<std::int32_t>(v + static_cast<std::int64_t>(texture.dv) * n);
    }
  }
}

}  // namespace vdx
