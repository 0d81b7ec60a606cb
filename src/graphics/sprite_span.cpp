#include "graphics/sprite_span.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vdx {
namespace {

using detail::Mul255;  // x * y / 255 rounded, for bytes: exact for every pair

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

namespace {

void ShadeSpanScalar(std::uint32_t* out, const std::uint32_t* texels, const std::int32_t* columns,
                     int n, const SpanShading& s) {
  for (int i = 0; i < n; ++i) {
    const std::uint32_t texel = texels[columns[i]];
    if (s.keyed && To565(texel) == s.key565) continue;
    out[i] = ShadePixel(out[i], texel, s);
  }
}

// Untinted, opaque, ordinary blend: a drawn texel is copied as it is.
bool IsPlainCopy(const SpanShading& s) {
  return s.blend == SpriteBlend::Alpha && s.red == 255 && s.green == 255 && s.blue == 255 &&
         s.alpha == 255;
}

#if defined(__x86_64__)

// The vector paths compute exactly what ShadePixel computes, on 16-bit lanes:
// Mul255(x, y) = (t + (t >> 8)) >> 8 with t = x * y + 128 never leaves 16 bits.

__attribute__((target("sse2"))) inline __m128i Mul255x8(__m128i x, __m128i y) {
  const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

__attribute__((target("sse2"))) inline __m128i Shade8(__m128i t, __m128i d, __m128i tint,
                                                      __m128i alpha, __m128i inverseAlpha,
                                                      SpriteBlend blend) {
  const __m128i s = Mul255x8(t, tint);
  const __m128i full = _mm_set1_epi16(255);
  switch (blend) {
    case SpriteBlend::Alpha:
      return _mm_add_epi16(Mul255x8(s, alpha), Mul255x8(d, inverseAlpha));
    case SpriteBlend::Additive:
      return _mm_add_epi16(s, d);  // packing saturates at 255
    case SpriteBlend::Black:
      return _mm_setzero_si128();
    case SpriteBlend::ColourWeighted:
      return _mm_add_epi16(Mul255x8(s, s), Mul255x8(d, _mm_sub_epi16(full, s)));
  }
  return s;
}

__attribute__((target("sse2"))) inline __m128i Key565x4(__m128i t) {
  const __m128i r = _mm_and_si128(_mm_srli_epi32(t, 8), _mm_set1_epi32(0xF800));
  const __m128i g = _mm_and_si128(_mm_srli_epi32(t, 5), _mm_set1_epi32(0x07E0));
  const __m128i b = _mm_and_si128(_mm_srli_epi32(t, 3), _mm_set1_epi32(0x001F));
  return _mm_or_si128(_mm_or_si128(r, g), b);
}

__attribute__((target("sse2"))) void ShadeSpanSse2(std::uint32_t* out, const std::uint32_t* texels,
                                                   const std::int32_t* columns, int n,
                                                   const SpanShading& s) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i key = _mm_set1_epi32(s.key565);
  const __m128i tint = _mm_setr_epi16(static_cast<short>(s.blue), static_cast<short>(s.green),
                                      static_cast<short>(s.red), 0, static_cast<short>(s.blue),
                                      static_cast<short>(s.green), static_cast<short>(s.red), 0);
  const __m128i alpha = _mm_set1_epi16(static_cast<short>(s.alpha));
  const __m128i inverseAlpha = _mm_set1_epi16(static_cast<short>(255 - s.alpha));
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const bool plain = IsPlainCopy(s);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i t = _mm_setr_epi32(
        static_cast<int>(texels[columns[i]]), static_cast<int>(texels[columns[i + 1]]),
        static_cast<int>(texels[columns[i + 2]]), static_cast<int>(texels[columns[i + 3]]));
    const __m128i skip = s.keyed ? _mm_cmpeq_epi32(Key565x4(t), key) : zero;
    if (_mm_movemask_epi8(skip) == 0xFFFF) continue;
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    __m128i result;
    if (plain) {
      result = _mm_and_si128(t, colour);
    } else {
      const __m128i lo = Shade8(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(d, zero), tint, alpha,
                                inverseAlpha, s.blend);
      const __m128i hi = Shade8(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(d, zero), tint, alpha,
                                inverseAlpha, s.blend);
      result = _mm_and_si128(_mm_packus_epi16(lo, hi), colour);
    }
    result = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, result));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), result);
  }
  ShadeSpanScalar(out + i, texels, columns + i, n - i, s);
}

