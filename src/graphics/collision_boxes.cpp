#include "graphics/collision_boxes.h"

#include <algorithm>

namespace vdx {

void BuildFrameCollisionBoxes(const Surface& frame, bool large, std::vector<cCol>& boxes) {
  const int last = large ? 363 : 255;
  const auto pixel = [&frame](int x, int y) -> std::uint32_t {
    return x < frame.width && y < frame.height ? frame.at(x, y) : 0;
  };
  const std::uint32_t background = pixel(1, 1);
  const cCol empty{static_cast<Integer>(last + 1), 0, 256, 0};
  cCol box = empty;
  for (int y = 0; y <= 255; ++y) {
    if (y > 0 && y % 15 == 0) {
      boxes.push_back(box);
      box = empty;
    }
    for (int x = 0; x <= last; ++x) {
      if (pixel(x, y) == background) continue;
      box.xLeft = static_cast<Integer>(std::min<int>(box.xLeft, x));
      box.xRight = static_cast<Integer>(std::max<int>(box.xRight, x));
      box.yTop = static_cast<Integer>(std::min<int>(box.yTop, y));
      box.yBottom = static_cast<Integer>(std::max<int>(box.yBottom, y));
    }
  }
  // The open box of the last band (row 255 alone) is not kept.
}

}  // namespace vdx
