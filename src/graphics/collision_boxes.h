// The hit boxes of a fighter frame: one box per band of 15 rows, around the
// pixels that differ from the frame's background.
#pragma once

#include <vector>

#include "content/records.h"
#include "graphics/surface.h"

namespace vdx {

// Appends the 17 boxes of a frame. `large` frames are scanned 364 columns wide,
// others 256. A band with no foreground pixel gives a box whose left is beyond
// its right, which the hit test skips.
void BuildFrameCollisionBoxes(const Surface& frame, bool large, std::vector<cCol>& boxes);

}  // namespace vdx
