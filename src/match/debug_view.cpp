#include "match/debug_view.h"

#include <algorithm>

#include "effects/effect_animation.h"
#include "fight/effect_runs.h"
#include "fight/fighter_pass.h"
#include "fight/hit_tests.h"
#include "fight/projectile_hits.h"
#include "platform/keycodes.h"

namespace vdx {
namespace {

constexpr std::uint32_t kBodyColour = 0x0000FF00u;
constexpr std::uint32_t kFrameColour = 0x00FFFF00u;
constexpr std::uint32_t kBoxColour = 0x00FF0000u;
constexpr std::uint32_t kEffectColour = 0x00FF00FFu;      // where an effect is drawn
constexpr std::uint32_t kProjectileColour = 0x0000FFFFu;  // where it can hit

// A key went down since the last frame.
bool Pressed(DebugView& view, const FrameInput& frame, int which, KeyCode code) {
  const bool down = frame.keys[code] != 0;
  const bool pressed = down && !view.held[static_cast<std::size_t>(which)];
  view.held[static_cast<std::size_t>(which)] = down;
  return pressed;
}

// The outline of a rectangle (right and bottom outside), clipped to the target.
void Outline(Surface& target, const Rect& r, std::uint32_t colour) {
  if (r.Left >= r.Right || r.Top >= r.Bottom) return;
  const auto plot = [&](Long x, Long y) {
    if (x >= 0 && y >= 0 && x < target.width && y < target.height)
      target.at(static_cast<int>(x), static_cast<int>(y)) = colour;
  };
  const Long left = std::max<Long>(r.Left, -1), right = std::min<Long>(r.Right, target.width + 1);
  const Long top = std::max<Long>(r.Top, -1), bottom = std::min<Long>(r.Bottom, target.height + 1);
  for (Long x = left; x < right; ++x) {
    plot(x, r.Top);
    plot(x, r.Bottom - 1);
  }
  for (Long y = top; y < bottom; ++y) {
    plot(r.Left, y);
    plot(r.Right - 1, y);
  }
}

}  // namespace

DebugStep ReadDebugKeys(DebugView& view, const FrameInput& frame, bool debugMode) {
  if (!debugMode) return DebugStep::Run;
  if (Pressed(view, frame, 0, key::F1)) view.showBoxes = !view.showBoxes;
  if (Pressed(view, frame, 1, key::F2)) view.stepping = !view.stepping;
  const bool step = Pressed(view, frame, 2, key::F3);
  return view.stepping && !step ? DebugStep::Hold : DebugStep::Run;
}

void DrawDebugOverlay(Surface& target, const FightState& fight, const FightSlots& slots) {
  for (int p = 1; p <= 2; ++p) {
    const FighterState& f = fight.fighters[p];
    const FrameOnScreen frame = PlaceFighter(f, slots.players[p]);
    Outline(target, frame.rect, kFrameColour);
    Outline(target, BodyRect(f), kBodyColour);
    ForEachRunningEffect(fight, slots, p, [&](const cEffect& e, const EffectRun& run) {
      const EffectBox drawn = DrawnEffectBox(PoseOf(run));
      Outline(target, Rect{drawn.Left, drawn.Top, drawn.Right, drawn.Bottom}, kEffectColour);
      if (e.Damage >= 1) Outline(target, ProjectileRect(e, run), kProjectileColour);
    });
    if (frame.boxes == nullptr) continue;
    for (const cCol& box : *frame.boxes)
      Outline(target, PlaceBox(box, frame), kBoxColour);
  }
}

}  // namespace vdx
