#include "graphics/sprite_rasterizer.h"

#include "graphics/rounding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

#include "graphics/sprite_span.h"
#include "graphics/sprite_texture_map.h"

namespace vdx {
namespace {

constexpr int kSubpixelBits = 8;  // vertex positions are snapped to 1/256 pixel
constexpr std::int64_t kOne = std::int64_t{1} << kSubpixelBits;

std::int64_t Fixed(float v) {
  return static_cast<std::int64_t>(RoundEven(double{v} * kOne));
}

// Smallest pixel index p with p * kOne >= value.
std::int64_t CeilPixel(std::int64_t value) {
  return value >= 0 ? (value + kOne - 1) >> kSubpixelBits : -((-value) >> kSubpixelBits);
}

struct Point {
  std::int64_t x, y;
};

// A table of width + 1 entries: on the stack for ordinary pictures.
std::span<std::int32_t> ColumnTable(std::vector<std::int32_t>& wide,
                                    std::array<std::int32_t, 1025>& narrow, int width) {
  const auto size = static_cast<std::size_t>(width) + 1;
  if (size <= narrow.size()) return {narrow.data(), size};
  wide.resize(size);
  return {wide.data(), size};
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

  const bool vectorCoordinates =
      path != RasterPath::Scalar && path != RasterPath::Sse2 && HasAvx2();
  const auto texelCount = static_cast<std::int32_t>(
      std::min<std::size_t>(texture.pixels.size(), std::numeric_limits<std::int32_t>::max()));

  // The texel column of every pixel of a span, reused row to row.
  constexpr int kChunk = 1024;
  std::array<std::int32_t, kChunk> columns;

  if (axisAligned) {
    // Every pixel of the bounding box is inside; the texel column depends on x
    // only and the row on y only, so both are worked out once.
    std::array<std::int32_t, kChunk> rows;
    std::array<RowRun, kChunk> runs;
    std::array<std::int32_t, kChunk + 1> narrowTable;
    std::vector<std::int32_t> wideTable;
    for (std::int64_t top = y0; top < y1; top += kChunk) {
      const int rowCount = static_cast<int>(std::min<std::int64_t>(kChunk, y1 - top));
      TexelRows(rows.data(), rowCount, top, map, texture.width, texture.height, vectorCoordinates);
      for (std::int64_t start = x0; start < x1; start += kChunk) {
        const int n = static_cast<int>(std::min<std::int64_t>(kChunk, x1 - start));
        TexelColumns(columns.data(), n, start, map, texture.width, vectorCoordinates);
        std::uint32_t* out = &target.pixels[static_cast<std::size_t>(top) * target.width + start];
        if (texture.drawnColumns.size() != static_cast<std::size_t>(texture.height) ||
            !shading.keyed || texture.drawnColumnsKey != shading.key565) {
          ShadeRows(
              SpanRows{out, target.width, texture.pixels.data(), rows.data(), rowCount, texelCount},
              columns.data(), n, shading, path);
          continue;
        }
        // Keyed margins are passed over: the columns run one way (left to right
        // or, mirrored, right to left), so the pixels whose texels lie in a
        // row's drawn columns are one run. below[c] counts the pixels whose
        // texel column is under c (a histogram summed up, without branches),
        // so a run is read off for each row.
        const bool increasing = columns[0] <= columns[n - 1];
        const std::span<std::int32_t> below = ColumnTable(wideTable, narrowTable, texture.width);
        std::fill(below.begin(), below.end(), 0);
        for (int i = 0; i < n; ++i)
          ++below[static_cast<std::size_t>(columns[i]) + 1];
        for (std::size_t c = 1; c < below.size(); ++c)
          below[c] += below[c - 1];
        for (int j = 0; j < rowCount; ++j) {
          const auto& drawn =
              texture.drawnColumns[static_cast<std::size_t>(rows[j] / texture.width)];
          if (drawn.first > drawn.last) {
            runs[j] = {0, 0};
            continue;
          }
          const std::int32_t left = below[static_cast<std::size_t>(drawn.first)];
          const std::int32_t right = below[static_cast<std::size_t>(drawn.last) + 1];
          runs[j] = increasing ? RowRun{left, right} : RowRun{n - right, n - left};
        }
        SpanRows spans{out, target.width, texture.pixels.data(), rows.data(), rowCount, texelCount};
        spans.runs = runs.data();
        ShadeRows(spans, columns.data(), n, shading, path);
      }
    }
    return;
  }

  // General quads. Along a row each edge function is linear, so a row's span
  // ends are floor divisions; from row to row their numerators grow by a fixed
  // amount, so the divisions are carried on exactly with remainders. Pixel
  // centres on an edge follow the top-left rule.
  struct EdgeWalk {
    bool bounds;                               // false: a horizontal edge, all or nothing for a row
    bool right;                                // bounds the last pixel (else the first)
    std::int64_t q, r, divisor, stepQ, stepR;  // floor(numerator / divisor), remainder
    std::int64_t k, dk;                        // horizontal edges: the edge value
    bool inclusive;
  };
  std::array<EdgeWalk, 4> walks;
  for (int i = 0; i < 4; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % 4];
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    EdgeWalk& w = walks[i];
    w.inclusive = (dy == 0 && dx > 0) || dy < 0;
    // f(px, py) = k(py) - dy * kOne * px, with k(py) = dx * (py - ay) + dy * ax;
    // inside when f >= 1, or f >= 0 on an inclusive edge.
    const std::int64_t k0 = dx * (y0 * kOne - a.y) + dy * a.x;
    const std::int64_t delta = w.inclusive ? 0 : 1;
    w.bounds = dy != 0;
    w.k = k0;
    w.dk = dx * kOne;
    if (!w.bounds) continue;
    // dy > 0: last = floor((k - delta) / (dy kOne)).
    // dy < 0: first = ceil((delta - k) / (-dy kOne)) = floor((delta - k + S - 1) / S).
    w.right = dy > 0;
    w.divisor = std::abs(dy) * kOne;
    const std::int64_t numerator = w.right ? k0 - delta : delta - k0 + w.divisor - 1;
    const std::int64_t step = w.right ? w.dk : -w.dk;
    auto floorDivide = [](std::int64_t n, std::int64_t d, std::int64_t& q, std::int64_t& r) {
      q = n / d;
      r = n % d;
      if (r < 0) {
        --q;
        r += d;
      }
    };
    floorDivide(numerator, w.divisor, w.q, w.r);
    floorDivide(step, w.divisor, w.stepQ, w.stepR);
  }

