#include "fight/flashes.h"

#include <algorithm>

#include "core/ticks.h"
#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

constexpr std::uint32_t kTurnMs = 30;
constexpr float kTurnStep = 0.2f;  // radians a turn

}  // namespace

void AddFlash(FightState& fight, Long x, Long y, std::uint32_t now) {
  if (fight.flashCount >= kMaxFlashes) return;
  // Kept on the stage, so it stays where the blow landed when the camera moves.
  fight.flashes[static_cast<std::size_t>(fight.flashCount++)] =
      Flash{x + fight.CameraX, y, now, kFlashMs, 0.0f, now};
}

void DrawFlashes(Game& game, FightState& fight, const Surface* picture, std::uint32_t now) {
  int kept = 0;
  for (int i = 0; i < fight.flashCount; ++i) {
    Flash flash = fight.flashes[static_cast<std::size_t>(i)];
    const std::uint32_t age = TicksBetween(flash.start, now);
    if (age >= flash.duration) continue;
    while (TicksBetween(flash.lastTurn, now) >= kTurnMs) {
      flash.angle += kTurnStep;
      flash.lastTurn += kTurnMs;
    }
    if (picture != nullptr) {
      SpriteArgs args = SpriteAt(static_cast<float>(flash.x - fight.CameraX - picture->width / 2),
                                 static_cast<float>(flash.y - picture->height / 2), picture->width,
                                 picture->height);
      args.Angle = flash.angle;
      args.BlendMode = 1;
      args.Alpha = 1.0f - static_cast<float>(age) / static_cast<float>(flash.duration);
      DrawSprite(game.display.backBuffer, *picture, args, game.display.raster);
    }
    fight.flashes[static_cast<std::size_t>(kept++)] = flash;
  }
  fight.flashCount = kept;
}

}  // namespace vdx
