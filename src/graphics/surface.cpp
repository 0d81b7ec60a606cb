#include "graphics/surface.h"

#include "platform/platform.h"

namespace vdx {

Surface MakeSurface(int width, int height, std::uint32_t fill) {
  Surface s;
  s.width = width > 0 ? width : 0;
  s.height = height > 0 ? height : 0;
  s.pixels.assign(static_cast<std::size_t>(s.width) * s.height, fill);
  return s;
}

namespace {

constexpr int kGroup = 8;

// Whether any of the group's pixels differs from the key; written without an
// early exit so that the compiler checks the group in one vector step.
bool GroupDiffers(const std::uint32_t* pixels, std::uint32_t key, std::uint32_t mask) {
  std::uint32_t differs = 0;
  for (int i = 0; i < kGroup; ++i) differs |= (pixels[i] ^ key) & mask;
  return differs != 0;
}

}  // namespace

Surface::DrawnColumns FindDrawnSpan(std::span<const std::uint32_t> row, std::uint32_t key,
                                    std::uint32_t mask) {
  const int width = static_cast<int>(row.size());
  const auto differs = [&](int x) { return ((row[static_cast<std::size_t>(x)] ^ key) & mask) != 0; };
  int first = 0;
  while (first + kGroup <= width && !GroupDiffers(&row[static_cast<std::size_t>(first)], key, mask))
    first += kGroup;
  while (first < width && !differs(first)) ++first;
  int last = width - 1;
  while (last - kGroup + 1 > first &&
         !GroupDiffers(&row[static_cast<std::size_t>(last - kGroup + 1)], key, mask))
    last -= kGroup;
  while (last >= first && !differs(last)) --last;
  if (first == width) last = width - 1;
  return {first, last};
}

void MarkDrawnColumns(Surface& s) {
  s.drawnColumns.clear();
  if (!s.colorKey) return;
  s.drawnColumnsKey = To565(*s.colorKey);
  s.drawnColumns.resize(static_cast<std::size_t>(s.height));
  const std::span<const std::uint32_t> pixels(s.pixels);
  for (int y = 0; y < s.height; ++y)
    s.drawnColumns[static_cast<std::size_t>(y)] = FindDrawnSpan(
        pixels.subspan(static_cast<std::size_t>(y) * s.width, static_cast<std::size_t>(s.width)),
        *s.colorKey, k565Bits);
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
