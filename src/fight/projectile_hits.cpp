#include "fight/projectile_hits.h"

#include "effects/effect_animation.h"
#include "fight/action_names.h"
#include "fight/damage.h"
#include "fight/effect_runs.h"
#include "fight/sparks.h"

namespace vdx {
namespace {

bool Upper(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() && NameHolds(name, upper);
}

}  // namespace

Rect ProjectileRect(const cEffect& effect, const EffectRun& run) {
  const Long left = run.bFlip ? run.X - effect.oWidth : run.X;
  return Rect{left, run.Y, left + effect.oWidth, run.Y + effect.oHeight};
}

std::optional<Rect> ProjectileContact(const cEffect& effect, const EffectRun& run,
                                      const Surface* effectFrame, const FrameOnScreen& victim) {
  const Rect rect = ProjectileRect(effect, run);
  const auto overlap = Intersect(rect, victim.rect);
  if (!overlap) return std::nullopt;
  const PixelSide body{victim.rect, victim.picture, victim.mirrored, 0, 0};
  const PixelSide shot{rect, effectFrame, run.bFlip, 0, 0};
  if (!TestPixelCollision(body, shot)) return std::nullopt;
  return overlap;
}

void TestProjectileHit(StepContext& ctx, int attacker, const cEffect& effect, EffectRun& run) {
  if (effect.Damage < 1 || run.HasHit) return;
  FightState& fight = ctx.fight;
  const FightSlots& slots = ctx.slots;
  const int v = Opponent(attacker);
  FighterState& a = fight.fighters[attacker];
  FighterState& victim = fight.fighters[v];
  const cCharacter& victimCharacter = slots.players[v].character;
  const FrameOnScreen body = PlaceFighter(victim, slots.players[v]);
  const auto contact = ProjectileContact(
      effect, run, CurrentPicture(slots.effects, effect.Offset, effect.Frames, run.CurFrame), body);
  if (!contact) return;
  // Touching arms the thrower's sparks where the two met.
  ArmSparks(fight, attacker, (contact->Left + contact->Right) / 2,
            (contact->Top + contact->Bottom) / 2);
  const bool holdsBlock = victim.HeldCommand == "B";
  const bool sweep = Upper(a.ActionName, "SWEEPKICK");
  if (!NameHolds(victim.ActionName, "HIT") && victim.ActionName != "KO" && (!holdsBlock || sweep)) {
    run.HasHit = true;
    victim.Facing = !a.Facing;
    victim.HitFlag = true;
    if (effect.ShowParticles) ShowSparks(fight, attacker);
    const bool onGround = victim.PlayerY == victimCharacter.yOffset;
    victim.Health = HealthAfterProjectileHit(victim.Health, effect.Damage);
    StartReaction(victim, victimCharacter,
                  victim.Health < 1             ? "KO"
                  : onGround && !effect.HardHit ? "Hit"
                                                : "HardHit");
    KnockOutIfDown(fight, attacker, v);
    if (effect.MoveHorizontal != 0 || effect.MoveVertical != 0)
      run.Duration = effect.DisplayRate;
    if (!effect.NextEffect.empty())
      StartNextEffect(FamilyOf(fight, slots, attacker), effect.NextEffect,
                      EffectEnd{run.X, run.Y, run.bFlip});
  } else if (holdsBlock && run.Duration < effect.DisplayRate) {
    a.ComboCount = victim.ComboCount = 0;
    run.HasHit = true;
    const Name blocking = victim.ActionName;  // its block starts again
    StartReaction(victim, victimCharacter, blocking);
    victim.Health = HealthAfterProjectileBlock(victim.Health, effect.Damage);
    if (victim.Health < 1) StartReaction(victim, victimCharacter, "KO");
    KnockOutIfDown(fight, attacker, v);
  }
}

}  // namespace vdx
