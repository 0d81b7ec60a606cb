#include "fight/pick_up.h"

#include <algorithm>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/damage.h"
#include "fight/hit_tests.h"
#include "fight/sparks.h"

namespace vdx {
namespace {

constexpr std::uint32_t kLifeMs = 15000;
constexpr std::uint32_t kFallMs = 40;
constexpr Long kFallStep = 4;
constexpr Long kLowest = 400;

// The ball falls, and starts again from the top after its life.
void Fall(RandomGenerator& random, PickUp& ball, std::uint32_t now) {
  if (ball.PowerUpKind == 0) {
    // One chance in six a pass.
    if (RoundHalfEven(random.Uniform() * 3) != 0) return;
    ball.PowerUpKind = RoundHalfEven(random.Uniform() * 100) >= 50 ? 1 : 2;
    ball.falling = false;
  }
  if (!ball.falling || !TickAfter(ball.lifeEnds, now)) {
    const bool expired = ball.falling;
    ball.falling = true;
    ball.x = random.Range(20, 1260);
    ball.y = 0;
    ball.lifeEnds = now + kLifeMs;
    ball.nextFall = now + kFallMs;
    if (expired) ball.PowerUpKind = 2;
  }
  if (!TickAfter(ball.nextFall, now)) {
    ball.nextFall = now + kFallMs;
    if (ball.y < kLowest) ball.y = std::min<Long>(kLowest, ball.y + kFallStep);
  }
}

}  // namespace

Rect BallOnScreen(const FightState& fight) {
  const Long x = fight.pickUp.x - fight.CameraX + 25;
  return Rect{x, fight.pickUp.y, x + kBallDrawn, fight.pickUp.y + kBallDrawn};
}

void TakePickUp(StepContext& ctx, int player, int kind) {
  FightState& fight = ctx.fight;
  const std::uint32_t now = ctx.now;
  FighterState& me = fight.fighters[player];
  if (kind == 1) {
    me.PowerMode = true;
    me.PowerModeEnds = now + kPowerModeMs;
    fight.fighters[Opponent(player)].DamageMultiplier = 2;
  } else if (kind == 2) {
    me.Health = HealthAfterPickUp(me.Health, ctx.slots.players[player].character.Health);
  }
  ctx.events.sound("PowerUp.wav");
  fight.pickUp.PowerUpKind = 0;
}

void PickUpStep(StepContext& ctx, int player) {
  FightState& fight = ctx.fight;
  const FightSlots& slots = ctx.slots;
  const std::uint32_t now = ctx.now;
  FighterState& me = fight.fighters[player];
  if (me.PowerMode && !TickAfter(me.PowerModeEnds, now)) {
    me.PowerMode = false;
    me.trail = {};
    me.trailRefreshed = 0;
    fight.fighters[Opponent(player)].DamageMultiplier = 1;
  }
  if (!slots.rules.pickUps) return;
  Fall(fight.random, fight.pickUp, now);
  if (fight.pickUp.PowerUpKind == 0) return;
  fight.scene.turns[static_cast<std::size_t>(player)].ball =
      BallPose{slots.ball != nullptr, BallOnScreen(fight), fight.pickUp.PowerUpKind == 1};
  if (!slots.ball) return;
  const FrameOnScreen fighter = PlaceFighter(me, slots.players[player]);
  const PixelSide ball{BallOnScreen(fight), slots.ball.get(), false, 0, 0};
  const PixelSide body{fighter.rect, fighter.picture, fighter.mirrored, 0, 0};
  if (!TestPixelCollision(body, ball)) return;
  const Rect at = BallOnScreen(fight);
  ArmSparks(fight, player, (at.Left + at.Right) / 2, (at.Top + at.Bottom) / 2);
  TakePickUp(ctx, player, fight.pickUp.PowerUpKind);
}

}  // namespace vdx
