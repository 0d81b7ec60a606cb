#include "fight/fight_drawing.h"

#include <algorithm>
#include <cmath>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/fighter_pass.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr float kShadowAngle = 4.71f;  // upside down
constexpr int kShadowHeight = 64;
constexpr int kBannerWidth = 512;
constexpr int kBannerHeight = 64;

}  // namespace

void DrawFighter(Game& game, FightState& fight, const FightSlots& slots, int player) {
  FighterState& f = fight.fighters[player];
  const FighterSlot& slot = slots.players[player];
  const auto& frames = slot.frames.frames;
  // A frame outside the fighter's frames (an action without any) draws nothing.
  if (f.CurrentFrame < 1 || f.CurrentFrame > static_cast<Long>(frames.size())) return;
  const Surface& frame = *frames[static_cast<std::size_t>(f.CurrentFrame - 1)];
  const cAction* action = CurrentAction(slot.character, f);
  const bool wide = action != nullptr && (action->AnimationType == "Grab" || action->bLarge);
  const int width = wide ? kWideFrame : 256;
  const Long x = f.PlayerX - (wide ? kWideShift : 0);
  const Long y = f.PlayerY + (action != nullptr ? action->yOffset : 0);
  const auto flip = static_cast<std::int16_t>(f.Facing ? 1 : 0);
  Surface& target = game.display.backBuffer;
  if (game.settings.Shadows) {
    SpriteArgs shadow =
        SpriteAt(static_cast<float>(x),
                 static_cast<float>(slot.character.yOffset + slot.character.ShadowOffset), width,
                 256, width, kShadowHeight);
    shadow.Angle = kShadowAngle;
    shadow.Red = shadow.Green = shadow.Blue = 0.1f;
    shadow.Alpha = 0.5f;
    shadow.Flip = flip;
    DrawSprite(target, frame, shadow, game.display.raster);
  }
  SpriteArgs body = SpriteAt(static_cast<float>(x), static_cast<float>(y), width, 256);
  body.Flip = flip;
  DrawSprite(target, frame, body, game.display.raster);
  f.FighterRect = Rect{x, y, x + width, y + 256};
}

void PickUpStep(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now) {
  PickUp& ball = fight.pickUp;
  RandomGenerator& random = game.random;
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
    ball.lifeEnds = now + 15000;
    ball.nextFall = now + 40;
    if (expired) ball.PowerUpKind = 2;
  }
  if (!TickAfter(ball.nextFall, now)) {
    ball.nextFall = now + 40;
    if (ball.y < 400) ball.y = std::min<Long>(400, ball.y + 4);
  }
  if (!slots.ball) return;
  const float x = static_cast<float>(ball.x - fight.CameraX + 25);
  const float y = static_cast<float>(ball.y);
  Surface& target = game.display.backBuffer;
  SpriteArgs shadow = SpriteAt(x + 6, y + 6, slots.ball->width, slots.ball->height, 64, 64);
  shadow.Alpha = 0.3f;
  shadow.Red = shadow.Green = shadow.Blue = 0.1f;
  DrawSprite(target, *slots.ball, shadow, game.display.raster);
  SpriteArgs body = SpriteAt(x, y, slots.ball->width, slots.ball->height, 64, 64);
  body.Red = ball.PowerUpKind == 1 ? 1.0f : 0.8f;
  body.Green = ball.PowerUpKind == 1 ? 0.8f : 1.0f;
  body.Blue = 0.8f;
  DrawSprite(target, *slots.ball, body, game.display.raster);
  if (slots.ballHighlight) {
    SpriteArgs shine =
        SpriteAt(x, y, slots.ballHighlight->width, slots.ballHighlight->height, 64, 64);
    shine.BlendMode = 1;
    DrawSprite(target, *slots.ballHighlight, shine, game.display.raster);
  }
}

RoundBanner MakeRoundBanner(Game& game) {
  RoundBanner banner{MakeSurface(kBannerWidth, kBannerHeight)};
  banner.text.colorKey = 0;
  const cFont& font = game.settings.RoundLossFont;
  const auto size = game.platform.renderText(StyleOf(font), font.Text);
  const int x = size ? std::max(0, (kBannerWidth - size->width) / 2) : 0;
  const int y = size ? std::max(0, (kBannerHeight - size->height) / 2) : 0;
  DrawSystemText(game.platform, banner.text, font, font.Text, x, y);
  MarkDrawnColumns(banner.text);
  return banner;
}

void DrawRoundBanner(Game& game, FightState& fight, const RoundBanner& banner,
                     std::uint32_t now) {
  if (fight.FightStarted) {
    fight.bannerScale = 1.7;
    return;
  }
  if (fight.bannerStep == 0) fight.bannerStep = now + 50;
  while (!TickAfter(fight.bannerStep, now) && fight.bannerScale > 1.0) {
    fight.bannerScale = std::max(1.0, fight.bannerScale - 0.05);
    fight.bannerStep += 50;
  }
  const int width = static_cast<int>(std::lround(kBannerWidth * fight.bannerScale));
  const int height = static_cast<int>(std::lround(kBannerHeight * fight.bannerScale));
  SpriteArgs args = SpriteAt(static_cast<float>((kScreenWidth - width) / 2),
                             static_cast<float>((kScreenHeight - height) / 2), kBannerWidth,
                             kBannerHeight, width, height);
  DrawSprite(game.display.backBuffer, banner.text, args, game.display.raster);
}

void DrawFps(Game& game, FpsCounter& fps, std::uint32_t now) {
  ++fps.frames;
  if (fps.windowEnds == 0) fps.windowEnds = now + 1000;
  if (!TickAfter(fps.windowEnds, now)) {
    fps.rate = fps.frames;
    fps.frames = 0;
    fps.windowEnds = now + 1000;
  }
  DrawSystemText(game.platform, game.display.backBuffer, game.settings.HealthMeterFont,
                 "FPS:" + std::to_string(fps.rate), 0, 0);
}

}  // namespace vdx
