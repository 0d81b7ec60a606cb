#include "graphics/sprite_rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>

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
  double x1, y1, eux, euy, evx, evy, det;
  double u0, du, v0, dv;
  double texW, texH;

  double a(double x, double y) const { return ((x - x1) * evy - (y - y1) * evx) / det; }
  double b(double x, double y) const { return (eux * (y - y1) - euy * (x - x1)) / det; }
};

// Coordinates past the texture's edge take its edge texel. (The sprite's
// coordinates run a little past 1 at its far side when it is drawn larger than
// its piece; wrapping round would paint a column of the opposite edge there.)
int TexelIndex(double coordinate, double size, int n) {
  const double t = std::floor(coordinate * size);
  if (!(t > 0)) return 0;
  return t >= n ? n - 1 : static_cast<int>(t);
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
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || std::fabs(v.x) > 1e7f ||
        std::fabs(v.y) > 1e7f)
      return;

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
    // only and the row on y only.
    for (std::int64_t start = x0; start < x1; start += kChunk) {
      const int n = static_cast<int>(std::min<std::int64_t>(kChunk, x1 - start));
      for (int i = 0; i < n; ++i) {
        const double xc = static_cast<double>(start + i);
        columns[i] = TexelIndex(map.u0 + map.a(xc, map.y1) * map.du, map.texW, texture.width);
      }
      for (std::int64_t y = y0; y < y1; ++y) {
        const double yc = static_cast<double>(y);
        const int row = TexelIndex(map.v0 + map.b(map.x1, yc) * map.dv, map.texH, texture.height);
        ShadeSpan(&target.pixels[static_cast<std::size_t>(y) * target.width + start],
                  &texture.pixels[static_cast<std::size_t>(row) * texture.width], columns.data(), n,
                  shading, path);
      }
    }
    return;
  }

  // General quads: edge functions with the top-left rule, and the texture map
  // at every covered pixel centre.
  struct Edge {
    std::int64_t ax, ay, dx, dy;
    bool inclusive;
  };
  std::array<Edge, 4> edges;
  for (int i = 0; i < 4; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % 4];
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    edges[i] = {a.x, a.y, dx, dy, (dy == 0 && dx > 0) || dy < 0};
  }
  std::array<std::uint32_t, kChunk> gathered;
  for (std::int64_t y = y0; y < y1; ++y) {
    const std::int64_t py = y * kOne;
    // The covered span of this row: the quad is convex, so it is one run.
    std::int64_t first = -1, last = -1;
    for (std::int64_t x = x0; x < x1; ++x) {
      const std::int64_t px = x * kOne;
      bool inside = true;
      for (const Edge& e : edges) {
        const std::int64_t f = e.dx * (py - e.ay) - e.dy * (px - e.ax);
        if (f < 0 || (f == 0 && !e.inclusive)) {
          inside = false;
          break;
        }
      }
      if (inside) {
        if (first < 0) first = x;
        last = x;
      } else if (first >= 0) {
        break;
      }
    }
    if (first < 0) continue;
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(y) * target.width];
    const double yc = static_cast<double>(y);
    for (std::int64_t start = first; start <= last; start += kChunk) {
      const int n = static_cast<int>(std::min<std::int64_t>(kChunk, last + 1 - start));
      for (int i = 0; i < n; ++i) {
        const double xc = static_cast<double>(start + i);
        const int column = TexelIndex(map.u0 + map.a(xc, yc) * map.du, map.texW, texture.width);
        const int row = TexelIndex(map.v0 + map.b(xc, yc) * map.dv, map.texH, texture.height);
        gathered[i] = texture.pixels[static_cast<std::size_t>(row) * texture.width + column];
        columns[i] = i;
      }
      ShadeSpan(out + start, gathered.data(), columns.data(), n, shading, path);
    }
  }
}

}  // namespace vdx
