// Snow over a stage: flakes of three sizes drift down, swaying, across the
// stage's width, and start again at the top when they have fallen past the
// bottom. They move one step a frame and lie on the stage, so the camera
// carries them along with the background.
#pragma once

#include <array>
#include <cstdint>

#include "core/random.h"
#include "graphics/frame_pool.h"

namespace vdx {

struct SnowFlake {
  float x = 0;      // on the stage, before the sway
  float y = 0;      // screen y of its top
  float fall = 1;   // pixels a frame
  float phase = 0;  // of its sway, radians
  int kind = 0;     // which of the three pictures, 0..2
};

inline constexpr int kSnowFlakes = 150;
inline constexpr float kSnowSway = 6;  // pixels either way

struct Snow {
  std::array<SnowFlake, kSnowFlakes> flakes{};
  int width = 1280;  // of the stage
};

// Snow01.bmp to Snow03.bmp; a missing one leaves its flakes undrawn.
using SnowPictures = std::array<SharedSurface, 3>;

// Gives every flake a random place on a stage `stageWidth` wide and on the
// screen's height, a speed and a size; four draws a flake (x, y, speed, size).
void InitSnow(Snow& snow, RandomGenerator& random, int stageWidth);

// Moves every flake one frame on. A flake below the screen starts again above
// it, as high as its picture (8 without one), at a random x (one draw).
void StepSnow(Snow& snow, const SnowPictures& pictures, RandomGenerator& random);

}  // namespace vdx
