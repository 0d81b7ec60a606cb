#include "effects/rain.h"

#include <algorithm>

#include "graphics/rounding.h"

namespace vdx {
int SplashSize(Single splash) {
  return static_cast<int>(RoundEven(splash / 3.14f * 16.0f));
}

void clsRain::Start(RainDrop& d, RandomGenerator& random, Single height) {
  d.x = static_cast<Single>(static_cast<int>(random.Uniform() * kWorldWidth));
  d.y = static_cast<Single>(static_cast<int>(random.Uniform() * height));
  d.speed = static_cast<Single>(random.Uniform() * 50 + 50);
  d.length = static_cast<Integer>(static_cast<int>(random.Uniform() * 10) + 1);
  d.ground = static_cast<Integer>(random.Uniform() * 480);
  d.splash = 0;
  d.state = 1;
}

void clsRain::Init(int drops, Single wind, RandomGenerator& random, std::uint32_t now) {
  Wind = wind;
  nRainDrops_ = std::clamp(drops, -1, kMaxDrop);
  for (int i = 0; i <= nRainDrops_; ++i)
    Start(drop(i), random, 480);
  CTick = now;
}

void clsRain::Update(RandomGenerator& random, std::uint32_t now) {
  if (now == CTick) return;
  const Single t = static_cast<Single>(now - CTick) / kMsPerStep;
  for (int i = 0; i <= nRainDrops_; ++i) {
    RainDrop& d = drop(i);
    switch (d.state) {
      case 0:
        Start(d, random, 50);  // near the top
        break;
      case 1:
        d.x += t * Wind;
        d.y += t * d.speed;
        if (d.y >= d.ground) d.state = 2;
        break;
      case 2:
        d.splash += t * 4;
        if (d.splash >= 4) d.state = 0;
        break;
      default:
        break;
    }
  }
  CTick = now;
}

}  // namespace vdx
