#include "fight/damage.h"

#include <algorithm>
#include <limits>

#include "content/xml_values.h"

namespace vdx {

Integer ClampHealth(double health) {
  const double low = std::numeric_limits<Integer>::min();
  const double high = std::numeric_limits<Integer>::max();
  return static_cast<Integer>(RoundHalfEven(std::clamp(health, low, high)));
}

Integer HealthAfterMeleeHit(Integer health, Integer damage, int multiplier, int combo) {
  return ClampHealth(static_cast<double>(health) - static_cast<double>(damage) * multiplier -
                     0.1 * damage * combo);
}

Integer HealthAfterMeleeBlock(Integer health, Integer damage, int multiplier) {
  return ClampHealth(static_cast<double>(health) - damage / 6.0 * multiplier);
}

Integer HealthAfterProjectileHit(Integer health, Integer damage) {
  return ClampHealth(static_cast<double>(health) - damage);
}

Integer HealthAfterProjectileBlock(Integer health, Integer damage) {
  return ClampHealth(static_cast<double>(health) - damage / 4.0);
}

Integer HealthAfterPickUp(Integer health, Integer fullHealth) {
  const int raised = health + 30;
  return ClampHealth(health >= fullHealth ? health : std::min<int>(raised, fullHealth));
}

std::string_view MeleeReaction(const cAction& attack, bool victimOnGround) {
  if (!attack.HardHit && !attack.MidHit && victimOnGround) return "Hit";
  if (attack.MidHit && victimOnGround) return "MidHit";
  if (attack.HighHit) return "HighHit";
  return "HardHit";
}

void StartReaction(FighterState& v, const cCharacter& character, std::string_view name) {
  v.ActionName = name;
  v.frameCounter = 0;  // outside every action: the next step starts at its Offset
  if (const cAction* reaction = character.Actions.find(v.ActionName))
    if (reaction->Count > 0) v.CurrentFrame = reaction->Offset;
}

void KnockOutIfDown(FightState& fight, int attacker, int victim) {
  FighterState& v = fight.fighters[victim];
  if (v.Health >= 1) return;
  v.ActionName = "KO";
  if (fight.RoundLoser != 0) return;
  ++fight.RoundWins[attacker];
  fight.RoundLoser = victim;
}

}  // namespace vdx
