#include "graphics/sprite_texture_map.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vdx {
namespace {

constexpr double kFix = 65536.0;  // 16.16 fixed point

// floor() for values well inside the 64-bit range, without a library call or
// a branch (the values are the unpredictable starts of a turned sprite's rows).
double Floor(double x) {
  const double t = static_cast<double>(static_cast<std::int64_t>(x));
  return t - static_cast<double>(t > x);
}

std::int32_t FixedStart(double texels) {
  return static_cast<std::int32_t>(Floor(std::clamp(texels * kFix, -2e9, 2e9)));
}

void TexelColumnsScalar(std::int32_t* out, int n, std::int64_t first, const TextureMap& map,
                        int width) {
  for (int i = 0; i < n; ++i) {
    const double xc = static_cast<double>(first + i);
    out[i] = TexelIndex(map.u0 + map.a(xc, map.y1) * map.du, map.texW, width);
  }
}

void TexelRowsScalar(std::int32_t* out, int n, std::int64_t first, const TextureMap& map, int width,
                     int height) {
  for (int i = 0; i < n; ++i) {
    const double yc = static_cast<double>(first + i);
    out[i] = TexelIndex(map.v0 + map.b(map.x1, yc) * map.dv, map.texH, height) * width;
  }
}

#if defined(__x86_64__)
// The same sums four at a time, in the same order, so the same numbers.
// TexelIndex's cases become a maximum (which also takes a NaN to 0) and a
// minimum just under the size, whose truncation is the last texel.
__attribute__((target("avx2"))) __m128i TexelIndex4(__m256d coordinate, __m256d size, int n) {
  const __m256d t = _mm256_mul_pd(coordinate, size);
  const __m256d held = _mm256_min_pd(_mm256_max_pd(t, _mm256_setzero_pd()),
                                     _mm256_set1_pd(static_cast<double>(n) - 0.5));
  return _mm256_cvttpd_epi32(held);
}

// Four values, or the first `count` of them when that is under four.
__attribute__((target("avx2"))) inline void Store4(std::int32_t* out, int count, __m128i values) {
  if (count >= 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), values);
    return;
  }
  alignas(16) std::int32_t four[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(four), values);
  for (int i = 0; i < count; ++i)
    out[i] = four[i];
}

__attribute__((target("avx2"))) void TexelColumnsAvx2(std::int32_t* out, int n, std::int64_t first,
                                                      const TextureMap& map, int width) {
  const __m256d lanes = _mm256_setr_pd(0, 1, 2, 3);
  const __m256d y = _mm256_set1_pd(map.y1), x1 = _mm256_set1_pd(map.x1),
                y1 = _mm256_set1_pd(map.y1), evx = _mm256_set1_pd(map.evx),
                evy = _mm256_set1_pd(map.evy), inverseDet = _mm256_set1_pd(map.inverseDet),
                u0 = _mm256_set1_pd(map.u0), du = _mm256_set1_pd(map.du),
                texW = _mm256_set1_pd(map.texW);
  for (int i = 0; i < n; i += 4) {
    const __m256d x = _mm256_add_pd(_mm256_set1_pd(static_cast<double>(first + i)), lanes);
    const __m256d a = _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(x, x1), evy),
                                                  _mm256_mul_pd(_mm256_sub_pd(y, y1), evx)),
                                    inverseDet);
    Store4(out + i, n - i, TexelIndex4(_mm256_add_pd(u0, _mm256_mul_pd(a, du)), texW, width));
  }
}

__attribute__((target("avx2"))) void TexelRowsAvx2(std::int32_t* out, int n, std::int64_t first,
                                                   const TextureMap& map, int width, int height) {
  const __m256d lanes = _mm256_setr_pd(0, 1, 2, 3);
  const __m256d x = _mm256_set1_pd(map.x1), x1 = _mm256_set1_pd(map.x1),
                y1 = _mm256_set1_pd(map.y1), eux = _mm256_set1_pd(map.eux),
                euy = _mm256_set1_pd(map.euy), inverseDet = _mm256_set1_pd(map.inverseDet),
                v0 = _mm256_set1_pd(map.v0), dv = _mm256_set1_pd(map.dv),
                texH = _mm256_set1_pd(map.texH);
  const __m128i w = _mm_set1_epi32(width);
  for (int i = 0; i < n; i += 4) {
    const __m256d y = _mm256_add_pd(_mm256_set1_pd(static_cast<double>(first + i)), lanes);
    const __m256d b = _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(eux, _mm256_sub_pd(y, y1)),
                                                  _mm256_mul_pd(euy, _mm256_sub_pd(x, x1))),
                                    inverseDet);
    Store4(out + i, n - i,
           _mm_mullo_epi32(TexelIndex4(_mm256_add_pd(v0, _mm256_mul_pd(b, dv)), texH, height), w));
  }
}
#endif

