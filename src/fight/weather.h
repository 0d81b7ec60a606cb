// The round's rain and snow: started with the round and moved on each frame
// after both turns, when the stage has them and the Weather setting is on.
#pragma once

#include "fight/fight_step.h"

namespace vdx {

inline constexpr int kRainDrops = 400;
inline constexpr Single kRainWind = 2.0f;

// Snow flakes all over; 400 rain drops (401 with the last index) blown by a
// wind of 2.
void StartWeather(StepContext& ctx);

// Snow, then rain, one frame on.
void StepWeather(StepContext& ctx);

}  // namespace vdx
