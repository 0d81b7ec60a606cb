#include "graphics/sprite_rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "graphics/sprite_span.h"

namespace vdx {
namespace {

constexpr int kSubpixelBits = 8;  // vertex positions are snapped to 1/256 pixel
constexpr std::int64_t kOne = std::int64_t{1} << kSubpixelBits;

std::int64_t Fixed(float v) {
  return static_cast<std::int64_t>(std::nearbyint(double{v} * kOne));
}

// Smallest pixel index p with p * kOne >= value.
std::int64_t CeilPixel(std::int64_t value) {
  return value >= 0 ? (value + kOne - 1) >> kSubpixelBits : -((-value) >> kSubpixelBits);
}

struct Point {
  std::int64_t x, y;
};

// The map from a screen position to texture coordinates, from three corners:
// p = P1 + a (P3 - P1) + b (P0 - P1), u = uLeft + a (uRight - uLeft), v likewise.
struct TextureMap {
  double x1, y1, eux, euy, evx, evy, det, inverseDet;
  double u0, du, v0, dv;
  double texW, texH;

  double a(double x, double y) const { return ((x - x1) * evy - (y - y1) * evx) * inverseDet; }
  double b(double x, double y) const { return (eux * (y - y1) - euy * (x - x1)) * inverseDet; }
};

// Coordinates past the texture's edge take its edge texel. (The sprite's
// coordinates run a little past 1 at its far side when it is drawn larger than
// its piece; wrapping round would paint a column of the opposite edge there.)
int TexelIndex(double coordinate, double size, int n) {
  const double t = coordinate * size;
  if (!(t > 0)) return 0;                       // below the edge (or not a number)
  return t >= n ? n - 1 : static_cast<int>(t);  // truncation is the floor here
}

// floor() for values well inside the 64-bit range, without a library call.
double Floor(double x) {
  const double t = static_cast<double>(static_cast<std::int64_t>(x));
  return t > x ? t - 1.0 : t;
}

// The texel offset of each pixel of a span: coordinates stepped in 16.16 fixed
// point, held to the texture's edges. The vector version computes the same
// integers; spans whose sums could leave 32 bits take the 64-bit loop.
void TexelOffsetsScalar(std::int32_t* out, int n, std::int32_t u, std::int32_t v, std::int32_t du,
                        std::int32_t dv, std::int32_t maxU, std::int32_t maxV, std::int32_t width) {
  for (int i = 0; i < n; ++i) {
    const std::int64_t su = std::int64_t{u} + std::int64_t{du} * i;
    const std::int64_t sv = std::int64_t{v} + std::int64_t{dv} * i;
    const auto cu = static_cast<std::int32_t>(std::clamp<std::int64_t>(su, 0, maxU) >> 16);
    const auto cv = static_cast<std::int32_t>(std::clamp<std::int64_t>(sv, 0, maxV) >> 16);
    out[i] = cv * width + cu;
  }
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void TexelOffsetsAvx2(std::int32_t* out, int n, std::int32_t u,
                                                      std::int32_t v, std::int32_t du,
                                                      std::int32_t dv, std::int32_t maxU,
                                                      std::int32_t maxV, std::int32_t width) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i su =
      _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(du)));
  __m256i sv =
      _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(dv)));
  const __m256i stepU = _mm256_set1_epi32(du * 8), stepV = _mm256_set1_epi32(dv * 8);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i hiU = _mm256_set1_epi32(maxU), hiV = _mm256_set1_epi32(maxV);
  const __m256i w = _mm256_set1_epi32(width);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i cu = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(su, zero), hiU), 16);
    const __m256i cv = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(sv, zero), hiV), 16);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_add_epi32(_mm256_mullo_epi32(cv, w), cu));
    su = _mm256_add_epi32(su, stepU);
    sv = _mm256_add_epi32(sv, stepV);
  }
  if (i < n) {
    const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(n - i), lanes);
    const __m256i cu = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(su, zero), hiU), 16);
    const __m256i cv = _mm256_srai_epi32(_mm256_min_epi32(_mm256_max_epi32(sv, zero), hiV), 16);
    _mm256_maskstore_epi32(out + i, mask, _mm256_add_epi32(_mm256_mullo_epi32(cv, w), cu));
  }
}
#endif

void TexelOffsets(std::int32_t* out, int n, std::int32_t u, std::int32_t v, std::int32_t du,
                  std::int32_t dv, std::int32_t maxU, std::int32_t maxV, std::int32_t width,
                  RasterPath path) {
#if defined(__x86_64__)
  const std::int64_t reach =
      std::int64_t{n} * std::max(std::abs(std::int64_t{du}), std::abs(std::int64_t{dv}));
  const bool fits = std::abs(std::int64_t{u}) + reach < (std::int64_t{1} << 30) &&
                    std::abs(std::int64_t{v}) + reach < (std::int64_t{1} << 30);
  static const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  if (fits && hasAvx2 && path != RasterPath::Scalar && path != RasterPath::Sse2) {
    TexelOffsetsAvx2(out, n, u, v, du, dv, maxU, maxV, width);
    return;
  }
#endif
  (void)path;
  TexelOffsetsScalar(out, n, u, v, du, dv, maxU, maxV, width);
}

}  // namespace

