#include "match/fight_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/ticks.h"
#include "effects/effect_drawing.h"
#include "effects/particle_drawing.h"
#include "effects/weather_drawing.h"
#include "fight/flashes.h"
#include "fight/pick_up.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"
#include "match/pause_menu.h"

namespace vdx {
namespace {

constexpr float kShadowAngle = 4.71f;  // upside down
constexpr int kShadowHeight = 64;
constexpr int kBannerWidth = 512;
constexpr int kBannerHeight = 64;
constexpr int kTrailSize = 270;

void DrawTrail(Game& game, const FighterPose& pose, const FighterSlot& slot) {
  const auto& frames = slot.frames.frames;
  for (const TrailImage& image : pose.trailImages) {
    if (image.frame < 1 || image.frame > static_cast<Long>(frames.size())) continue;
    SpriteArgs args = SpriteAt(static_cast<float>(image.x), static_cast<float>(image.y),
                               image.width, 256, kTrailSize * image.width / 256, kTrailSize);
    args.Alpha = 0.5f;
    args.Flip = static_cast<std::int16_t>(image.facing ? 1 : 0);
    DrawSprite(game.display.backBuffer, *frames[static_cast<std::size_t>(image.frame - 1)], args,
               game.display.raster);
  }
}

// The fighter (and, when shadows are on, its shadow and in power mode its
// afterimage trail). A fighter held in the opponent's grab is not drawn: the
// grab's frames show it.
void DrawFighter(Game& game, const FighterPose& pose, const FighterSlot& slot) {
  if (!pose.drawn || pose.held) return;
  const auto index = static_cast<std::size_t>(pose.frame - 1);
  if (pose.frame < 1 || index >= slot.frames.frames.size() || !slot.frames.frames[index]) return;
  const Surface& frame = *slot.frames.frames[index];
  const int width = static_cast<int>(pose.rect.Right - pose.rect.Left);
  const auto flip = static_cast<std::int16_t>(pose.facing ? 1 : 0);
  Surface& target = game.display.backBuffer;
  if (game.settings.Shadows) {
    if (pose.trail) DrawTrail(game, pose, slot);
    SpriteArgs shadow =
        SpriteAt(static_cast<float>(pose.rect.Left),
                 static_cast<float>(slot.character.yOffset + slot.character.ShadowOffset), width,
                 256, width, kShadowHeight);
    shadow.Angle = kShadowAngle;
    shadow.Red = shadow.Green = shadow.Blue = 0.1f;
    shadow.Alpha = 0.5f;
    shadow.Flip = flip;
    DrawSprite(target, frame, shadow, game.display.raster);
  }
  SpriteArgs body = SpriteAt(static_cast<float>(pose.rect.Left),
                             static_cast<float>(pose.rect.Top), width, 256);
  body.Flip = flip;
  DrawSprite(target, frame, body, game.display.raster);
}

void DrawBall(Game& game, const BallPose& pose, const FightSlots& slots) {
  if (!pose.drawn || !slots.ball) return;
  const auto x = static_cast<float>(pose.rect.Left);
  const auto y = static_cast<float>(pose.rect.Top);
  Surface& target = game.display.backBuffer;
  SpriteArgs shadow =
      SpriteAt(x + 6, y + 6, slots.ball->width, slots.ball->height, kBallDrawn, kBallDrawn);
  shadow.Alpha = 0.3f;
  shadow.Red = shadow.Green = shadow.Blue = 0.1f;
  DrawSprite(target, *slots.ball, shadow, game.display.raster);
  SpriteArgs body = SpriteAt(x, y, slots.ball->width, slots.ball->height, kBallDrawn, kBallDrawn);
  body.Red = pose.power ? 1.0f : 0.8f;
  body.Green = pose.power ? 0.8f : 1.0f;
  body.Blue = 0.8f;
  DrawSprite(target, *slots.ball, body, game.display.raster);
  if (slots.ballHighlight) {
    SpriteArgs shine = SpriteAt(x, y, slots.ballHighlight->width, slots.ballHighlight->height,
                                kBallDrawn, kBallDrawn);
    shine.BlendMode = 1;
    DrawSprite(target, *slots.ballHighlight, shine, game.display.raster);
  }
}

void DrawEffects(Game& game, const FightState& fight, const FightSlots& slots, int player) {
  const EffectRuns& runs = fight.effects[static_cast<std::size_t>(player)];
  std::size_t i = 0;
  for (const cEffect& e : slots.players[static_cast<std::size_t>(player)].character.Effects) {
    if (i >= runs.count) break;
    DrawEffect(game.display.backBuffer, slots.effects, e, runs.runs[i++].shown,
               game.display.raster);
  }
}

void DrawFlashes(Game& game, const FightState& fight, const Surface* picture, std::uint32_t now) {
  if (picture == nullptr) return;
  for (int i = 0; i < fight.flashCount; ++i) {
    const Flash& flash = fight.flashes[static_cast<std::size_t>(i)];
    SpriteArgs args = SpriteAt(static_cast<float>(flash.x - fight.CameraX - picture->width / 2),
                               static_cast<float>(flash.y - picture->height / 2), picture->width,
                               picture->height);
    args.Angle = flash.angle;
    args.BlendMode = 1;
    args.Alpha = FlashAlpha(flash, now);
    DrawSprite(game.display.backBuffer, *picture, args, game.display.raster);
  }
}

void DrawRoundBanner(Game& game, const FightState& fight, const RoundBanner& banner) {
  if (fight.FightStarted) return;
  const int width = static_cast<int>(std::lround(kBannerWidth * fight.bannerScale));
  const int height = static_cast<int>(std::lround(kBannerHeight * fight.bannerScale));
  SpriteArgs args = SpriteAt(static_cast<float>((kScreenWidth - width) / 2),
                             static_cast<float>((kScreenHeight - height) / 2), kBannerWidth,
                             kBannerHeight, width, height);
  DrawSprite(game.display.backBuffer, banner.text, args, game.display.raster);
}

// The stage as the end of the frame before left it: the camera's view and
// the scenery (which travels with the camera, like the sky).
void DrawBackground(Game& game, const FightState& fight, const FightSlots& slots,
                    const StageView& stage) {
  const ScenePose& scene = fight.scene;
  if (!scene.background) return;
  DrawStageView(game, scene.backgroundCamera, stage);
  std::size_t i = 0;
  for (const cAnim& anim : slots.stage.Animations) {
    if (i >= fight.scenery.count) break;
    DrawStageAnimation(game.display.backBuffer, stage.scenery, anim, fight.scenery.runs[i++].shown,
                       game.display.raster);
  }
}

}  // namespace

void DrawFightScene(Game& game, const FightState& fight, const FightSlots& slots,
                    FightView& view) {
  const std::uint32_t now = FightClock(fight);
  DrawBackground(game, fight, slots, view.stage);
  for (const int p : fight.scene.order) {
    const std::size_t i = static_cast<std::size_t>(p);
    const TurnPose& turn = fight.scene.turns[i];
    const FighterSlot& slot = slots.players[i];
    DrawFighter(game, turn.fighter, slot);
    if (turn.meters.drawn)
      DrawFighterHud(game, view.hud[i], view.hudPictures,
                     HudInputs{p, slot.character.Name, slot.character.Health, turn.meters.health,
                               turn.meters.comboCount, turn.meters.roundWins,
                               turn.meters.finisher ? "Sexuality" : "", now});
    DrawBall(game, turn.ball, slots);
    if (turn.pauseMenu) DrawPauseMenu(game, turn.pauseItem, slots);
    if (turn.bubbles)
      DrawParticles(fight.bubbles[i], slots.bubble.get(), game.display.backBuffer,
                    game.display.raster);
    DrawEffects(game, fight, slots, p);
  }
  DrawFlashes(game, fight, slots.flash.get(), now);
  for (int p = 1; p <= 2; ++p) {
    const cParticle& sparks = fight.sparks[static_cast<std::size_t>(p)];
    if (sparks.advancePending)
      DrawParticles(sparks, slots.spark.get(), game.display.backBuffer, game.display.raster);
  }
  if (fight.snowing)
    DrawSnow(fight.snow, slots.snow, game.display.backBuffer, fight.CameraX, game.display.raster);
  if (fight.raining)
    DrawRain(fight.rain, game.display.backBuffer, slots.rain.get(), fight.CameraX,
             game.display.raster);
  DrawRoundBanner(game, fight, view.banner);
  view.drawnFrame = fight.frameNumber;
}

void DrawStageView(Game& game, Long cameraX, const StageView& stage) {
  Surface& target = game.display.backBuffer;
  if (!stage.background) {
    std::fill(target.pixels.begin(), target.pixels.end(), 0u);
    return;
  }
  const Surface& picture = *stage.background;
  // The columns of the view that lie on the picture; black beyond it.
  const Long first = std::clamp<Long>(-cameraX, 0, kScreenWidth);
  const Long last = std::clamp<Long>(picture.width - cameraX, first, kScreenWidth);
  for (int y = 0; y < kScreenHeight && y < picture.height; ++y) {
    const std::uint32_t* row = &picture.pixels[static_cast<std::size_t>(y) * picture.width];
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(y) * target.width];
    std::fill(out, out + first, 0u);
    std::copy(row + cameraX + first, row + cameraX + last, out + first);
    std::fill(out + last, out + kScreenWidth, 0u);
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
