#include "fight/flashes.h"

#include "core/ticks.h"

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

void AgeFlashes(FightState& fight, std::uint32_t now) {
  int kept = 0;
  for (int i = 0; i < fight.flashCount; ++i) {
    Flash flash = fight.flashes[static_cast<std::size_t>(i)];
    if (TicksBetween(flash.start, now) >= flash.duration) continue;
    while (TicksBetween(flash.lastTurn, now) >= kTurnMs) {
      flash.angle += kTurnStep;
      flash.lastTurn += kTurnMs;
    }
    fight.flashes[static_cast<std::size_t>(kept++)] = flash;
  }
  for (int i = kept; i < fight.flashCount; ++i) fight.flashes[static_cast<std::size_t>(i)] = Flash{};
  fight.flashCount = kept;
}

float FlashAlpha(const Flash& flash, std::uint32_t now) {
  return 1.0f - static_cast<float>(TicksBetween(flash.start, now)) /
                    static_cast<float>(flash.duration);
}

}  // namespace vdx
