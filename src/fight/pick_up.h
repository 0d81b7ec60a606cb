// The falling pick-up: a ball comes into being now and then, falls, and starts
// again after its life. A fighter who touches it takes it: the power kind
// doubles the damage of the fighter's blows for ten seconds, the health kind
// heals.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

inline constexpr std::uint32_t kPowerModeMs = 10000;

// The pick-up's turn in the current player's pass: it falls, is drawn, and may
// be taken by the player (which arms the player's spark burst); the player's
// power mode ends when its time is up.
void PickUpStep(Game& game, FightState& fight, const FightSlots& slots, int player,
                std::uint32_t now);

// The player takes the pick-up of `kind`: power mode (the opponent takes
// double melee damage) or health, and "PowerUp.wav".
void TakePickUp(Game& game, FightState& fight, const FightSlots& slots, int player, int kind,
                std::uint32_t now);

}  // namespace vdx
