#include "graphics/sprite_span_avx2.h"

#include "graphics/shade_mode.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>
#include <cstdlib>

namespace vdx {
namespace {

// The numbers every group of eight pixels of a draw shares.
struct Constants {
  __m256i zero, keyBits, bits565, tint, alpha, inverseAlpha, colour, lanes, seven, fifteen;
};

__attribute__((target("avx2"))) Constants MakeConstants(const SpanShading& s) {
  Constants k;
  k.zero = _mm256_setzero_si256();
  k.keyBits = _mm256_set1_epi32(static_cast<int>(s.keyBits));
  k.bits565 = _mm256_set1_epi32(static_cast<int>(kBits565));
  const auto b = static_cast<short>(s.blue), g = static_cast<short>(s.green),
             red = static_cast<short>(s.red);
  k.tint = _mm256_setr_epi16(b, g, red, 0, b, g, red, 0, b, g, red, 0, b, g, red, 0);
  k.alpha = _mm256_set1_epi16(static_cast<short>(s.alpha));
  k.inverseAlpha = _mm256_set1_epi16(static_cast<short>(255 - s.alpha));
  k.colour = _mm256_set1_epi32(0x00FFFFFF);
  k.lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  k.seven = _mm256_set1_epi32(7);
  k.fifteen = _mm256_set1_epi32(15);
  return k;
}

// ShadePixel's arithmetic on 16-bit lanes. Mul255(x, y) = (t + (t >> 8)) >> 8
// with t = x * y + 128, which is also the high half of t * 257.
__attribute__((target("avx2"))) inline __m256i Mul255x16(__m256i x, __m256i y) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(128));
  return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

template <class M>
__attribute__((target("avx2"))) inline __m256i Shade16(const Constants& k, __m256i t, __m256i d) {
  const __m256i s = M::untinted ? t : Mul255x16(t, k.tint);  // Mul255(t, 255) = t
  if constexpr (M::blend == SpriteBlend::Alpha)
    return _mm256_add_epi16(Mul255x16(s, k.alpha), Mul255x16(d, k.inverseAlpha));
  else if constexpr (M::blend == SpriteBlend::Additive)
    return _mm256_add_epi16(s, d);  // packing holds the sums at 255
  else if constexpr (M::blend == SpriteBlend::Black)
    return k.zero;
  else
    return _mm256_add_epi16(Mul255x16(s, s),
                            Mul255x16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), s)));
}

// Eight texels by their offsets, or the first `count` of them (the others
// repeat the last). The processor's gather instruction is slower than eight
// plain loads on the machines we measured, so it is not used.
__attribute__((target("avx2"))) inline __m256i LoadTexels8(const std::uint32_t* texels,
                                                           const std::int32_t* offsets, int count) {
  const auto at = [&](int i) {
    return static_cast<int>(texels[offsets[i < count ? i : count - 1]]);
  };
  return _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
}

// Eight texels at offsets within 16 of each other (a sprite drawn at up to
// twice or down to half its size) come from two plain loads and two
// permutations, side by side from one load; others are loaded one by one.
// `limit` is the number of texels that may be read from `texels`.
__attribute__((target("avx2"))) inline __m256i LoadTexelsNear8(const Constants& k,
                                                               const std::uint32_t* texels,
                                                               const std::int32_t* columns,
                                                               std::int32_t limit) {
  const std::int32_t base = std::min(columns[0], columns[7]);
  if (base >= 0 && base <= limit - 8) {
    const __m256i index = _mm256_sub_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns)), _mm256_set1_epi32(base));
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(index, k.lanes)) == -1)
      return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + base));
    const __m256i outside =
        _mm256_or_si256(_mm256_cmpgt_epi32(index, k.fifteen), _mm256_cmpgt_epi32(k.zero, index));
    if (base <= limit - 16 && _mm256_testz_si256(outside, outside)) {
      const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + base));
      const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + base + 8));
      return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, index),
                                _mm256_permutevar8x32_epi32(high, index),
                                _mm256_cmpgt_epi32(index, k.seven));
    }
  }
  return LoadTexels8(texels, columns, 8);
}

