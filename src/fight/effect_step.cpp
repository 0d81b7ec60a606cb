#include "fight/effect_step.h"

#include "core/ticks.h"
#include "effects/effect_animation.h"
#include "fight/action_names.h"
#include "fight/projectile_hits.h"

namespace vdx {
namespace {

constexpr int kBubbleOffset = 50;  // from the effect's anchor into its picture

// Still waiting out its start delay: for StartDelay ms after it started.
bool Delayed(const cEffect& e, EffectRun& run, std::uint32_t now) {
  if (e.StartDelay < 1) return false;
  if (run.DelayCount == 0)
    run.DelayCount = static_cast<Long>(now + 2u * static_cast<std::uint32_t>(e.StartDelay));
  return TickAfter(static_cast<std::uint32_t>(run.DelayCount),
                   now + static_cast<std::uint32_t>(e.StartDelay));
}

}  // namespace

void StartActionEffects(StepContext& ctx, int player, const cAction& action) {
  FighterState& f = ctx.fight.fighters[static_cast<std::size_t>(player)];
  const EffectFamily family = FamilyOf(ctx.fight, ctx.slots, player);
  for (const std::string& name : action.EffectList) {
    const auto index = family.effects->indexOf(name);
    if (!index || *index >= family.runs.size()) continue;
    const cEffect& e = *family.effects->at(*index + 1);
    EffectRun& run = family.runs[*index];
    if (run.bActive) continue;
    const Long x = f.Facing ? f.PlayerX + 256 - e.animX : f.PlayerX + e.animX;
    const Long y = f.PlayerY + e.animY;
    ActivateEffect(e, run, static_cast<Integer>(x), static_cast<Integer>(y), f.Facing);
    if (NameHolds(e.Name, "BUBBLE"))
      ArmBubbles(ctx.fight.bubbles[static_cast<std::size_t>(player)], ctx.fight.random,
                 static_cast<int>(f.Facing ? x - kBubbleOffset : x + kBubbleOffset),
                 static_cast<int>(y + kBubbleOffset));
  }
}

void StepCharacterEffects(StepContext& ctx, int player) {
  const std::size_t p = static_cast<std::size_t>(player);
  cParticle& bubbles = ctx.fight.bubbles[p];
  // The turn draws the bubbles as they are; they move on next frame.
  ctx.fight.scene.turns[p].bubbles = bubbles.Active;
  if (bubbles.Active) bubbles.advancePending = true;
  const EffectFamily family = FamilyOf(ctx.fight, ctx.slots, player);
  std::size_t i = 0;
  for (const cEffect& e : *family.effects) {
    if (i >= family.runs.size()) break;
    EffectRun& run = family.runs[i++];
    if (run.CurFrame < e.Offset) run.CurFrame = e.Offset;
    if (!run.bActive || Delayed(e, run, ctx.now)) continue;
    if (!e.SFX.empty() && !run.bFirst) {
      ctx.events.sound(e.SFX);
      run.bFirst = true;
    }
    if (e.Damage >= 1) TestProjectileHit(ctx, player, e, run);
    StepAngle(e, run, ctx.now);
    StepAlpha(e, run, ctx.now);
    StepScale(e, run, ctx.now);
    run.shown = PoseOf(run);
    StepEffectFrame(e, run, ctx.now, &family);
  }
}

}  // namespace vdx
