// What the fight draws itself: each fighter with its shadow and trail, the
// round's opening banner and the frame-rate counter.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

inline constexpr int kWideFrame = 364;
inline constexpr int kWideShift = 108;  // a wide frame is drawn this much further left

// Draws the fighter (and, when shadows are on, its shadow and in power mode its
// afterimage trail) into the back buffer and sets its FighterRect. A fighter
// held in the opponent's grab is not drawn: the grab's frames show it.
void DrawFighter(Game& game, FightState& fight, const FightSlots& slots, int player,
                 std::uint32_t now);

// Whether the opponent shows a grab that caught this player.
bool HeldInGrab(const FightState& fight, const FightSlots& slots, int player);

// The round's opening banner, shrinking until the fight starts.
struct RoundBanner {
  Surface text;  // the banner's words, 512 wide, keyed on black
};
RoundBanner MakeRoundBanner(Game& game);
void DrawRoundBanner(Game& game, FightState& fight, const RoundBanner& banner, std::uint32_t now);

// The frame-rate counter of SHOWFPS: frames counted over one-second windows.
struct FpsCounter {
  int frames = 0;
  int rate = 0;
  std::uint32_t windowEnds = 0;
};
void DrawFps(Game& game, FpsCounter& fps, std::uint32_t now);

}  // namespace vdx