__attribute__((target("avx2"))) inline __m256i Mul255x16(__m256i x, __m256i y) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
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

__attribute__((target("avx2"))) void ShadeSpanAvx2(std::uint32_t* out, const std::uint32_t* texels,
                                                   const std::int32_t* columns, int n,
                                                   const SpanShading& s) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i key = _mm256_set1_epi32(s.key565);
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
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
    // Texels side by side (a sprite drawn near its own size) are loaded as they
    // are; others are gathered.
    const __m256i straight = _mm256_add_epi32(_mm256_set1_epi32(columns[i]), lanes);
    const __m256i t =
        _mm256_movemask_epi8(_mm256_cmpeq_epi32(index, straight)) == -1
            ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + columns[i]))
            : _mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index, 4);
    __m256i skip = zero;
    if (s.keyed) {
      const __m256i r = _mm256_and_si256(_mm256_srli_epi32(t, 8), _mm256_set1_epi32(0xF800));
      const __m256i g = _mm256_and_si256(_mm256_srli_epi32(t, 5), _mm256_set1_epi32(0x07E0));
      const __m256i b = _mm256_and_si256(_mm256_srli_epi32(t, 3), _mm256_set1_epi32(0x001F));
      skip = _mm256_cmpeq_epi32(_mm256_or_si256(_mm256_or_si256(r, g), b), key);
      if (_mm256_movemask_epi8(skip) == -1) continue;
    }
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + i));
    __m256i result;
    if (plain) {
      result = _mm256_and_si256(t, colour);
    } else {
      const __m256i lo = Shade16(_mm256_unpacklo_epi8(t, zero), _mm256_unpacklo_epi8(d, zero), tint,
                                 alpha, inverseAlpha, s.blend);
      const __m256i hi = Shade16(_mm256_unpackhi_epi8(t, zero), _mm256_unpackhi_epi8(d, zero), tint,
                                 alpha, inverseAlpha, s.blend);
      result = _mm256_and_si256(_mm256_packus_epi16(lo, hi), colour);
    }
    result = _mm256_blendv_epi8(result, d, skip);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), result);
  }
  ShadeSpanScalar(out + i, texels, columns + i, n - i, s);
}

#endif

using SpanFunction = void (*)(std::uint32_t*, const std::uint32_t*, const std::int32_t*, int,
                              const SpanShading&);

// The widest path this processor runs, chosen once.
SpanFunction BestSpanFunction() {
#if defined(__x86_64__)
  static const SpanFunction best = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? ShadeSpanAvx2 : ShadeSpanSse2;
  }();
  return best;
#else
  return ShadeSpanScalar;
#endif
}

}  // namespace

void detail::ShadeSpanWide(std::uint32_t* out, const std::uint32_t* texels,
                           const std::int32_t* columns, int n, const SpanShading& s,
                           RasterPath path) {
  switch (path) {
    case RasterPath::Scalar:
      ShadeSpanScalar(out, texels, columns, n, s);
      return;
#if defined(__x86_64__)
    case RasterPath::Sse2:
      ShadeSpanSse2(out, texels, columns, n, s);
      return;
    case RasterPath::Avx2:
      if (__builtin_cpu_supports("avx2"))
        ShadeSpanAvx2(out, texels, columns, n, s);
      else
        ShadeSpanSse2(out, texels, columns, n, s);
      return;
#else
    case RasterPath::Sse2:
    case RasterPath::Avx2:
      ShadeSpanScalar(out, texels, columns, n, s);
      return;
#endif
    case RasterPath::Best:
      BestSpanFunction()(out, texels, columns, n, s);
      return;
  }
}

}  // namespace vdx