// All ones where a texel is the key.
template <class M>
__attribute__((target("avx2"))) inline __m256i KeyMask8(const Constants& k, __m256i t) {
  if constexpr (M::keyed)
    return _mm256_cmpeq_epi32(_mm256_and_si256(t, k.bits565), k.keyBits);
  else
    return k.zero;
}

template <class M>
__attribute__((target("avx2"))) inline bool AllKeyed(__m256i skip) {
  if constexpr (M::keyed)
    return _mm256_movemask_epi8(skip) == -1;
  else
    return false;
}

// Eight texels shaded over eight destination pixels; key texels leave the
// destination as it was.
template <class M>
__attribute__((target("avx2"))) inline __m256i Shade8Pixels(const Constants& k, __m256i t,
                                                            __m256i d, __m256i skip) {
  __m256i result;
  if constexpr (M::copy) {
    result = _mm256_and_si256(t, k.colour);
  } else {
    const __m256i lo =
        Shade16<M>(k, _mm256_unpacklo_epi8(t, k.zero), _mm256_unpacklo_epi8(d, k.zero));
    const __m256i hi =
        Shade16<M>(k, _mm256_unpackhi_epi8(t, k.zero), _mm256_unpackhi_epi8(d, k.zero));
    result = _mm256_and_si256(_mm256_packus_epi16(lo, hi), k.colour);
  }
  if constexpr (M::keyed)
    return _mm256_blendv_epi8(result, d, skip);
  else
    return result;
}

// The first `count` (under eight) pixels at out, from loaded texels.
template <class M>
__attribute__((target("avx2"))) inline void ShadePartialGroup(const Constants& k,
                                                              std::uint32_t* out, __m256i t,
                                                              int count) {
  const __m256i skip = KeyMask8<M>(k, t);
  if (AllKeyed<M>(skip)) return;
  const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), k.lanes);
  const __m256i d = _mm256_maskload_epi32(reinterpret_cast<const int*>(out), lanes);
  _mm256_maskstore_epi32(reinterpret_cast<int*>(out), lanes, Shade8Pixels<M>(k, t, d, skip));
}

template <class M>
__attribute__((target("avx2"))) inline void ShadeGroup(const Constants& k, std::uint32_t* out,
                                                       __m256i t) {
  const __m256i skip = KeyMask8<M>(k, t);
  if (AllKeyed<M>(skip)) return;
  const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), Shade8Pixels<M>(k, t, d, skip));
}

template <class M>
__attribute__((target("avx2"))) void ShadeRowsIn(const SpanRows& r, const std::int32_t* columns,
                                                 int n, const SpanShading& s) {
  const Constants k = MakeConstants(s);
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    const std::int32_t limit =
        r.texelCount > 0 ? r.texelCount - static_cast<std::int32_t>(texels - r.texels) : 0;
    const RowRun run = RunOf(r, j, n);
    int i = run.from;
    for (; i + 8 <= run.to; i += 8)
      ShadeGroup<M>(k, out + i, LoadTexelsNear8(k, texels, columns + i, limit));
    if (i < run.to)
      ShadePartialGroup<M>(k, out + i, LoadTexels8(texels, columns + i, run.to - i), run.to - i);
  }
}

template <class M>
__attribute__((target("avx2"))) void ShadeNarrowRowsIn(const SpanRows& r,
                                                       const std::int32_t* columns, int n,
                                                       const SpanShading& s) {
  const Constants k = MakeConstants(s);
  const int total = n * r.rows;
  int row = 0, column = 0;  // of the group's first pixel
  for (int first = 0; first < total; first += 8) {
    const int count = std::min(8, total - first);
    std::uint32_t* where[8];
    std::int32_t texelOffsets[8];
    for (int lane = 0, j = row, i = column; lane < 8; ++lane) {
      // Lanes past the last pixel repeat it; they are not stored.
      where[lane] = r.out + static_cast<std::ptrdiff_t>(j) * r.stride + i;
      texelOffsets[lane] = static_cast<std::int32_t>(RowTexels(r, j) - r.texels) + columns[i];
      if (lane + 1 < count && ++i == n) {
        i = 0;
        ++j;
      }
    }
    const __m256i t = LoadTexels8(r.texels, texelOffsets, 8);
    const __m256i skip = KeyMask8<M>(k, t);
    if (!AllKeyed<M>(skip)) {
      const auto at = [&](int lane) { return static_cast<int>(*where[lane]); };
      const __m256i d = _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
      alignas(32) std::uint32_t shaded[8];
      _mm256_store_si256(reinterpret_cast<__m256i*>(shaded), Shade8Pixels<M>(k, t, d, skip));
      for (int lane = 0; lane < count; ++lane)
        *where[lane] = shaded[lane];
    }
    column += 8;
    row += column / n;
    column %= n;
  }
}

