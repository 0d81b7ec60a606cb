#include "fight/effect_runs.h"

namespace vdx {

EffectFamily FamilyOf(FightState& fight, const FightSlots& slots, int player) {
  EffectRuns& runs = fight.effects[static_cast<std::size_t>(player)];
  return EffectFamily{&slots.players[static_cast<std::size_t>(player)].character.Effects,
                      std::span<EffectRun>(runs.runs.data(), runs.count)};
}

}  // namespace vdx
