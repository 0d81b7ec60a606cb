#include "graphics/surface.h"

namespace vdx {

Surface MakeSurface(int width, int height, std::uint32_t fill) {
  Surface s;
  s.width = width > 0 ? width : 0;
  s.height = height > 0 ? height : 0;
  s.pixels.assign(static_cast<std::size_t>(s.width) * s.height, fill);
  return s;
}

Surface ScaledSurface(const platform::Image& image, int width, int height) {
  Surface s = MakeSurface(width, height);
  if (image.width <= 0 || image.height <= 0 || s.pixels.empty()) return s;
  for (int y = 0; y < s.height; ++y) {
    const int sy = static_cast<int>(static_cast<std::int64_t>(y) * image.height / s.height);
    const std::uint32_t* row = &image.pixels[static_cast<std::size_t>(sy) * image.width];
    for (int x = 0; x < s.width; ++x)
      s.at(x, y) = row[static_cast<std::int64_t>(x) * image.width / s.width];
  }
  return s;
}

}  // namespace vdx
