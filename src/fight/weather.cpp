#include "fight/weather.h"

namespace vdx {

void StartWeather(StepContext& ctx) {
  FightState& fight = ctx.fight;
  fight.snowing = ctx.slots.stage.bSnow && ctx.slots.rules.weather;
  fight.raining = ctx.slots.stage.bRain && ctx.slots.rules.weather;
  if (fight.snowing) InitSnow(fight.snow, fight.random, fight.stageWidth);
  if (fight.raining) fight.rain.Init(kRainDrops, kRainWind, fight.random, ctx.now);
}

void StepWeather(StepContext& ctx) {
  FightState& fight = ctx.fight;
  if (fight.snowing) StepSnow(fight.snow, ctx.slots.snow, fight.random);
  if (fight.raining) fight.rain.Update(fight.random, ctx.now);
}

}  // namespace vdx
