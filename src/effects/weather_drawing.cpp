#include "effects/weather_drawing.h"

#include <cmath>

#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

constexpr float kStreakAlpha = 0.55f;
constexpr float kSplashAlpha = 0.7f;

}  // namespace

void DrawRain(const clsRain& rain, Surface& target, const Surface* picture, Long cameraX,
              RasterPath path) {
  if (picture == nullptr) return;
  for (int i = 0; i <= rain.nRainDrops(); ++i) {
    const RainDrop& d = rain.drop(i);
    const Single screenX = d.x - static_cast<Single>(cameraX);
    if (d.state == 1) {
      if (screenX < 0 || screenX > 639) continue;
      // A longer streak for a longer drop.
      SpriteArgs args =
          SpriteAt(screenX, d.y, picture->width, picture->height, picture->width, 4 + 2 * d.length);
      args.Alpha = kStreakAlpha;
      DrawSprite(target, *picture, args, path);
    } else if (d.state == 2) {
      const int size = SplashSize(d.splash);
      if (size <= 0) continue;  // 0 would draw the whole picture
      // A flat streak on the ground, widening and fading as it spreads.
      SpriteArgs args =
          SpriteAt(screenX - static_cast<Single>(size) / 2, static_cast<Single>(d.ground),
                   picture->width, picture->height, size, 2);
      args.Alpha = kSplashAlpha * (1.0f - d.splash / 4.0f);
      DrawSprite(target, *picture, args, path);
    }
  }
}

void DrawSnow(const Snow& snow, const SnowPictures& pictures, Surface& target, long cameraX,
              RasterPath path) {
  for (const SnowFlake& f : snow.flakes) {
    const Surface* picture = pictures[static_cast<std::size_t>(f.kind)].get();
    if (picture == nullptr) continue;
    const float x = f.x + kSnowSway * std::sin(f.phase) - static_cast<float>(cameraX);
    if (x + static_cast<float>(picture->width) < 0 || x >= 640) continue;
    SpriteArgs args = SpriteAt(x, f.y, picture->width, picture->height);
    args.BlendMode = 1;  // the flakes brighten what is behind them
    DrawSprite(target, *picture, args, path);
  }
}

}  // namespace vdx
