// The pictures a fight reads as well as draws: a fighter's frames with their
// hit boxes, and pools of effect and scenery frames. Plain data, loaded before
// a round and never changed during it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "content/records.h"
#include "graphics/surface.h"

namespace vdx {

using SharedSurface = std::shared_ptr<const Surface>;

// One fighter's frames for a fight. Entry k - 1 is frame k; an action's frames
// start at its Offset. An alias's entries are the same surfaces (and boxes) as
// those of the action it names.
struct FighterFrames {
  std::vector<SharedSurface> frames;
  std::vector<std::shared_ptr<const std::vector<cCol>>> boxes;  // per frame
  std::vector<std::string> sounds;  // content paths of the fighter's own sounds
};

// A pool of frames shared by several records (effects, stage animations); a
// record's frames start at its Offset (1-based).
struct FramePool {
  std::vector<SharedSurface> frames;
};

}  // namespace vdx
