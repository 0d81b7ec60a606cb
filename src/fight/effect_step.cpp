#include "fight/effect_step.h"

#include "audio/sound_table.h"
#include "core/ticks.h"
#include "effects/effect_animation.h"
#include "fight/projectile_hits.h"

namespace vdx {
namespace {

constexpr int kBubbleOffset = 50;  // from the effect's anchor into its picture

// Still waiting out its start delay: for StartDelay ms after it started.
bool Delayed(cEffect& e, std::uint32_t now) {
  if (e.StartDelay < 1) return false;
  if (e.DelayCount == 0)
    e.DelayCount = static_cast<Long>(now + 2u * static_cast<std::uint32_t>(e.StartDelay));
  return TickAfter(static_cast<std::uint32_t>(e.DelayCount),
                   now + static_cast<std::uint32_t>(e.StartDelay));
}

}  // namespace

void StartActionEffects(FighterPassContext& ctx, int player, const cAction& action) {
  FighterState& f = ctx.fight.fighters[player];
  Collection<cEffect>& effects = ctx.slots.players[player].character.Effects;
  for (const std::string& name : action.EffectList) {
    cEffect* e = effects.find(name);
    if (e == nullptr || e->bActive) continue;
    const Long x = f.Facing ? f.PlayerX + 256 - e->animX : f.PlayerX + e->animX;
    const Long y = f.PlayerY + e->animY;
    ActivateEffect(*e, static_cast<Integer>(x), static_cast<Integer>(y), f.Facing);
    if (NameHolds(e->Name, "BUBBLE"))
      ArmBubbles(ctx.fight.bubbles[static_cast<std::size_t>(player)], ctx.game.random,
                 ctx.slots.bubble,
                 static_cast<int>(f.Facing ? x - kBubbleOffset : x + kBubbleOffset),
                 static_cast<int>(y + kBubbleOffset));
  }
}

void UpdateCharacterEffects(Game& game, FightState& fight, FightSlots& slots, int player,
                            std::uint32_t now) {
  Surface& target = game.display.backBuffer;
  cParticle& bubbles = fight.bubbles[static_cast<std::size_t>(player)];
  if (bubbles.Active) RenderParticles(bubbles, target, game.display.raster);
  Collection<cEffect>& effects = slots.players[player].character.Effects;
  for (cEffect& e : effects) {
    if (e.CurFrame < e.Offset) e.CurFrame = e.Offset;
    if (!e.bActive || Delayed(e, now)) continue;
    if (!e.SFX.empty() && !e.bFirst) {
      PlaySound(game.platform, game.sounds, e.SFX, game.settings.SoundVolume, game.log);
      e.bFirst = true;
    }
    if (e.Damage >= 1) TestProjectileHit(game, fight, slots, player, e);
    StepAngle(e, now);
    StepAlpha(e, now);
    StepScale(e, now);
    DrawEffect(target, slots.effects, e, game.display.raster);
    StepEffectFrame(e, now, &effects);
  }
}

}  // namespace vdx
