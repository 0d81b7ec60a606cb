// Draws the menu icon of vdx, a bright V over a dusk-coloured tile, as PNG
// pictures of the sizes asked for. Each pixel is the average of 8 x 8 samples,
// so edges are smooth at every size and the bytes are the same on every run.
//
//   vdx_make_icons OUTPUT_DIR NAME SIZE...
//
// writes OUTPUT_DIR/SIZExSIZE/apps/NAME.png for each size (the hicolor layout).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace {

struct Colour {
  double r = 0, g = 0, b = 0, a = 0;  // premultiplied by a
};

Colour Over(Colour top, Colour below) {
  const double keep = 1.0 - top.a;
  return {top.r + below.r * keep, top.g + below.g * keep, top.b + below.b * keep,
          top.a + below.a * keep};
}

Colour Opaque(double r, double g, double b, double a = 1.0) {
  return {r * a, g * a, b * a, a};
}

double Mix(double from, double to, double t) {
  return from + (to - from) * t;
}

// Distance from (x, y) to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// Inside a square of side 1 with corners rounded by radius r.
bool InRoundedSquare(double x, double y, double inset, double r) {
  const double lo = inset + r, hi = 1.0 - inset - r;
  const double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
  return std::hypot(x - cx, y - cy) <= r;
}

// The icon at one point of the unit square (y down).
Colour Sample(double x, double y) {
  Colour c;
  if (!InRoundedSquare(x, y, 0.04, 0.17)) return c;
  // The tile: indigo at the top to a deep red at the bottom, a thin light rim.
  c = Opaque(Mix(0.17, 0.50, y), Mix(0.11, 0.08, y), Mix(0.32, 0.14, y));
  if (!InRoundedSquare(x, y, 0.065, 0.145)) c = Over(Opaque(1.0, 0.85, 0.55, 0.35), c);
  // A low sun behind the letter.
  const double sun = std::hypot(x - 0.5, y - 0.56);
  if (sun < 0.30) c = Over(Opaque(1.0, 0.55, 0.15, 0.9 * (1.0 - sun / 0.30)), c);
  // The V: two strokes meeting at the bottom, outlined in near black.
  const double stroke = std::min(SegmentDistance(x, y, 0.27, 0.24, 0.5, 0.78),
                                 SegmentDistance(x, y, 0.73, 0.24, 0.5, 0.78));
  if (stroke < 0.105) c = Over(Opaque(0.07, 0.05, 0.09), c);
  if (stroke < 0.075) c = Over(Opaque(1.0, Mix(0.97, 0.72, y), Mix(0.85, 0.25, y)), c);
  return c;
}

std::vector<std::uint8_t> Draw(int size) {
  constexpr int kSamples = 8;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      Colour sum;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const Colour s =
              Sample((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size);
          sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
        }
      const double n = kSamples * kSamples;
      const double a = sum.a / n;
      auto channel = [&](double premultiplied) {
        const double straight = a > 0 ? premultiplied / n / a : 0.0;
        return static_cast<std::uint8_t>(std::lround(std::clamp(straight, 0.0, 1.0) * 255));
      };
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(py) * size + px) * 4];
      out[0] = channel(sum.r);
      out[1] = channel(sum.g);
      out[2] = channel(sum.b);
      out[3] = static_cast<std::uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255));
    }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: vdx_make_icons OUTPUT_DIR NAME SIZE...\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::string name = argv[2];
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 16 || size > 1024) {
      std::cerr << "vdx_make_icons: not a size from 16 to 1024: " << argv[i] << "\n";
      return 2;
    }
    const std::string dim = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path path = root / dim / "apps" / (name + ".png");
    std::filesystem::create_directories(path.parent_path());
    const std::vector<std::uint8_t> rgba = Draw(size);
    if (!stbi_write_png(path.c_str(), size, size, 4, rgba.data(), size * 4)) {
      std::cerr << "vdx_make_icons: cannot write " << path.string() << "\n";
      return 1;
    }
  }
  return 0;
}