// A turned sprite's rows, with one set-up for them all: each group's texel
// offsets are worked out as it is shaded.
template <class M>
__attribute__((target("avx2"))) void ShadeTurnedRowsIn(Surface& target,
                                                       const TurnedTexture& texture,
                                                       const TurnedRow* rows, int count,
                                                       const SpanShading& s) {
  const Constants k = MakeConstants(s);
  const __m256i laneU = _mm256_mullo_epi32(k.lanes, _mm256_set1_epi32(texture.du));
  const __m256i laneV = _mm256_mullo_epi32(k.lanes, _mm256_set1_epi32(texture.dv));
  const __m256i stepU = _mm256_set1_epi32(static_cast<int>(texture.du * 8u));
  const __m256i stepV = _mm256_set1_epi32(static_cast<int>(texture.dv * 8u));
  const __m256i hiU = _mm256_set1_epi32(texture.maxU), hiV = _mm256_set1_epi32(texture.maxV);
  const __m256i width = _mm256_set1_epi32(texture.width);
  alignas(32) std::int32_t offsets[8];
  for (int r = 0; r < count; ++r) {
    const TurnedRow& row = rows[r];
    std::uint32_t* span =
        &target.pixels[static_cast<std::size_t>(row.y) * target.width + row.first];
    if (!OffsetsFit(row.count, row.u, row.v, texture)) {
      ShadeFarTurnedRow(
          span, row, texture, 8,
          [&](std::uint32_t * out, const std::int32_t* offsets, int c)
              __attribute__((target("avx2"))) {
                const __m256i t = LoadTexels8(texture.texels, offsets, c);
                if (c == 8)
                  ShadeGroup<M>(k, out, t);
                else
                  ShadePartialGroup<M>(k, out, t, c);
              });
      continue;
    }
    __m256i su = _mm256_add_epi32(_mm256_set1_epi32(row.u), laneU);
    __m256i sv = _mm256_add_epi32(_mm256_set1_epi32(row.v), laneV);
    int i = 0;
    const auto offsetsHere = [&]() __attribute__((target("avx2"))) {
      const __m256i cu = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(su, k.zero), hiU), 16);
      const __m256i cv = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(sv, k.zero), hiV), 16);
      _mm256_store_si256(reinterpret_cast<__m256i*>(offsets),
                         _mm256_add_epi32(_mm256_mullo_epi32(cv, width), cu));
      su = _mm256_add_epi32(su, stepU);
      sv = _mm256_add_epi32(sv, stepV);
    };
    for (; i + 8 <= row.count; i += 8) {
      offsetsHere();
      ShadeGroup<M>(k, span + i, LoadTexels8(texture.texels, offsets, 8));
    }
    if (i < row.count) {
      offsetsHere();
      ShadePartialGroup<M>(k, span + i, LoadTexels8(texture.texels, offsets, row.count - i),
                           row.count - i);
    }
  }
}

}  // namespace

void ShadeRowsAvx2(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s) {
  RunInMode(s, [&](auto mode) { ShadeRowsIn<decltype(mode)>(r, columns, n, s); });
}

void ShadeNarrowRowsAvx2(const SpanRows& r, const std::int32_t* columns, int n,
                         const SpanShading& s) {
  RunInMode(s, [&](auto mode) { ShadeNarrowRowsIn<decltype(mode)>(r, columns, n, s); });
}

void ShadeTurnedRowsAvx2(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                         int count, const SpanShading& s) {
  RunInMode(s,
            [&](auto mode) { ShadeTurnedRowsIn<decltype(mode)>(target, texture, rows, count, s); });
}

}  // namespace vdx

#endif
