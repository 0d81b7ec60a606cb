// A fighter's effects in the fight: started by its special and grab actions,
// then, once a frame in the fighter's turn, delayed, sounded, tested against
// the opponent, turned, faded, grown, shown and stepped until they end and
// start the effect that follows them.
#pragma once

#include <cstdint>

#include "fight/effect_runs.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"

namespace vdx {

// A "Special" or "Grab" action starts each effect of its EffectList that is
// not running: facing as the fighter faces, at (PlayerX + animX, PlayerY +
// animY), or PlayerX + 256 - animX when the fighter faces left. An effect
// whose name holds "BUBBLE" also lets the fighter's bubbles rise from it.
void StartActionEffects(StepContext& ctx, int player, const cAction& action);

// The player's bubbles, then each of the player's effects in order; each
// effect's pose is taken where the turn shows it, before its frame step.
void StepCharacterEffects(StepContext& ctx, int player);

}  // namespace vdx