SpriteBlend SpriteBlendOf(std::int16_t blendMode) {
  switch (blendMode) {
    case 1:
      return SpriteBlend::Additive;
    case 2:
      return SpriteBlend::Black;
    case 3:
      return SpriteBlend::ColourWeighted;
    default:
      return SpriteBlend::Alpha;
  }
}

void RasterizeQuad(Surface& target, const Surface& texture, const SpriteQuad& quad,
                   SpriteBlend blend, RasterPath path) {
  if (texture.width <= 0 || texture.height <= 0 || target.width <= 0 || target.height <= 0) return;
  for (const SpriteVertex& v : quad)
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || std::fabs(v.x) > 1e6f ||
        std::fabs(v.y) > 1e6f)
      return;  // far off screen (and the edge arithmetic stays within 64 bits)

  // Around the outline: bottom-left, top-left, top-right, bottom-right.
  std::array<Point, 4> p = {
      Point{Fixed(quad[0].x), Fixed(quad[0].y)}, Point{Fixed(quad[1].x), Fixed(quad[1].y)},
      Point{Fixed(quad[3].x), Fixed(quad[3].y)}, Point{Fixed(quad[2].x), Fixed(quad[2].y)}};
  std::int64_t area = 0;
  for (int i = 0; i < 4; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % 4];
    area += a.x * b.y - b.x * a.y;
  }
  if (area == 0) return;
  if (area < 0) std::reverse(p.begin(), p.end());

  TextureMap map;
  map.x1 = quad[1].x;
  map.y1 = quad[1].y;
  map.eux = double{quad[3].x} - quad[1].x;
  map.euy = double{quad[3].y} - quad[1].y;
  map.evx = double{quad[0].x} - quad[1].x;
  map.evy = double{quad[0].y} - quad[1].y;
  map.det = map.eux * map.evy - map.euy * map.evx;
  if (map.det == 0) return;
  map.inverseDet = 1.0 / map.det;
  map.u0 = quad[1].u;
  map.du = double{quad[3].u} - quad[1].u;
  map.v0 = quad[1].v;
  map.dv = double{quad[0].v} - quad[1].v;
  map.texW = texture.width;
  map.texH = texture.height;

  const SpanShading shading = MakeSpanShading(texture, quad[0].diffuse, blend);

  std::int64_t minX = p[0].x, maxX = p[0].x, minY = p[0].y, maxY = p[0].y;
  for (const Point& q : p) {
    minX = std::min(minX, q.x);
    maxX = std::max(maxX, q.x);
    minY = std::min(minY, q.y);
    maxY = std::max(maxY, q.y);
  }
  const std::int64_t x0 = std::max<std::int64_t>(0, CeilPixel(minX));
  const std::int64_t x1 = std::min<std::int64_t>(target.width, CeilPixel(maxX));
  const std::int64_t y0 = std::max<std::int64_t>(0, CeilPixel(minY));
  const std::int64_t y1 = std::min<std::int64_t>(target.height, CeilPixel(maxY));
  if (x0 >= x1 || y0 >= y1) return;

  // The fast path needs straight edges and a texture that runs along them (a
  // quarter-turned quad has straight edges but its texture runs across).
  bool axisAligned = map.euy == 0 && map.evx == 0;
  for (int i = 0; i < 4; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % 4];
    if (a.x != b.x && a.y != b.y) axisAligned = false;
  }

  // The texel column of every pixel of a span, reused row to row.
  constexpr int kChunk = 1024;
  std::array<std::int32_t, kChunk> columns;

  if (axisAligned) {
    // Every pixel of the bounding box is inside; the texel column depends on x
    // only and the row on y only, so both are worked out once.
    std::array<std::int32_t, kChunk> rows;
    for (std::int64_t top = y0; top < y1; top += kChunk) {
      const int rowCount = static_cast<int>(std::min<std::int64_t>(kChunk, y1 - top));
      for (int j = 0; j < rowCount; ++j) {
        const double yc = static_cast<double>(top + j);
        rows[j] = TexelIndex(map.v0 + map.b(map.x1, yc) * map.dv, map.texH, texture.height) *
                  texture.width;
      }
      for (std::int64_t start = x0; start < x1; start += kChunk) {
        const int n = static_cast<int>(std::min<std::int64_t>(kChunk, x1 - start));
        for (int i = 0; i < n; ++i) {
          const double xc = static_cast<double>(start + i);
          columns[i] = TexelIndex(map.u0 + map.a(xc, map.y1) * map.du, map.texW, texture.width);
        }
        ShadeRows(SpanRows{&target.pixels[static_cast<std::size_t>(top) * target.width + start],
                           target.width, texture.pixels.data(), rows.data(), rowCount},
                  columns.data(), n, shading, path);
      }
    }
    return;
  }

  // General quads: each edge function is linear along a row, so the covered
  // span of a row is found from the four edges directly (top-left rule for
  // pixel centres on an edge). Texture coordinates step across the span in
  // 32.32 fixed point from the exact map at its first pixel.
  struct Edge {
    std::int64_t ax, ay, dx, dy;
    bool inclusive;
    double inverseScale;  // 1 / (dy * kOne), for the first guess of a span's end
  };
  std::array<Edge, 4> edges;
  for (int i = 0; i < 4; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % 4];
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    edges[i] = {a.x,
                a.y,
                dx,
                dy,
                (dy == 0 && dx > 0) || dy < 0,
                dy == 0 ? 0.0 : 1.0 / static_cast<double>(dy * kOne)};
  }
  // Texture coordinates in texels, 16.16 fixed point: textures are far smaller
  // than 32768 texels, and 1/65536 of a texel per pixel drifts by at most a
  // hundredth of a texel across the screen.
  if (texture.width >= 32768 || texture.height >= 32768) return;
  const double stepA = map.evy * map.inverseDet, stepB = -map.euy * map.inverseDet;
  constexpr double kFix = 65536.0;
  const auto fixedStepU = static_cast<std::int32_t>(
      std::clamp(std::nearbyint(stepA * map.du * map.texW * kFix), -2e9, 2e9));
  const auto fixedStepV = static_cast<std::int32_t>(
      std::clamp(std::nearbyint(stepB * map.dv * map.texH * kFix), -2e9, 2e9));
  const std::int32_t maxU = (texture.width << 16) - 1;
  const std::int32_t maxV = (texture.height << 16) - 1;
  for (std::int64_t y = y0; y < y1; ++y) {
    const std::int64_t py = y * kOne;
    std::int64_t first = x0, last = x1 - 1;
    for (const Edge& e : edges) {
      // f(px) = k - dy * kOne * px is inside when f > 0 (or f == 0 on an
      // inclusive edge). The bound comes from a floating estimate, then exact
      // 64-bit tests move it onto the right pixel.
      const std::int64_t k = e.dx * (py - e.ay) + e.dy * e.ax;
      if (e.dy == 0) {
        if (k < 0 || (k == 0 && !e.inclusive)) first = last + 1;
        continue;
      }
      const std::int64_t scale = e.dy * kOne;
      const auto inside = [&](std::int64_t px) {
        const std::int64_t f = k - scale * px;
        return f > 0 || (f == 0 && e.inclusive);
      };
      auto estimate = static_cast<std::int64_t>(Floor(static_cast<double>(k) * e.inverseScale));
      estimate = std::clamp<std::int64_t>(estimate, x0 - 2, x1 + 2);
      if (e.dy > 0) {
        // Inside up to a last pixel.
        while (estimate >= x0 - 2 && !inside(estimate))
          --estimate;
        while (estimate <= x1 + 1 && inside(estimate + 1))
          ++estimate;
        last = std::min(last, estimate);
      } else {
        // Inside from a first pixel.
        while (estimate <= x1 + 1 && !inside(estimate))
          ++estimate;
        while (estimate >= x0 - 1 && inside(estimate - 1))
          --estimate;
        first = std::max(first, estimate);
      }
    }
    if (first > last) continue;
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(y) * target.width];
    const double xc = static_cast<double>(first), yc = static_cast<double>(y);
    const auto fixedStart = [kFix](double texels) {
      return static_cast<std::int32_t>(Floor(std::clamp(texels * kFix, -2e9, 2e9)));
    };
    std::int32_t fu = fixedStart((map.u0 + map.a(xc, yc) * map.du) * map.texW);
    std::int32_t fv = fixedStart((map.v0 + map.b(xc, yc) * map.dv) * map.texH);
    // The span's texels as offsets into the texture, gathered by the shading.
    for (std::int64_t start = first; start <= last; start += kChunk) {
      const int n = static_cast<int>(std::min<std::int64_t>(kChunk, last + 1 - start));
      TexelOffsets(columns.data(), n, fu, fv, fixedStepU, fixedStepV, maxU, maxV, texture.width,
                   path);
      fu += static_cast<std::int32_t>(static_cast<std::int64_t>(fixedStepU) * n);
      fv += static_cast<std::int32_t>(static_cast<std::int64_t>(fixedStepV) * n);
      ShadeSpan(out + start, texture.pixels.data(), columns.data(), n, shading, path);
    }
  }
}

}  // namespace vdx
