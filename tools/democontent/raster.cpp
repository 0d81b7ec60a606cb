#include "raster.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace democontent {

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb Scale(Rgb c, double f) {
  auto s = [f](std::uint8_t x) {
    return static_cast<std::uint8_t>(std::clamp<long>(std::lround(x * f), 0, 255));
  };
  return {s(c.r), s(c.g), s(c.b)};
}

Rgb Hex(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v)};
}

Image::Image(int w, int h, Rgb fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}

void Image::blend(int x, int y, Rgb c, double a) {
  if (inside(x, y)) at(x, y) = Mix(at(x, y), c, a);
}

void Image::add(int x, int y, Rgb c, double a) {
  if (!inside(x, y)) return;
  Rgb& p = at(x, y);
  auto s = [a](std::uint8_t base, std::uint8_t light) {
    return static_cast<std::uint8_t>(std::min<long>(255, base + std::lround(light * a)));
  };
  p = {s(p.r, c.r), s(p.g, c.g), s(p.b, c.b)};
}

Rgb Shade(Rgb base, double light) {
  const int level = std::clamp(static_cast<int>(light * kShadeLevels), 0, kShadeLevels - 1);
  // Dark tones lean to a cool shadow, light tones to a warm highlight.
  const double t = (level + 0.5) / kShadeLevels;
  Rgb c = Scale(base, 0.35 + 0.85 * t);
  if (t > 0.8) c = Mix(c, Rgb{255, 250, 235}, (t - 0.8) * 1.2);
  return c;
}

namespace {

// Light from the upper left and a little from the front.
constexpr double kLightX = -0.55, kLightY = -0.65, kLightZ = 0.52;

double Lit(double nx, double ny, double nz) {
  const double d = nx * kLightX + ny * kLightY + nz * kLightZ;
  return std::clamp(0.18 + 0.82 * d, 0.0, 1.0);
}

}  // namespace

void Capsule(Image& img, Vec a, Vec b, double ra, double rb, Rgb base, double outline,
             Paint paint) {
  const double minX = std::min(a.x - ra, b.x - rb) - outline - 1;
  const double maxX = std::max(a.x + ra, b.x + rb) + outline + 1;
  const double minY = std::min(a.y - ra, b.y - rb) - outline - 1;
  const double maxY = std::max(a.y + ra, b.y + rb) + outline + 1;
  const Vec ab = b - a;
  const double len2 = std::max(1e-9, ab.x * ab.x + ab.y * ab.y);
  const double len = std::sqrt(len2);
  const Vec across = {-ab.y / len, ab.x / len};
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
    for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x) {
      if (!img.inside(x, y)) continue;
      const Vec p = {x + 0.5, y + 0.5};
      const Vec ap = p - a;
      const double t = std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0, 1.0);
      const Vec closest = a + ab * t;
      const Vec d = p - closest;
      const double dist = std::sqrt(d.x * d.x + d.y * d.y);
      const double r = ra + (rb - ra) * t;
      if (dist > r + outline) continue;
      if (dist > r || paint == Paint::OutlineOnly) {
        if (paint != Paint::FillOnly) img.at(x, y) = kOutline;
        continue;
      }
      // Normal of a cylinder: across the axis in the picture plane, z towards us.
      const double side = (d.x * across.x + d.y * across.y) / std::max(r, 1e-6);
      const double along = std::sqrt(std::max(0.0, 1.0 - side * side));
      const double nx = across.x * side, ny = across.y * side;
      // Round caps: the end beyond the segment bends away too.
      img.at(x, y) = Shade(base, Lit(nx, ny, along));
    }
  }
}

void Ball(Image& img, Vec c, double r, Rgb base, double outline, Paint paint) {
  for (int y = static_cast<int>(c.y - r - outline - 1);
       y <= static_cast<int>(c.y + r + outline + 1); ++y)
    for (int x = static_cast<int>(c.x - r - outline - 1);
         x <= static_cast<int>(c.x + r + outline + 1); ++x) {
      if (!img.inside(x, y)) continue;
      const double dx = (x + 0.5 - c.x), dy = (y + 0.5 - c.y);
      const double dist = std::sqrt(dx * dx + dy * dy);
      if (dist > r + outline) continue;
      if (dist > r || paint == Paint::OutlineOnly) {
        if (paint != Paint::FillOnly) img.at(x, y) = kOutline;
        continue;
      }
      const double nx = dx / r, ny = dy / r;
      const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
      img.at(x, y) = Shade(base, Lit(nx, ny, nz));
    }
}

void FillEllipse(Image& img, Vec c, double rx, double ry, Rgb colour, double alpha) {
  for (int y = static_cast<int>(c.y - ry - 1); y <= static_cast<int>(c.y + ry + 1); ++y)
    for (int x = static_cast<int>(c.x - rx - 1); x <= static_cast<int>(c.x + rx + 1); ++x) {
      const double dx = (x + 0.5 - c.x) / rx, dy = (y + 0.5 - c.y) / ry;
      if (dx * dx + dy * dy <= 1.0) img.blend(x, y, colour, alpha);
    }
}

void FillCircle(Image& img, Vec c, double r, Rgb colour, double alpha) {
  FillEllipse(img, c, r, r, colour, alpha);
}

