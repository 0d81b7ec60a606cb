// What a blow costs: the health arithmetic of hits, blocks and the pick-up,
// the reaction a hit plays, and the knock-out.
#pragma once

#include <string_view>

#include "content/records.h"
#include "fight/fight_state.h"

namespace vdx {

// Health is a 16-bit number in stored records; results are kept inside it.
Integer ClampHealth(double health);

// A melee hit: damage times the victim's multiplier, plus a tenth of the
// damage for each hit of the attacker's combo (the first hit already counts).
Integer HealthAfterMeleeHit(Integer health, Integer damage, int multiplier, int combo);
// A blocked melee attack costs a sixth of its damage, times the multiplier.
Integer HealthAfterMeleeBlock(Integer health, Integer damage, int multiplier);
// A projectile costs its damage; blocked, a quarter of it.
Integer HealthAfterProjectileHit(Integer health, Integer damage);
Integer HealthAfterProjectileBlock(Integer health, Integer damage);
// The health pick-up gives 30, never above the character's full health.
Integer HealthAfterPickUp(Integer health, Integer fullHealth);

// The reaction a melee hit starts in the victim.
std::string_view MeleeReaction(const cAction& attack, bool victimOnGround);

// The victim plays `name` from its first frame, also when it was already
// playing it.
void StartReaction(FighterState& victim, const cCharacter& character, std::string_view name);

// A victim whose health fell below 1 is knocked out. The round's first
// knock-out decides it: it gives the attacker the round and names the loser;
// another one later (even in the same frame) changes neither.
void KnockOutIfDown(FightState& fight, int attacker, int victim);

}  // namespace vdx
