#include "graphics/sprite_span_avx512.h"

#if defined(__x86_64__)

// GCC 12 warns that its own AVX-512 headers read an uninitialised variable
// (their "undefined" vectors are initialised from themselves on purpose).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <algorithm>

#include "graphics/shade_mode.h"

#define VDX_AVX512 __attribute__((target("avx512f,avx512bw")))

namespace vdx {
namespace {

// The numbers every group of sixteen pixels of a draw shares.
struct Constants {
  __m512i zero, keyBits, bits565, tint, alpha, inverseAlpha, colour, lanes, thirtyOne;
};

VDX_AVX512 Constants MakeConstants(const SpanShading& s) {
  Constants k;
  k.zero = _mm512_setzero_si512();
  k.keyBits = _mm512_set1_epi32(static_cast<int>(s.keyBits));
  k.bits565 = _mm512_set1_epi32(static_cast<int>(kBits565));
  // Blue, green and red in the low three 16-bit lanes of each 64 bits.
  const auto pattern = static_cast<long long>(
      std::uint64_t{s.blue} | (std::uint64_t{s.green} << 16) | (std::uint64_t{s.red} << 32));
  k.tint = _mm512_set1_epi64(pattern);
  k.alpha = _mm512_set1_epi16(static_cast<short>(s.alpha));
  k.inverseAlpha = _mm512_set1_epi16(static_cast<short>(255 - s.alpha));
  k.colour = _mm512_set1_epi32(0x00FFFFFF);
  k.lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  k.thirtyOne = _mm512_set1_epi32(31);
  return k;
}

// Mul255 of ShadePixel on 16-bit lanes: the high half of (x * y + 128) * 257.
VDX_AVX512 inline __m512i Mul255x32(__m512i x, __m512i y) {
  const __m512i t = _mm512_add_epi16(_mm512_mullo_epi16(x, y), _mm512_set1_epi16(128));
  return _mm512_mulhi_epu16(t, _mm512_set1_epi16(257));
}

template <class M>
VDX_AVX512 inline __m512i Shade32(const Constants& k, __m512i t, __m512i d) {
  const __m512i s = M::untinted ? t : Mul255x32(t, k.tint);
  if constexpr (M::blend == SpriteBlend::Alpha)
    return _mm512_add_epi16(Mul255x32(s, k.alpha), Mul255x32(d, k.inverseAlpha));
  else if constexpr (M::blend == SpriteBlend::Additive)
    return _mm512_add_epi16(s, d);  // packing holds the sums at 255
  else if constexpr (M::blend == SpriteBlend::Black)
    return k.zero;
  else
    return _mm512_add_epi16(Mul255x32(s, s),
                            Mul255x32(d, _mm512_sub_epi16(_mm512_set1_epi16(255), s)));
}

// Sixteen texels by their offsets, or the first `count` of them (the others
// repeat the last), each loaded on its own.
VDX_AVX512 inline __m512i LoadTexels16(const std::uint32_t* texels, const std::int32_t* offsets,
                                       int count) {
  const auto at = [&](int i) {
    return static_cast<int>(texels[offsets[i < count ? i : count - 1]]);
  };
  const __m256i low = _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
  const __m256i high =
      _mm256_setr_epi32(at(8), at(9), at(10), at(11), at(12), at(13), at(14), at(15));
  return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
}

// Sixteen texels at offsets within 32 of each other (a sprite drawn at up to
// twice or down to half its size) come from two plain loads and one
// permutation, side by side from one load; others are loaded one by one.
// `limit` is the number of texels that may be read from `texels`.
VDX_AVX512 inline __m512i LoadTexelsNear16(const Constants& k, const std::uint32_t* texels,
                                           const std::int32_t* columns, std::int32_t limit) {
  const std::int32_t base = std::min(columns[0], columns[15]);
  if (base >= 0 && base <= limit - 16) {
    const __m512i index = _mm512_sub_epi32(_mm512_loadu_si512(columns), _mm512_set1_epi32(base));
    if (_mm512_cmpeq_epi32_mask(index, k.lanes) == 0xFFFF) return _mm512_loadu_si512(texels + base);
    if (base <= limit - 32 && _mm512_cmple_epu32_mask(index, k.thirtyOne) == 0xFFFF)
      return _mm512_permutex2var_epi32(_mm512_loadu_si512(texels + base), index,
                                       _mm512_loadu_si512(texels + base + 16));
  }
  return LoadTexels16(texels, columns, 16);
}

// Shades the pixels of `lanes` at out from loaded texels; key texels, and
// lanes outside `lanes`, are not written. With `readable`, all sixteen pixels
// at out may be read (a plain load is quicker than a masked one, above all
// just after a masked store to the same place).
template <class M>
VDX_AVX512 inline void ShadeGroup(const Constants& k, std::uint32_t* out, __m512i t,
                                  __mmask16 lanes, bool readable) {
  if constexpr (M::keyed) {
    lanes &= _mm512_cmpneq_epi32_mask(_mm512_and_si512(t, k.bits565), k.keyBits);
    if (lanes == 0) return;
  }
  __m512i result;
  if constexpr (M::copy) {
    result = _mm512_and_si512(t, k.colour);
  } else {
    const __m512i d = readable ? _mm512_loadu_si512(out) : _mm512_maskz_loadu_epi32(lanes, out);
    const __m512i lo =
        Shade32<M>(k, _mm512_unpacklo_epi8(t, k.zero), _mm512_unpacklo_epi8(d, k.zero));
    const __m512i hi =
        Shade32<M>(k, _mm512_unpackhi_epi8(t, k.zero), _mm512_unpackhi_epi8(d, k.zero));
    result = _mm512_and_si512(_mm512_packus_epi16(lo, hi), k.colour);
  }
  _mm512_mask_storeu_epi32(out, lanes, result);
}

VDX_AVX512 inline __mmask16 FirstLanes(int count) {
  return static_cast<__mmask16>((1u << count) - 1u);
}

template <class M>
VDX_AVX512 void ShadeRowsIn(const SpanRows& r, const std::int32_t* columns, int n,
                            const SpanShading& s) {
  const Constants k = MakeConstants(s);
  for (int j = 0; j < r.rows; ++j) {
    std::uint32_t* out = r.out + j * r.stride;
    const std::uint32_t* texels = RowTexels(r, j);
    const std::int32_t limit =
        r.texelCount > 0 ? r.texelCount - static_cast<std::int32_t>(texels - r.texels) : 0;
    const RowRun run = RunOf(r, j, n);
    int i = run.from;
    for (; i + 16 <= run.to; i += 16)
      ShadeGroup<M>(k, out + i, LoadTexelsNear16(k, texels, columns + i, limit), 0xFFFF, true);
    if (i < run.to)
      ShadeGroup<M>(k, out + i, LoadTexels16(texels, columns + i, run.to - i),
                    FirstLanes(run.to - i), false);
  }
}

// A turned sprite's rows, with one set-up for them all: each group's texel
// offsets are worked out as it is shaded.
template <class M>
VDX_AVX512 void ShadeTurnedRowsIn(Surface& target, const TurnedTexture& texture,
                                  const TurnedRow* rows, int count, const SpanShading& s) {
  const Constants k = MakeConstants(s);
  const __m512i laneU = _mm512_mullo_epi32(k.lanes, _mm512_set1_epi32(texture.du));
  const __m512i laneV = _mm512_mullo_epi32(k.lanes, _mm512_set1_epi32(texture.dv));
  const __m512i stepU = _mm512_set1_epi32(static_cast<int>(texture.du * 16u));
  const __m512i stepV = _mm512_set1_epi32(static_cast<int>(texture.dv * 16u));
  const __m512i hiU = _mm512_set1_epi32(texture.maxU), hiV = _mm512_set1_epi32(texture.maxV);
  const __m512i width = _mm512_set1_epi32(texture.width);
  alignas(64) std::int32_t offsets[16];
  const std::uint32_t* bufferEnd = target.pixels.data() + target.pixels.size();
  for (int r = 0; r < count; ++r) {
    const TurnedRow& row = rows[r];
    std::uint32_t* span =
        &target.pixels[static_cast<std::size_t>(row.y) * target.width + row.first];
    if (!OffsetsFit(row.count, row.u, row.v, texture)) {
      ShadeFarTurnedRow(span, row, texture, 16,
                        [&](std::uint32_t* out, const std::int32_t* offsets, int c) VDX_AVX512 {
                          ShadeGroup<M>(k, out, LoadTexels16(texture.texels, offsets, c),
                                        FirstLanes(c), c == 16);
                        });
      continue;
    }
    __m512i su = _mm512_add_epi32(_mm512_set1_epi32(row.u), laneU);
    __m512i sv = _mm512_add_epi32(_mm512_set1_epi32(row.v), laneV);
    for (int i = 0; i < row.count; i += 16) {
      const __m512i cu = _mm512_srai_epi32(_mm512_min_epi32(_mm512_max_epi32(su, k.zero), hiU), 16);
      const __m512i cv = _mm512_srai_epi32(_mm512_min_epi32(_mm512_max_epi32(sv, k.zero), hiV), 16);
      _mm512_store_si512(offsets, _mm512_add_epi32(_mm512_mullo_epi32(cv, width), cu));
      const int c = std::min(16, row.count - i);
      ShadeGroup<M>(k, span + i, LoadTexels16(texture.texels, offsets, c), FirstLanes(c),
                    span + i + 16 <= bufferEnd);
      su = _mm512_add_epi32(su, stepU);
      sv = _mm512_add_epi32(sv, stepV);
    }
  }
}

}  // namespace

void ShadeRowsAvx512(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s) {
  RunInMode(s, [&](auto mode) { ShadeRowsIn<decltype(mode)>(r, columns, n, s); });
}

void ShadeTurnedRowsAvx512(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                           int count, const SpanShading& s) {
  RunInMode(s,
            [&](auto mode) { ShadeTurnedRowsIn<decltype(mode)>(target, texture, rows, count, s); });
}

}  // namespace vdx

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif
