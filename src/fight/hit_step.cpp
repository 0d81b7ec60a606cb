#include "fight/hit_step.h"

#include "core/ticks.h"
#include "fight/action_names.h"
#include "fight/damage.h"
#include "fight/flashes.h"
#include "fight/hit_tests.h"
#include "fight/sparks.h"

namespace vdx {
namespace {

constexpr std::uint32_t kComboMs = 1000;

bool Upper(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() && NameHolds(name, upper);
}

// Sparks where the boxes met, and a flash unless the blow was blocked, shows
// its own sparks, or somebody is already reeling or down.
void HitFeedback(FightState& fight, int attacker, const cAction& attack, const Rect& where,
                 std::uint32_t now) {
  const Long x = (where.Left + where.Right) / 2;
  const Long y = (where.Top + where.Bottom) / 2;
  // While the last burst still shows, the blow shows nothing new.
  if (!ArmSparks(fight, attacker, x, y)) return;
  const FighterState& a = fight.fighters[attacker];
  const FighterState& v = fight.fighters[Opponent(attacker)];
  if (a.HitFlag || v.HitFlag || attack.ShowParticles || a.HeldCommand == "B" ||
      v.HeldCommand == "B")
    return;
  if (NameHolds(a.ActionName, "HARDHIT") || NameHolds(v.ActionName, "HARDHIT") ||
      a.ActionName == "KO" || v.ActionName == "KO")
    return;
  AddFlash(fight, x, y, now);
}

void Melee(FightState& fight, const FightSlots& slots, int a, std::uint32_t now) {
  const int o = Opponent(a);
  FighterState& attacker = fight.fighters[a];
  FighterState& victim = fight.fighters[o];
  const cAction* attack = CurrentAction(slots.players[a].character, attacker);
  if (attack == nullptr || !AttackLive(attacker, *attack)) return;
  const auto hit =
      TestBoxCollision(PlaceFighter(fight.fighters[1], slots.players[1]),
                       PlaceFighter(fight.fighters[2], slots.players[2]));
  if (!hit) return;
  HitFeedback(fight, a, *attack, *hit, now);

  if (!victim.HitFlag && !NameHolds(attacker.ActionName, "HARDHIT") &&
      !NameHolds(victim.ActionName, "HARDHIT")) {
    if (attacker.ActionName != "KO" && victim.ActionName != "KO") ++attacker.ComboCount;
    attacker.ComboDeadline = now + kComboMs;
  }
  victim.Facing = !attacker.Facing;
  const cCharacter& victimCharacter = slots.players[o].character;
  const cAction* victimAction = CurrentAction(victimCharacter, victim);
  const bool sweep = Upper(attacker.ActionName, "SWEEPKICK");
  if ((victim.MoveState != "Block" || sweep) && !victim.HitFlag && victimAction != nullptr &&
      victimAction->bCanHit) {
    if (attack->ShowParticles) ShowSparks(fight, a);
    victim.HitFlag = true;
    if (attack->AnimationType == "Grab") attacker.grabCaught = true;
    const bool onGround = victim.PlayerY == victimCharacter.yOffset;
    victim.Health = HealthAfterMeleeHit(victim.Health, attack->Damage, victim.DamageMultiplier,
                                        attacker.ComboCount);
    StartReaction(victim, victimCharacter,
                  victim.Health < 1 ? "KO" : MeleeReaction(*attack, onGround));
    KnockOutIfDown(fight, a, o);
  } else if (victim.MoveState == "Block" && !victim.HitFlag) {
    // A block ends both combos; it costs one chip an attack, however long the
    // boxes stay together. A victim already reeling (its block broken by a
    // sweep, which leaves it "Block" until the reaction ends) takes no chip.
    attacker.ComboCount = victim.ComboCount = 0;
    if (attacker.attackBlocked) return;
    attacker.attackBlocked = true;
    victim.Health = HealthAfterMeleeBlock(victim.Health, attack->Damage, victim.DamageMultiplier);
    if (victim.Health < 1) StartReaction(victim, victimCharacter, "KO");
    KnockOutIfDown(fight, a, o);
  }
}

}  // namespace

bool AttackLive(const FighterState& fighter, const cAction& action) {
  if (action.Damage < 1) return false;
  const std::string_view name = fighter.ActionName;
  return name != "Standing" && name != "Duck" && !NameHolds(name, "HIT") && name != "KO";
}

void TestHits(StepContext& ctx, int attacker) {
  FighterState& me = ctx.fight.fighters[attacker];
  // A combo ends when its second has passed without another hit.
  if (me.ComboCount > 0 && TickAfter(ctx.now, me.ComboDeadline)) me.ComboCount = 0;
  Melee(ctx.fight, ctx.slots, attacker, ctx.now);
}

}  // namespace vdx
