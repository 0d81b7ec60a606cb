#include "graphics/vdp_frame.h"

#include <algorithm>
#include <cmath>

namespace vdx {
namespace {

void FillRow(Surface& s, int row, int from, int to, std::uint32_t value) {
  if (row < 0 || row >= s.height) return;
  from = std::max(from, 0);
  to = std::min(to, s.width);
  if (from >= to) return;
  std::fill(&s.pixels[static_cast<std::size_t>(row) * s.width + from],
            &s.pixels[static_cast<std::size_t>(row) * s.width + to], value);
}

std::uint32_t Field(std::uint8_t value, int bits) {
  return static_cast<std::uint32_t>(
      std::nearbyint(value / 255.0 * static_cast<double>((1u << bits) - 1)));
}

}  // namespace

std::uint32_t VdpPixelValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                            const platform::PixelFormat& format) {
  int r = 5, g = 5, b = 5;
  if (format.bitsPerPixel > 16) {
    r = g = b = 8;
  } else if (format.blueMask > 31) {
    r = 5, g = 5, b = 6;
  } else if (format.greenMask > 1024) {
    r = 5, g = 6, b = 5;
  } else if (format.redMask > 32767) {
    r = 6, g = 5, b = 5;
  }
  return (Field(red, r) << (g + b)) | (Field(green, g) << b) | Field(blue, b);
}

VdpReport UnpackVDPFrame(std::span<const std::uint8_t> bytes, Surface& surface, int height,
                         int width) {
  VdpReport report;
  const platform::PixelFormat format;  // our frames are 32-bit
  report.ragged = bytes.size() % 4 != 0;
  const std::size_t runs = bytes.size() / 4;
  // The whole frame in the transparent colour first (the second run's colour).
  std::uint32_t transparent = 0;
  if (runs >= 2) transparent = VdpPixelValue(bytes[5], bytes[6], bytes[7], format);
  for (int y = 0; y < height; ++y)
    FillRow(surface, y, 0, width, transparent);
  surface.colorKey = transparent;

  long x = 0, y = 0;  // y counts rows from the bottom
  for (std::size_t i = 0; i < runs; ++i) {
    if (y >= height) {
      report.overflow = true;
      break;
    }
    const int n = bytes[i * 4];
    const std::uint32_t value =
        VdpPixelValue(bytes[i * 4 + 1], bytes[i * 4 + 2], bytes[i * 4 + 3], format);
    FillRow(surface, static_cast<int>(height - 1 - y), static_cast<int>(x),
            static_cast<int>(std::min<long>(x + n, width)), value);
    // A run past the row's end goes on at the left of the row above.
    if (x + n > width) {
      if (y + 1 >= height) report.overflow = true;
      FillRow(surface, static_cast<int>(height - 2 - y), 0, static_cast<int>(x + n - width), value);
    }
    x += n;
    if (x > width - 1) {
      ++y;
      x -= width;
    }
  }
  if (!report.overflow && y < height)
    report.uncovered = (static_cast<long>(height) - y) * width - x;
  return report;
}

}  // namespace vdx
