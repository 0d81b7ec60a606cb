// The current player's attack against the opponent: the box test, the
// combo, the block and its chip, the hit and its reaction, the damage, the
// knock-out, and the sparks and flash where it landed.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/fight_step.h"

namespace vdx {

// Whether the fighter's current action can land a blow now: it does damage
// and is not standing, ducking, reeling or down.
bool AttackLive(const FighterState& fighter, const cAction& action);

// The hit step of `attacker` for this frame (every frame: the boxes are tested
// more often than any action's frames change).
void TestHits(StepContext& ctx, int attacker);

}  // namespace vdx
