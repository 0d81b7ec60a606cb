// A fighter's effects as the fight runs them: the character's records and
// their runs in the fight's state, side by side.
#pragma once

#include "effects/effect_animation.h"
#include "fight/fight_state.h"

namespace vdx {

// The player's effects and their runs.
EffectFamily FamilyOf(FightState& fight, const FightSlots& slots, int player);

// Calls `each(effect, run)` with every running effect of the player (delayed
// ones included), for the debug overlay.
template <typename Each>
void ForEachRunningEffect(const FightState& fight, const FightSlots& slots, int player,
                          Each each) {
  const EffectRuns& runs = fight.effects[static_cast<std::size_t>(player)];
  std::size_t i = 0;
  for (const cEffect& e : slots.players[static_cast<std::size_t>(player)].character.Effects) {
    if (i >= runs.count) break;
    const EffectRun& run = runs.runs[i++];
    if (run.bActive) each(e, run);
  }
}

}  // namespace vdx
