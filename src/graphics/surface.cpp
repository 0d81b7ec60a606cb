#include "graphics/surface.h"

namespace vdx {

Surface MakeSurface(int width, int height, std::uint32_t fill) {
  Surface s;
  s.width = width > 0 ? width : 0;
  s.height = height > 0 ? height : 0;
  s.pixels.assign(static_cast<std::size_t>(s.width) * s.height, fill);
  return s;
}

void MarkDrawnColumns(Surface& s) {
  s.drawnColumns.clear();
  if (!s.colorKey) return;
  const std::uint16_t key = To565(*s.colorKey);
  s.drawnColumnsKey = key;
  s.drawnColumns.resize(static_cast<std::size_t>(s.height));
  for (int y = 0; y < s.height; ++y) {
    int first = 0, last = s.width - 1;
    while (first < s.width && To565(s.at(first, y)) == key)
      ++first;
    while (last >= first && To565(s.at(last, y)) == key)
      --last;
    s.drawnColumns[static_cast<std::size_t>(y)] = {first, last};
  }
}

Surface ScaledSurface(const platform::Image& image, int width, int height) {
  Surface s = MakeSurface(width, height);
  if (image.width <= 0 || image.height <= 0 || s.pixels.empty()) return s;
  if (image.width == width && image.height == height && image.pixels.size() == s.pixels.size()) {
    s.pixels = image.pixels;  // already the size asked for
    return s;
  }
  for (int y = 0; y < s.height; ++y) {
    const int sy = static_cast<int>(static_cast<std::int64_t>(y) * image.height / s.height);
    const std::uint32_t* row = &image.pixels[static_cast<std::size_t>(sy) * image.width];
    for (int x = 0; x < s.width; ++x)
      s.at(x, y) = row[static_cast<std::int64_t>(x) * image.width / s.width];
  }
  return s;
}

}  // namespace vdx
