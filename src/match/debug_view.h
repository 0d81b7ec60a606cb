// What content authors see with the DEBUG switch: F1 draws each fighter's
// body and the hit boxes of the frames on screen over the fight; F2 stops the
// fight so that F3 moves it on one frame at a time. Neither changes the fight:
// the boxes are drawn after the frame's hashes, and the fight's clock is its
// frame count, so a stepped frame is the frame that would have run.
#pragma once

#include <array>
#include <cstdint>

#include "fight/fight_state.h"
#include "graphics/surface.h"
#include "input/frame_input.h"

namespace vdx {

struct DebugView {
  bool showBoxes = false;
  bool stepping = false;
  std::array<bool, 3> held{};  // F1, F2 and F3 were down in the last frame
  Surface shown;               // the last fight picture, while stepping
};

enum class DebugStep {
  Run,   // the fight runs this frame
  Hold,  // it waits for F3
};

// Reads F1, F2 and F3 (only with the DEBUG switch): whether the fight runs a
// frame now.
DebugStep ReadDebugKeys(DebugView& view, const FrameInput& frame, bool debugMode);

// The overlay: body rectangles in green, frame rectangles in yellow and the
// hit boxes of the current frames in red.
void DrawDebugOverlay(Surface& target, const FightState& fight, const FightSlots& slots);

}  // namespace vdx
