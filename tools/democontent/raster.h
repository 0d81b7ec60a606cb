// A small painter for the demo content: RGB pictures, shaded shapes and text.
// Everything is drawn from code, deterministically.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace democontent {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double factor);
Rgb Hex(std::uint32_t rrggbb);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h, Rgb fill = {});
  Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  void set(int x, int y, Rgb c) {
    if (inside(x, y)) at(x, y) = c;
  }
  // Draws c over the pixel with opacity a (0..1).
  void blend(int x, int y, Rgb c, double a);
  void add(int x, int y, Rgb c, double a);  // additive light
};

struct Vec {
  double x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double s) {
  return {a.x * s, a.y * s};
}

// Shading is quantised to a few levels so a figure uses few colours (its
// frames then pack as 8-bit bitmaps).
inline constexpr int kShadeLevels = 12;
Rgb Shade(Rgb base, double light);  // light 0..1 -> one of kShadeLevels tones of base

inline const Rgb kOutline = {18, 14, 22};

// Shapes of a figure are painted in two passes, all outlines first and then all
// fills, so the outline runs round the silhouette and not across the joints.
enum class Paint { Both, OutlineOnly, FillOnly };

// A limb or body part: a capsule from a (radius ra) to b (radius rb), lit like a
// cylinder from the upper left, with a dark outline.
void Capsule(Image& img, Vec a, Vec b, double ra, double rb, Rgb base, double outline = 1.6,
             Paint paint = Paint::Both);
// A lit ball (head, fist) with outline.
void Ball(Image& img, Vec c, double r, Rgb base, double outline = 1.6, Paint paint = Paint::Both);
// Flat shapes.
void FillCircle(Image& img, Vec c, double r, Rgb colour, double alpha = 1.0);
void FillEllipse(Image& img, Vec c, double rx, double ry, Rgb colour, double alpha = 1.0);
void FillPolygon(Image& img, const std::vector<Vec>& points, Rgb colour, double alpha = 1.0);
void FillRect(Image& img, int x, int y, int w, int h, Rgb colour);
void VerticalGradient(Image& img, int y0, int y1, Rgb top, Rgb bottom);
// A soft glow: additive light falling off from the centre.
void Glow(Image& img, Vec c, double r, Rgb colour, double strength = 1.0);

// Text through a TrueType font (DejaVu, from the build machine).
class Font {
 public:
  explicit Font(const std::string& path);
  bool ok() const { return !data_.empty(); }
  // Width in pixels of the text at this pixel height.
  int measure(std::string_view text, double pixelHeight) const;
  // Draws the text with its top-left at (x, y); `outline` pixels of kOutline around.
  void draw(Image& img, std::string_view text, double x, double y, double pixelHeight, Rgb top,
            Rgb bottom, int outline = 0, double alpha = 1.0) const;
  // One glyph's coverage (0..255), width x height, placed in a cell of cellHeight
  // with the baseline at `baseline`.
  std::vector<std::uint8_t> glyph(int codepoint, double pixelHeight, int& width, int& height,
                                  int& xOffset, int& yOffset, int& advance) const;
  int ascent(double pixelHeight) const;

 private:
  std::vector<unsigned char> data_;
  std::vector<unsigned char> info_;  // stbtt_fontinfo, kept opaque
};

// Nearest-neighbour resize.
Image Resized(const Image& src, int width, int height);
// Draws src onto dst at (x, y); pixels equal to `key` are skipped.
void Paste(Image& dst, const Image& src, int x, int y, const Rgb* key = nullptr,
           bool mirror = false);

// A deterministic random source for scenery.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
  double next();  // [0, 1)
  double range(double lo, double hi) { return lo + (hi - lo) * next(); }

 private:
  std::uint32_t state_;
};

}  // namespace democontent
