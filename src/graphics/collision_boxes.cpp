#include "graphics/collision_boxes.h"

#include <algorithm>

namespace vdx {

void BuildFrameCollisionBoxes(const Surface& frame, bool large, std::vector<cCol>& boxes) {
  const int last = large ? 363 : 255;
  // Pixels outside the picture read as 0.
  const std::uint32_t background = 1 < frame.width && 1 < frame.height ? frame.at(1, 1) : 0;
  const int inside = std::min(last + 1, frame.width);  // columns read from the picture
  const std::span<const std::uint32_t> pixels(frame.pixels);
  const cCol empty{static_cast<Integer>(last + 1), 0, 256, 0};
  cCol box = empty;
  for (int y = 0; y <= 255; ++y) {
    if (y > 0 && y % 15 == 0) {
      boxes.push_back(box);
      box = empty;
    }
    int first = last + 1, end = -1;  // the row's drawn columns
    if (y < frame.height && inside > 0) {
      const auto span = FindDrawnSpan(
          pixels.subspan(static_cast<std::size_t>(y) * frame.width, static_cast<std::size_t>(inside)),
          background, 0xFFFFFFFFu);
      if (span.first < inside) first = span.first, end = span.last;
    }
    if (background != 0 && (y >= frame.height || inside < last + 1)) {
      // The zeros beyond the picture differ from the background.
      first = std::min(first, y >= frame.height ? 0 : inside);
      end = last;
    }
    if (end < 0) continue;
    box.xLeft = static_cast<Integer>(std::min<int>(box.xLeft, first));
    box.xRight = static_cast<Integer>(std::max<int>(box.xRight, end));
    box.yTop = static_cast<Integer>(std::min<int>(box.yTop, y));
    box.yBottom = static_cast<Integer>(std::max<int>(box.yBottom, y));
  }
  // The open box of the last band (row 255 alone) is not kept.
}

}  // namespace vdx
