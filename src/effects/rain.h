// Rain over a stage: drops fall across a world twice the width of the screen,
// splash at a height of their own and start again at the top. They move by the
// time passed (the tick count), not by frames.
#pragma once

#include <array>
#include <cstdint>

#include "content/records.h"
#include "core/random.h"

namespace vdx {

struct RainDrop {
  Long state = 0;      // 0 waiting to start again, 1 falling, 2 splashing
  Single x = 0;        // world x, 0..1279 when it starts (the wind carries it on)
  Single y = 0;        // screen y
  Integer length = 1;  // 1..10: how long its streak is drawn
  Single speed = 50;   // 50..100 pixels a time step
  Integer ground = 0;  // 0..479: the y at which it splashes
  Single splash = 0;   // 0..4: how far its splash has spread
};

class clsRain {
 public:
  // Room for drops 0 to 400, what a fight's rain uses; more are never asked
  // of the array.
  static constexpr int kMaxDrop = 400;
  static constexpr int kWorldWidth = 1280;
  static constexpr Single kMsPerStep = 300;  // a time step

  std::uint32_t CTick = 0;  // tick count of the last update
  Single Wind = 0;          // sideways drift a time step

  // Drops 0 to `drops` (both included, so 400 makes 401), each at a random
  // place, falling. A count past the array is cut to kMaxDrop; below 0 there
  // is no rain. Each drop takes five draws, in the order x, y, speed, length,
  // ground.
  void Init(int drops, Single wind, RandomGenerator& random, std::uint32_t now);
  // Moves every drop by the time since CTick: a waiting drop starts again near
  // the top, a falling one falls and drifts and splashes at its ground, a
  // splash spreads and ends. Nothing moves within the same millisecond.
  void Update(RandomGenerator& random, std::uint32_t now);

  int nRainDrops() const { return nRainDrops_; }  // index of the last drop; -1: none
  const RainDrop& drop(int i) const { return drops_[static_cast<std::size_t>(i)]; }
  RainDrop& drop(int i) { return drops_[static_cast<std::size_t>(i)]; }
  // The fields themselves, for the fight state's visitor.
  int& nRainDropsRef() { return nRainDrops_; }
  const int& nRainDropsRef() const { return nRainDrops_; }
  std::array<RainDrop, kMaxDrop + 1>& dropsRef() { return drops_; }
  const std::array<RainDrop, kMaxDrop + 1>& dropsRef() const { return drops_; }

 private:
  void Start(RainDrop& d, RandomGenerator& random, Single height);

  int nRainDrops_ = -1;
  std::array<RainDrop, kMaxDrop + 1> drops_{};
};

// The width of a splash in pixels: round(splash / 3.14 x 16).
int SplashSize(Single splash);

}  // namespace vdx
