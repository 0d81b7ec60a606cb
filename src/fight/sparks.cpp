#include "fight/sparks.h"

namespace vdx {

bool ArmSparks(Game& game, FightState& fight, const FightSlots& slots, int player, Long x,
               Long y) {
  return ArmSparkBurst(fight.sparks[static_cast<std::size_t>(player)], game.random, slots.spark,
                       static_cast<int>(x), static_cast<int>(y));
}

void ShowSparks(FightState& fight, int player) {
  fight.sparks[static_cast<std::size_t>(player)].Active = true;
}

void DrawSparks(Game& game, FightState& fight) {
  for (int p = 1; p <= 2; ++p) {
    cParticle& sparks = fight.sparks[static_cast<std::size_t>(p)];
    if (sparks.Active) RenderParticles(sparks, game.display.backBuffer, game.display.raster);
  }
}

}  // namespace vdx
