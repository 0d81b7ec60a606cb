#include "input/frame_input.h"

#include <algorithm>

namespace vdx {

FrameInput ReadFrameInput(platform::Platform& platform, int controllerCount) {
  FrameInput frame;
  frame.ticks = platform.ticks();
  frame.keys = platform.keyboardState();
  for (int i = 0; i < std::min(controllerCount, kMaxControllers); ++i)
    frame.controllers[static_cast<std::size_t>(i)] = platform.readController(i);
  return frame;
}

}  // namespace vdx
