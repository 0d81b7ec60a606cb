// Steps of the fight that the effects, the rounds and the weather fill in.
// Each is called from its place in the frame, so that the frame's order is
// fixed here once; today they leave the fight as it is (no effect flies, no
// weather falls).
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/fighter_pass.h"

namespace vdx {

// Snow and rain begin with the round, when the stage has them and the Weather
// setting is on.
void StartWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now);

// A "Special" or "Grab" action starts the effects of its EffectList.
void StartActionEffects(FighterPassContext& ctx, int player, const cAction& action);

// The player's effects fly, hit and end.
void UpdateCharacterEffects(Game& game, FightState& fight, FightSlots& slots, int player,
                            std::uint32_t now);

// Snow and rain, when the stage has them and the Weather setting is on.
void DrawWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now);

// The stage's animated scenery, behind the fighters of the next frame.
void DrawStageAnimations(Game& game, FightState& fight, FightSlots& slots, std::uint32_t now);

}  // namespace vdx
