#include "fight/fight_drawing.h"

#include <algorithm>
#include <cmath>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/fighter_pass.h"
#include "fight/hit_tests.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr float kShadowAngle = 4.71f;  // upside down
constexpr int kShadowHeight = 64;
constexpr int kBannerWidth = 512;
constexpr int kBannerHeight = 64;

}  // namespace

namespace {

constexpr std::uint32_t kTrailRefreshMs = 50;
constexpr int kTrailSize = 270;

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

void DrawTrail(Game& game, const FighterState& f, const FighterSlot& slot) {
  const auto& frames = slot.frames.frames;
  for (const TrailImage& image : f.trail) {
    if (image.frame < 1 || image.frame > static_cast<Long>(frames.size())) continue;
    SpriteArgs args = SpriteAt(static_cast<float>(image.x), static_cast<float>(image.y),
                               image.width, 256, kTrailSize * image.width / 256, kTrailSize);
    args.Alpha = 0.5f;
    args.Flip = static_cast<std::int16_t>(image.facing ? 1 : 0);
    DrawSprite(game.display.backBuffer, *frames[static_cast<std::size_t>(image.frame - 1)], args,
               game.display.raster);
  }
}

}  // namespace

void DrawFighter(Game& game, FightState& fight, const FightSlots& slots, int player,
                 std::uint32_t now) {
  FighterState& f = fight.fighters[player];
  const FighterSlot& slot = slots.players[player];
  const FrameOnScreen placed = PlaceFighter(f, slot);
  // A frame outside the fighter's frames (an action without any) draws nothing.
  if (placed.picture == nullptr) return;
  // The trail and the rectangle are kept alike whether the fighter shows or not.
  const bool trail = game.settings.Shadows && f.PowerMode;
  if (trail) RefreshTrail(f, placed, now);
  f.FighterRect = placed.rect;
  if (HeldInGrab(fight, slots, player)) return;
  const Surface& frame = *placed.picture;
  const int width = static_cast<int>(placed.rect.Right - placed.rect.Left);
  const auto flip = static_cast<std::int16_t>(f.Facing ? 1 : 0);
  Surface& target = game.display.backBuffer;
  if (game.settings.Shadows) {
    if (trail) DrawTrail(game, f, slot);
    SpriteArgs shadow =
        SpriteAt(static_cast<float>(placed.rect.Left),
                 static_cast<float>(slot.character.yOffset + slot.character.ShadowOffset), width,
                 256, width, kShadowHeight);
    shadow.Angle = kShadowAngle;
    shadow.Red = shadow.Green = shadow.Blue = 0.1f;
    shadow.Alpha = 0.5f;
    shadow.Flip = flip;
    DrawSprite(target, frame, shadow, game.display.raster);
  }
  SpriteArgs body = SpriteAt(static_cast<float>(placed.rect.Left),
                             static_cast<float>(placed.rect.Top), width, 256);
  body.Flip = flip;
  DrawSprite(target, frame, body, game.display.raster);
}

bool HeldInGrab(const FightState& fight, const FightSlots& slots, int player) {
  const int o = Opponent(player);
  const FighterState& thrower = fight.fighters[o];
  if (!thrower.grabCaught) return false;
  const cAction* action = CurrentAction(slots.players[o].character, thrower);
  return action != nullptr && action->AnimationType == "Grab";
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

void DrawRoundBanner(Game& game, FightState& fight, const RoundBanner& banner, std::uint32_t now) {
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
