#include "graphics/keyed_copy.h"

#include <algorithm>

namespace vdx {

DrawnRect DrawKeyedCopy(Surface& target, std::int32_t x, std::int32_t y, const Surface& source,
                        std::int32_t keyColour, bool mirror) {
  const std::uint16_t key = To565(ContentColourToPixel(keyColour));
  // Visible columns and rows of the picture, in picture coordinates.
  const std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{x});
  const std::int64_t firstRow = std::max<std::int64_t>(0, -std::int64_t{y});
  std::int64_t endColumn = source.width;
  std::int64_t endRow = source.height;
  if (std::int64_t{x} + source.width >= target.width) endColumn = std::int64_t{target.width} - x;
  if (std::int64_t{y} + source.height >= target.height)
    endRow = std::int64_t{target.height} - 1 - y;
  if (endColumn <= firstColumn || endRow <= firstRow) return {};

  for (std::int64_t row = firstRow; row < endRow; ++row) {
    const std::uint32_t* in = &source.pixels[static_cast<std::size_t>(row) * source.width];
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(y + row) * target.width];
    for (std::int64_t column = firstColumn; column < endColumn; ++column) {
      // Mirrored, the picture's last column lands at x.
      const std::uint32_t texel = in[mirror ? source.width - 1 - column : column];
      if (To565(texel) != key) out[x + column] = texel;
    }
  }
  return DrawnRect{static_cast<int>(x + firstColumn), static_cast<int>(y + firstRow),
                   static_cast<int>(x + endColumn), static_cast<int>(y + endRow)};
}

}  // namespace vdx
