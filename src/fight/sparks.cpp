#include "fight/sparks.h"

namespace vdx {

bool ArmSparks(FightState& fight, int player, Long x, Long y) {
  return ArmSparkBurst(fight.sparks[static_cast<std::size_t>(player)], fight.random,
                       static_cast<int>(x), static_cast<int>(y));
}

void ShowSparks(FightState& fight, int player) {
  fight.sparks[static_cast<std::size_t>(player)].Active = true;
}

void MarkSparksDrawn(FightState& fight) {
  bool any = false;
  for (int p = 1; p <= 2; ++p) {
    cParticle& sparks = fight.sparks[static_cast<std::size_t>(p)];
    if (!sparks.Active) continue;
    sparks.advancePending = true;
    any = true;
  }
  fight.scene.sparks = any;
}

void AdvanceDrawnParticles(FightState& fight) {
  for (int p = 1; p <= 2; ++p) {
    cParticle& bubbles = fight.bubbles[static_cast<std::size_t>(p)];
    if (bubbles.advancePending) AdvanceParticles(bubbles);
    cParticle& sparks = fight.sparks[static_cast<std::size_t>(p)];
    if (sparks.advancePending) AdvanceParticles(sparks);
  }
}

}  // namespace vdx
