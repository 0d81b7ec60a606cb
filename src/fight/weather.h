// The round's rain and snow: started with the round and drawn over the fight
// each frame, when the stage has them and the Weather setting is on.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"
#include "graphics/sprite_loading.h"

namespace vdx {

inline constexpr int kRainDrops = 400;
inline constexpr Single kRainWind = 2.0f;

// The pictures of the stage's weather (none without the Weather setting).
void LoadWeatherPictures(const LoadContext& ctx, const Settings& settings, FightSlots& slots);

// Snow flakes all over; 400 rain drops (401 with the last index) blown by a
// wind of 2.
void StartWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now);

// Snow, then rain, over everything drawn so far.
void DrawWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now);

}  // namespace vdx
