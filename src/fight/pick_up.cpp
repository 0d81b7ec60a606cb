#include "fight/pick_up.h"

#include <algorithm>

#include "audio/sound_table.h"
#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/damage.h"
#include "fight/hit_tests.h"
#include "fight/sparks.h"
#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

constexpr int kBallDrawn = 64;  // drawn 64 x 64, whatever the picture's size
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

Rect BallOnScreen(const FightState& fight) {
  const Long x = fight.pickUp.x - fight.CameraX + 25;
  return Rect{x, fight.pickUp.y, x + kBallDrawn, fight.pickUp.y + kBallDrawn};
}

void DrawBall(Game& game, const FightState& fight, const FightSlots& slots) {
  if (!slots.ball) return;
  const Rect at = BallOnScreen(fight);
  const auto x = static_cast<float>(at.Left);
  const auto y = static_cast<float>(at.Top);
  Surface& target = game.display.backBuffer;
  SpriteArgs shadow =
      SpriteAt(x + 6, y + 6, slots.ball->width, slots.ball->height, kBallDrawn, kBallDrawn);
  shadow.Alpha = 0.3f;
  shadow.Red = shadow.Green = shadow.Blue = 0.1f;
  DrawSprite(target, *slots.ball, shadow, game.display.raster);
  const bool power = fight.pickUp.PowerUpKind == 1;
  SpriteArgs body = SpriteAt(x, y, slots.ball->width, slots.ball->height, kBallDrawn, kBallDrawn);
  body.Red = power ? 1.0f : 0.8f;
  body.Green = power ? 0.8f : 1.0f;
  body.Blue = 0.8f;
  DrawSprite(target, *slots.ball, body, game.display.raster);
  if (slots.ballHighlight) {
    SpriteArgs shine = SpriteAt(x, y, slots.ballHighlight->width, slots.ballHighlight->height,
                                kBallDrawn, kBallDrawn);
    shine.BlendMode = 1;
    DrawSprite(target, *slots.ballHighlight, shine, game.display.raster);
  }
}

}  // namespace

void TakePickUp(Game& game, FightState& fight, const FightSlots& slots, int player, int kind,
                std::uint32_t now) {
  FighterState& me = fight.fighters[player];
  if (kind == 1) {
    me.PowerMode = true;
    me.PowerModeEnds = now + kPowerModeMs;
    fight.fighters[Opponent(player)].DamageMultiplier = 2;
  } else if (kind == 2) {
    me.Health = HealthAfterPickUp(me.Health, slots.players[player].character.Health);
  }
  PlaySound(game.platform, game.sounds, "PowerUp.wav", game.settings.SoundVolume, game.log);
  fight.pickUp.PowerUpKind = 0;
}

void PickUpStep(Game& game, FightState& fight, const FightSlots& slots, int player,
                std::uint32_t now) {
  FighterState& me = fight.fighters[player];
  if (me.PowerMode && !TickAfter(me.PowerModeEnds, now)) {
    me.PowerMode = false;
    me.trail = {};
    me.trailRefreshed = 0;
    fight.fighters[Opponent(player)].DamageMultiplier = 1;
  }
  Fall(game.random, fight.pickUp, now);
  if (fight.pickUp.PowerUpKind == 0) return;
  DrawBall(game, fight, slots);
  if (!slots.ball) return;
  const FrameOnScreen fighter = PlaceFighter(me, slots.players[player]);
  const PixelSide ball{BallOnScreen(fight), slots.ball.get(), false, 0, 0};
  const PixelSide body{fighter.rect, fighter.picture, fighter.mirrored, 0, 0};
  if (!TestPixelCollision(body, ball)) return;
  const Rect at = BallOnScreen(fight);
  ArmSparks(game, fight, slots, player, (at.Left + at.Right) / 2, (at.Top + at.Bottom) / 2);
  TakePickUp(game, fight, slots, player, fight.pickUp.PowerUpKind, now);
}

}  // namespace vdx
