#include "fight/scene_poses.h"

#include <algorithm>

#include "core/ticks.h"
#include "fight/action_names.h"
#include "fight/hit_tests.h"

namespace vdx {
namespace {

constexpr std::uint32_t kTrailRefreshMs = 50;

// The afterimage of a fighter in power mode: three recent poses, the newest
// first, taken at most every 50 ms.
void RefreshTrail(FighterState& f, const FrameOnScreen& now, std::uint32_t tick) {
  if (f.trailRefreshed != 0 && TickAfter(f.trailRefreshed + kTrailRefreshMs, tick)) return;
  f.trail[2] = f.trail[1];
  f.trail[1] = f.trail[0];
  f.trail[0] = TrailImage{f.CurrentFrame, now.rect.Left, now.rect.Top,
                          static_cast<int>(now.rect.Right - now.rect.Left), f.Facing};
  f.trailRefreshed = tick;
}

}  // namespace

void BeginScene(FightState& fight) {
  ScenePose& scene = fight.scene;
  scene.fight = false;
  scene.sparks = false;
  for (TurnPose& turn : scene.turns) turn = TurnPose{};
  scene.background = scene.nextBackground;
  scene.backgroundCamera = scene.nextBackgroundCamera;
  scene.nextBackground = false;
  for (std::uint8_t i = 0; i < fight.scenery.count; ++i) {
    AnimRun& run = fight.scenery.runs[i];
    run.shown = run.next;
    run.next = EffectPose{};
  }
  for (EffectRuns& runs : fight.effects)
    for (std::uint8_t i = 0; i < runs.count; ++i) runs.runs[i].shown = EffectPose{};
}

void ShowFighter(StepContext& ctx, int player) {
  FighterState& f = ctx.fight.fighters[static_cast<std::size_t>(player)];
  const FrameOnScreen placed = PlaceFighter(f, ctx.slots.players[static_cast<std::size_t>(player)]);
  if (placed.picture == nullptr) return;
  // The trail and the rectangle are kept alike whether the fighter shows or not.
  if (f.PowerMode) RefreshTrail(f, placed, ctx.now);
  f.FighterRect = placed.rect;
  FighterPose& pose = ctx.fight.scene.turns[static_cast<std::size_t>(player)].fighter;
  pose.drawn = true;
  pose.held = HeldInGrab(ctx.fight, ctx.slots, player);
  pose.frame = f.CurrentFrame;
  pose.rect = placed.rect;
  pose.facing = f.Facing;
  pose.trail = f.PowerMode;
  pose.trailImages = f.trail;
}

MetersPose ShowMeters(FightState& fight, int player) {
  for (int p = 1; p <= 2; ++p)
    fight.fighters[static_cast<std::size_t>(p)].Health =
        std::max<Integer>(0, fight.fighters[static_cast<std::size_t>(p)].Health);
  const FighterState& f = fight.fighters[static_cast<std::size_t>(player)];
  return MetersPose{true, f.Health, f.ComboCount, fight.RoundWins[static_cast<std::size_t>(player)],
                    f.ActionName == "Sexuality"};
}

bool HeldInGrab(const FightState& fight, const FightSlots& slots, int player) {
  const int o = Opponent(player);
  const FighterState& thrower = fight.fighters[static_cast<std::size_t>(o)];
  if (!thrower.grabCaught) return false;
  const cAction* action = CurrentAction(slots.players[static_cast<std::size_t>(o)].character, thrower);
  return action != nullptr && action->AnimationType == "Grab";
}

void StepRoundBanner(FightState& fight, std::uint32_t now) {
  if (fight.FightStarted) {
    fight.bannerScale = 1.7;
    return;
  }
  if (fight.bannerStep == 0) fight.bannerStep = now + 50;
  while (!TickAfter(fight.bannerStep, now) && fight.bannerScale > 1.0) {
    fight.bannerScale = std::max(1.0, fight.bannerScale - 0.05);
    fight.bannerStep += 50;
  }
}

void StepScenery(StepContext& ctx) {
  FightState& fight = ctx.fight;
  fight.scene.nextBackground = true;
  fight.scene.nextBackgroundCamera = fight.CameraX;
  std::uint8_t i = 0;
  for (const cAnim& anim : ctx.slots.stage.Animations) {
    if (i >= fight.scenery.count) break;
    AnimRun& run = fight.scenery.runs[i++];
    if (PrepareStageAnimation(anim, run, ctx.now)) ctx.events.sound(anim.SFX);
    run.next = PoseOf(anim, run);
    MoveStageAnimation(anim, run, ctx.now);
  }
}

}  // namespace vdx
