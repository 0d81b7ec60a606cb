#include "graphics/sprite_span.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vdx {

// The bits of a 32-bit pixel that its 5-6-5 value keeps.
constexpr std::uint32_t kBits565 = 0xF8FCF8;

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

const std::uint32_t* RowTexels(const SpanRows& r, int j) {
  return r.rowOffsets ? r.texels + r.rowOffsets[j] : r.texels;
}

void ShadeRowsScalar(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s,
                     int from = 0) {
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    for (int i = from; i < n; ++i) {
      const std::uint32_t texel = texels[columns[i]];
      if (s.keyed && To565(texel) == s.key565) continue;
      out[i] = ShadePixel(out[i], texel, s);
    }
  }
}

// Untinted, opaque, ordinary blend: a drawn texel is copied as it is.
bool IsPlainCopy(const SpanShading& s) {
  return s.blend == SpriteBlend::Alpha && s.red == 255 && s.green == 255 && s.blue == 255 &&
         s.alpha == 255;
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
  const int whole = n & ~3;
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    for (int i = 0; i < whole; i += 4) {
      const __m128i t = _mm_setr_epi32(static_cast<int>(texels[columns[i]]),
                                       static_cast<int>(texels[columns[i + 1]]),
                                       static_cast<int>(texels[columns[i + 2]]),
                                       static_cast<int>(texels[columns[i + 3]]));
      const __m128i skip =
          s.keyed ? _mm_cmpeq_epi32(_mm_and_si128(t, bits565), keyBits) : zero;
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
  }
  if (whole < n) ShadeRowsScalar(r, columns, n, s, whole);
}

__attribute__((target("avx2"))) inline __m256i Mul255x16(__m256i x, __m256i y) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(128));
  return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

__attribute__((target("avx2"))) inline __m256i Shade16(__m256i t, __m256i d, __m256i tint,
                                                       __m256i alpha, __m256i inverseAlpha,
                                                       SpriteBlend blend) {
  const __m256i s = Mul255x16(t, tint);
  switch (blend) {
    case SpriteBlend::Alpha:
      return _mm256_add_epi16(Mul255x16(s, alpha), Mul255x16(d, inverseAlpha));
    case SpriteBlend::Additive:
      return _mm256_add_epi16(s, d);
    case SpriteBlend::Black:
      return _mm256_setzero_si256();
    case SpriteBlend::ColourWeighted:
      return _mm256_add_epi16(Mul255x16(s, s),
                              Mul255x16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), s)));
  }
  return s;
}

__attribute__((target("avx2"))) void ShadeRowsAvx2(const SpanRows& r, const std::int32_t* columns,
                                                   int n, const SpanShading& s) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i keyBits = _mm256_set1_epi32(static_cast<int>(s.keyBits));
  const __m256i bits565 = _mm256_set1_epi32(static_cast<int>(kBits565));
  const __m256i tint = _mm256_setr_epi16(
      static_cast<short>(s.blue), static_cast<short>(s.green), static_cast<short>(s.red), 0,
      static_cast<short>(s.blue), static_cast<short>(s.green), static_cast<short>(s.red), 0,
      static_cast<short>(s.blue), static_cast<short>(s.green), static_cast<short>(s.red), 0,
      static_cast<short>(s.blue), static_cast<short>(s.green), static_cast<short>(s.red), 0);
  const __m256i alpha = _mm256_set1_epi16(static_cast<short>(s.alpha));
  const __m256i inverseAlpha = _mm256_set1_epi16(static_cast<short>(255 - s.alpha));
  const __m256i colour = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const bool plain = IsPlainCopy(s);
  const int whole = n & ~7;
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    for (int i = 0; i < whole; i += 8) {
      const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
      // Texels side by side (a sprite drawn near its own size) are loaded as
      // they are; others are gathered.
      const __m256i straight = _mm256_add_epi32(_mm256_set1_epi32(columns[i]), lanes);
      const __m256i t =
          _mm256_movemask_epi8(_mm256_cmpeq_epi32(index, straight)) == -1
              ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + columns[i]))
              : _mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index, 4);
      __m256i skip = zero;
      if (s.keyed) {
        skip = _mm256_cmpeq_epi32(_mm256_and_si256(t, bits565), keyBits);
        if (_mm256_movemask_epi8(skip) == -1) continue;
      }
      const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + i));
      __m256i result;
      if (plain) {
        result = _mm256_and_si256(t, colour);
      } else {
        const __m256i lo = Shade16(_mm256_unpacklo_epi8(t, zero), _mm256_unpacklo_epi8(d, zero),
                                   tint, alpha, inverseAlpha, s.blend);
        const __m256i hi = Shade16(_mm256_unpackhi_epi8(t, zero), _mm256_unpackhi_epi8(d, zero),
                                   tint, alpha, inverseAlpha, s.blend);
        result = _mm256_and_si256(_mm256_packus_epi16(lo, hi), colour);
      }
      result = _mm256_blendv_epi8(result, d, skip);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), result);
    }
  }
  if (whole < n) ShadeRowsScalar(r, columns, n, s, whole);
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}

#endif

}  // namespace

void ShadeRows(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s,
               RasterPath path) {
  if (n <= 0 || r.rows <= 0) return;
#if defined(__x86_64__)
  switch (path) {
    case RasterPath::Scalar: ShadeRowsScalar(r, columns, n, s); return;
    case RasterPath::Sse2: ShadeRowsSse2(r, columns, n, s); return;
    case RasterPath::Avx2:
    case RasterPath::Best:
      // Spans under eight pixels (rain, the corners of turned sprites) are not
      // worth the vector set-up.
      if (path == RasterPath::Best && n < 8)
        ShadeRowsScalar(r, columns, n, s);
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

}  // namespace vdx
