// Copies a whole picture, unscaled, onto the back buffer with its colour key:
// the one drawing operation that copies rectangles instead of going through the
// sprite renderer (portraits, and frames of wide actions).
#pragma once

#include <cstdint>

#include "graphics/surface.h"

namespace vdx {

struct DrawnRect {
  int left = 0;
  int top = 0;
  int right = 0;  // exclusive
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

// Draws `source` at (x, y); texels matching `keyColour` (0x00BBGGRR) are not
// drawn. The picture is cut at the right edge and, as the game always did, one
// row above the bottom edge (row 479 is never drawn). Returns what was drawn.
DrawnRect DrawKeyedCopy(Surface& target, std::int32_t x, std::int32_t y, const Surface& source,
                        std::int32_t keyColour, bool mirror);

}  // namespace vdx
