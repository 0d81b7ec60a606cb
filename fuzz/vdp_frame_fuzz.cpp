#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/vdp_frame.h"
#include "graphics/surface.h"

// The first four bytes pick the frame's size, the rest is the packed frame.
// Frames are as large as the content's Width and Height say; 1024 a side covers
// every fighter and effect frame and keeps a run fast. A few negative and zero
// sizes are included: a content file can ask for them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const auto side = [](std::uint8_t low, std::uint8_t high) {
    return static_cast<int>((low | high << 8) % 1040) - 16;
  };
  const int width = side(data[0], data[1]);
  const int height = side(data[2], data[3]);
  vdx::Surface surface = vdx::MakeSurface(width, height);
  const std::size_t pixels = surface.pixels.size();
  vdx::UnpackVDPFrame(std::span(data + 4, size - 4), surface, height, width);
  // The reader paints the frame it was given; it never grows or shrinks it.
  if (surface.pixels.size() != pixels) __builtin_trap();
  return 0;
}
