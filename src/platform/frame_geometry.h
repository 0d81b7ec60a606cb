// Where the 640 x 480 frame sits in a window of any size: scaled to the largest
// 4:3 rectangle that fits, centred, with black bars on the two longer sides; and
// which pixel of the frame lies under a point of the window.
#pragma once

#include <optional>

namespace vdx::platform {

struct FrameRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct FramePixel {
  int x = 0;
  int y = 0;
};

// The rectangle the frame fills in an output of the given size in pixels.
FrameRect LetterboxRect(int outputWidth, int outputHeight);

// The frame pixel under the point (x, y) of a window measured in window units
// (windowWidth x windowHeight) and drawn at outputWidth x outputHeight pixels
// (more than the units on a high-density display). nullopt on the bars, off
// the window, or for a window of no size.
std::optional<FramePixel> FramePixelAt(int x, int y, int windowWidth, int windowHeight,
                                       int outputWidth, int outputHeight);

}  // namespace vdx::platform