  // Texture coordinates in texels, 16.16 fixed point: textures are far smaller
  // than 32768 texels, and 1/65536 of a texel per pixel drifts by at most a
  // hundredth of a texel across the screen.
  if (texture.width >= 32768 || texture.height >= 32768) return;
  constexpr double kFix = 65536.0;
  TurnedTexture turned;
  turned.texels = texture.pixels.data();
  turned.texelCount = texelCount;
  turned.width = texture.width;
  turned.du = static_cast<std::int32_t>(
      std::clamp(RoundEven(map.evy * map.inverseDet * map.du * map.texW * kFix), -2e9, 2e9));
  turned.dv = static_cast<std::int32_t>(
      std::clamp(RoundEven(-map.euy * map.inverseDet * map.dv * map.texH * kFix), -2e9, 2e9));
  turned.maxU = (texture.width << 16) - 1;
  turned.maxV = (texture.height << 16) - 1;

  constexpr int kBatch = 256;
  std::array<TurnedRow, kBatch> batch;
  int batched = 0;
  for (std::int64_t y = y0; y < y1; ++y) {
    std::int64_t first = x0, last = x1 - 1;
    for (EdgeWalk& w : walks) {
      if (!w.bounds) {
        if (w.k < 0 || (w.k == 0 && !w.inclusive)) first = last + 1;
        w.k += w.dk;
        continue;
      }
      const std::int64_t q = w.q;
      last = w.right ? std::min(last, q) : last;
      first = w.right ? first : std::max(first, q);
      // Carry the division on to the next row, without a branch.
      w.r += w.stepR;
      const std::int64_t carry = w.r >= w.divisor ? 1 : 0;
      w.q += w.stepQ + carry;
      w.r -= carry * w.divisor;
    }
    if (first > last) continue;
    TurnedRow& row = batch[batched++];
    row.y = static_cast<std::int32_t>(y);
    row.first = static_cast<std::int32_t>(first);
    row.count = static_cast<std::int32_t>(last - first + 1);
    if (batched == kBatch) {
      TurnedRowStarts(batch.data(), batched, map, vectorCoordinates);
      ShadeTurnedRows(target, turned, batch.data(), batched, shading, path);
      batched = 0;
    }
  }
  if (batched > 0) {
    TurnedRowStarts(batch.data(), batched, map, vectorCoordinates);
    ShadeTurnedRows(target, turned, batch.data(), batched, shading, path);
  }
}

}  // namespace vdx
