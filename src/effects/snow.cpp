#include "effects/snow.h"

#include <cmath>


namespace vdx {
namespace {

constexpr float kSwayStep = 0.04f;  // radians a frame
constexpr float kScreenBottom = 480;

float RandomX(RandomGenerator& random, int width) {
  return static_cast<float>(random.Uniform() * width);
}

}  // namespace

void InitSnow(Snow& snow, RandomGenerator& random, int stageWidth) {
  snow.width = stageWidth > 0 ? stageWidth : 640;
  for (SnowFlake& f : snow.flakes) {
    f.x = RandomX(random, snow.width);
    f.y = static_cast<float>(random.Uniform() * kScreenBottom);
    f.fall = static_cast<float>(0.6 + random.Uniform() * 1.2);
    f.kind = static_cast<int>(random.Uniform() * 3);
    // The sway starts where the flake is, so neighbours do not sway together.
    f.phase = f.x * 0.37f + f.y * 0.11f;
  }
}

void StepSnow(Snow& snow, const SnowPictures& pictures, RandomGenerator& random) {
  for (SnowFlake& f : snow.flakes) {
    f.y += f.fall;
    f.phase += kSwayStep;
    if (f.phase > 6.2831853f) f.phase -= 6.2831853f;
    const Surface* picture = pictures[static_cast<std::size_t>(f.kind)].get();
    const float size = picture != nullptr ? static_cast<float>(picture->height) : 8;
    if (f.y >= kScreenBottom) {
      f.x = RandomX(random, snow.width);
      f.y = -size;
    }
  }
}

}  // namespace vdx