void TurnedRowStartsScalar(TurnedRow* rows, int count, const TextureMap& map) {
  for (int r = 0; r < count; ++r) {
    TurnedRow& row = rows[r];
    const double xc = row.first, yc = row.y;
    row.u = FixedStart((map.u0 + map.a(xc, yc) * map.du) * map.texW);
    row.v = FixedStart((map.v0 + map.b(xc, yc) * map.dv) * map.texH);
  }
}

#if defined(__x86_64__)
// Four rows at a time, in the same order of operations; the floor of a value
// held to +-2e9 is exactly the rounding towards minus infinity.
__attribute__((target("avx2"))) __m128i FixedStart4(__m256d texels) {
  const __m256d held = _mm256_min_pd(
      _mm256_max_pd(_mm256_mul_pd(texels, _mm256_set1_pd(kFix)), _mm256_set1_pd(-2e9)),
      _mm256_set1_pd(2e9));
  return _mm256_cvttpd_epi32(_mm256_round_pd(held, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
}

__attribute__((target("avx2"))) void TurnedRowStartsAvx2(TurnedRow* rows, int count,
                                                         const TextureMap& map) {
  static_assert(sizeof(TurnedRow) == 5 * sizeof(std::int32_t));
  const __m256d x1 = _mm256_set1_pd(map.x1), y1 = _mm256_set1_pd(map.y1),
                eux = _mm256_set1_pd(map.eux), euy = _mm256_set1_pd(map.euy),
                evx = _mm256_set1_pd(map.evx), evy = _mm256_set1_pd(map.evy),
                inverseDet = _mm256_set1_pd(map.inverseDet), u0 = _mm256_set1_pd(map.u0),
                du = _mm256_set1_pd(map.du), v0 = _mm256_set1_pd(map.v0),
                dv = _mm256_set1_pd(map.dv), texW = _mm256_set1_pd(map.texW),
                texH = _mm256_set1_pd(map.texH);
  int r = 0;
  for (; r + 4 <= count; r += 4) {
    TurnedRow* four = rows + r;
    const __m256d x = _mm256_setr_pd(four[0].first, four[1].first, four[2].first, four[3].first);
    const __m256d y = _mm256_setr_pd(four[0].y, four[1].y, four[2].y, four[3].y);
    const __m256d dx = _mm256_sub_pd(x, x1), dy = _mm256_sub_pd(y, y1);
    const __m256d a =
        _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(dx, evy), _mm256_mul_pd(dy, evx)), inverseDet);
    const __m256d b =
        _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(eux, dy), _mm256_mul_pd(euy, dx)), inverseDet);
    alignas(16) std::int32_t u[4], v[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(u),
                    FixedStart4(_mm256_mul_pd(_mm256_add_pd(u0, _mm256_mul_pd(a, du)), texW)));
    _mm_store_si128(reinterpret_cast<__m128i*>(v),
                    FixedStart4(_mm256_mul_pd(_mm256_add_pd(v0, _mm256_mul_pd(b, dv)), texH)));
    for (int i = 0; i < 4; ++i) {
      four[i].u = u[i];
      four[i].v = v[i];
    }
  }
  TurnedRowStartsScalar(rows + r, count - r, map);
}
#endif

}  // namespace

void TexelColumns(std::int32_t* out, int n, std::int64_t first, const TextureMap& map, int width,
                  bool vector) {
#if defined(__x86_64__)
  if (vector) return TexelColumnsAvx2(out, n, first, map, width);
#endif
  (void)vector;
  TexelColumnsScalar(out, n, first, map, width);
}

void TexelRows(std::int32_t* out, int n, std::int64_t first, const TextureMap& map, int width,
               int height, bool vector) {
#if defined(__x86_64__)
  if (vector) return TexelRowsAvx2(out, n, first, map, width, height);
#endif
  (void)vector;
  TexelRowsScalar(out, n, first, map, width, height);
}

void TurnedRowStarts(TurnedRow* rows, int count, const TextureMap& map, bool vector) {
#if defined(__x86_64__)
  if (vector) return TurnedRowStartsAvx2(rows, count, map);
#endif
  (void)vector;
  TurnedRowStartsScalar(rows, count, map);
}

}  // namespace vdx