void FillPolygon(Image& img, const std::vector<Vec>& pts, Rgb colour, double alpha) {
  if (pts.size() < 3) return;
  double minY = pts[0].y, maxY = pts[0].y;
  for (const Vec& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  for (int y = std::max(0, static_cast<int>(std::floor(minY)));
       y <= std::min(img.height - 1, static_cast<int>(std::ceil(maxY))); ++y) {
    const double sy = y + 0.5;
    std::vector<double> xs;
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const Vec a = pts[i], b = pts[(i + 1) % pts.size()];
      if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
        xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5));
           x <= static_cast<int>(std::floor(xs[i + 1] - 0.5)); ++x)
        img.blend(x, y, colour, alpha);
  }
}

void FillRect(Image& img, int x, int y, int w, int h, Rgb colour) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx)
      img.set(xx, yy, colour);
}

void VerticalGradient(Image& img, int y0, int y1, Rgb top, Rgb bottom) {
  for (int y = std::max(0, y0); y < std::min(img.height, y1); ++y) {
    const Rgb c = Mix(top, bottom, double(y - y0) / std::max(1, y1 - y0 - 1));
    for (int x = 0; x < img.width; ++x)
      img.at(x, y) = c;
  }
}

void Glow(Image& img, Vec c, double r, Rgb colour, double strength) {
  for (int y = static_cast<int>(c.y - r); y <= static_cast<int>(c.y + r); ++y)
    for (int x = static_cast<int>(c.x - r); x <= static_cast<int>(c.x + r); ++x) {
      const double dx = x + 0.5 - c.x, dy = y + 0.5 - c.y;
      const double d = std::sqrt(dx * dx + dy * dy) / r;
      if (d < 1.0) img.add(x, y, colour, strength * (1 - d) * (1 - d));
    }
}

Font::Font(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  info_.resize(sizeof(stbtt_fontinfo));
  if (data_.empty() || !stbtt_InitFont(reinterpret_cast<stbtt_fontinfo*>(info_.data()),
                                       data_.data(), stbtt_GetFontOffsetForIndex(data_.data(), 0)))
    data_.clear();
}

int Font::ascent(double pixelHeight) const {
  const auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
  return static_cast<int>(std::lround(ascent * stbtt_ScaleForPixelHeight(info, pixelHeight)));
}

std::vector<std::uint8_t> Font::glyph(int codepoint, double pixelHeight, int& width, int& height,
                                      int& xOffset, int& yOffset, int& advance) const {
  const auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  const float scale = stbtt_ScaleForPixelHeight(info, static_cast<float>(pixelHeight));
  int adv = 0, lsb = 0;
  stbtt_GetCodepointHMetrics(info, codepoint, &adv, &lsb);
  advance = static_cast<int>(std::lround(adv * scale));
  unsigned char* bitmap =
      stbtt_GetCodepointBitmap(info, scale, scale, codepoint, &width, &height, &xOffset, &yOffset);
  std::vector<std::uint8_t> out(bitmap, bitmap + std::size_t(width) * height);
  stbtt_FreeBitmap(bitmap, nullptr);
  return out;
}

int Font::measure(std::string_view text, double pixelHeight) const {
  int total = 0;
  for (char ch : text) {
    int w, h, xo, yo, adv;
    glyph(static_cast<unsigned char>(ch), pixelHeight, w, h, xo, yo, adv);
    total += adv;
  }
  return total;
}

void Font::draw(Image& img, std::string_view text, double x, double y, double pixelHeight, Rgb top,
                Rgb bottom, int outline, double alpha) const {
  const int base = static_cast<int>(y) + ascent(pixelHeight);
  double pen = x;
  for (char ch : text) {
    int w, h, xo, yo, adv;
    const auto cover = glyph(static_cast<unsigned char>(ch), pixelHeight, w, h, xo, yo, adv);
    const int gx = static_cast<int>(pen) + xo, gy = base + yo;
    if (outline > 0)
      for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
          if (cover[std::size_t(yy) * w + xx] > 100)
            for (int oy = -outline; oy <= outline; ++oy)
              for (int ox = -outline; ox <= outline; ++ox)
                img.blend(gx + xx + ox, gy + yy + oy, kOutline, alpha);
    for (int yy = 0; yy < h; ++yy)
      for (int xx = 0; xx < w; ++xx) {
        const double a = cover[std::size_t(yy) * w + xx] / 255.0;
        if (a <= 0) continue;
        const Rgb c = Mix(top, bottom, double(gy + yy - y) / std::max(1.0, pixelHeight));
        img.blend(gx + xx, gy + yy, c, a * alpha);
      }
    pen += adv;
  }
}

Image Resized(const Image& src, int width, int height) {
  Image out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.at(x, y) = src.at(x * src.width / width, y * src.height / height);
  return out;
}

void Paste(Image& dst, const Image& src, int x, int y, const Rgb* key, bool mirror) {
  for (int yy = 0; yy < src.height; ++yy)
    for (int xx = 0; xx < src.width; ++xx) {
      const Rgb c = src.at(mirror ? src.width - 1 - xx : xx, yy);
      if (key && c == *key) continue;
      dst.set(x + xx, y + yy, c);
    }
}

double Random::next() {
  // xorshift32: small, fast, the same everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return (state_ >> 8) / 16777216.0;
}

}  // namespace democontent
