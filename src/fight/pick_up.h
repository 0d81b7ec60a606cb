// The falling pick-up: a ball comes into being now and then, falls, and starts
// again after its life. A fighter who touches it takes it: the power kind
// doubles the damage of the fighter's blows for ten seconds, the health kind
// heals.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/fight_step.h"

namespace vdx {

inline constexpr std::uint32_t kPowerModeMs = 10000;
inline constexpr int kBallDrawn = 64;  // drawn 64 x 64, whatever the picture's size

// The pick-up's turn in the current player's pass: it falls, is shown, and may
// be taken by the player (which arms the player's spark burst); the player's
// power mode ends when its time is up.
void PickUpStep(StepContext& ctx, int player);

// The player takes the pick-up of `kind`: power mode (the opponent takes
// double melee damage) or health, and "PowerUp.wav".
void TakePickUp(StepContext& ctx, int player, int kind);

// Where the ball is on screen now.
Rect BallOnScreen(const FightState& fight);

}  // namespace vdx
