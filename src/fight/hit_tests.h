// Whether two pictures on screen touch: by the hit boxes of fighters' frames,
// or pixel by pixel for projectiles and the pick-up.
#pragma once

#include <optional>
#include <vector>

#include "content/records.h"
#include "fight/fight_state.h"
#include "graphics/surface.h"

namespace vdx {

inline constexpr int kWideFrame = 364;
inline constexpr int kWideShift = 108;  // a wide frame is drawn this much further left

// One fighter's current frame as drawn: its rectangle on screen, its boxes
// (measured on the unmirrored frame) and the width they are mirrored about.
struct FrameOnScreen {
  Rect rect;
  const std::vector<cCol>* boxes = nullptr;  // none: no boxes, never hits
  const Surface* picture = nullptr;
  bool mirrored = false;
  int mirrorWidth = 255;  // 255, or 363 for a wide frame
};

// A box of the frame placed on screen, mirrored about the frame's width.
Rect PlaceBox(const cCol& box, const FrameOnScreen& frame);

// Where the fighter's current frame is drawn (and so where it can be hit).
FrameOnScreen PlaceFighter(const FighterState& fighter, const FighterSlot& slot);

// The rectangles overlap (right and bottom edges are outside); the overlap.
std::optional<Rect> Intersect(const Rect& a, const Rect& b);

// The first pair of boxes that overlap, player 1's against player 2's; the
// overlap of that pair. Boxes with no area are passed over.
std::optional<Rect> TestBoxCollision(const FrameOnScreen& one, const FrameOnScreen& two);

// One side of a pixel test: a picture drawn into `rect` (at its own size or
// not), mirrored or not, with an offset into the picture.
struct PixelSide {
  Rect rect;
  const Surface* picture = nullptr;
  bool mirrored = false;
  Long offsetX = 0, offsetY = 0;
};

// Samples the overlap of the rectangles, every 2nd column of every 4th row,
// until both pictures hold a pixel that is not their transparent colour (the
// pixel at (1, 1)). A sample outside a picture counts as transparent.
bool TestPixelCollision(const PixelSide& a, const PixelSide& b);

}  // namespace vdx
