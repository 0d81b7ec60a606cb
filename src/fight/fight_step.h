// A frame of the fight as rules alone: from the state, the match's read-only
// content and both players' input, the next state and what the world outside
// must hear (sounds; the round's or the match's end). Nothing here draws,
// plays or asks the machine anything, and an ordinary frame allocates
// nothing, so a frame can be stepped without being drawn, saved, restored and
// stepped again, and the same inputs always give the same state.
#pragma once

#include <cstdint>

#include "fight/fight_events.h"
#include "fight/fight_state.h"
#include "input/player_input.h"

namespace vdx {

// What every rule of a frame works with.
struct StepContext {
  FightState& fight;
  const FightSlots& slots;
  FightEvents& events;
  std::uint32_t now;  // the fight's clock this frame
};

enum class FightOutcome { Running, RoundOver, MatchOver };

// A computer playing both sides presses nothing: its result banners go on by
// themselves after this long.
inline constexpr std::uint32_t kUnattendedBannerMs = 3000;

// One fight frame. The caller starts each round with BeginRoundState (and
// loads the round's content into the slots first).
FightOutcome StepFight(FightState& fight, const FightSlots& slots, const FightInputs& inputs,
                       FightEvents& events);

// The state at the start of a round: both fighters at their start positions
// with full health, the effects and scenery as loaded, the camera centred.
// A power mode taken late in a round goes on into the next.
void BeginRoundState(FightState& fight, const FightSlots& slots);

// A fresh match: no round won, the computer's memory for the players it plays,
// the generator where the match starts.
FightState StartingFightState(const FightSlots& slots, std::uint64_t randomState);

// Whether the match is decided: one round, or a player has the wins needed.
bool MatchDecided(const FightState& fight, int rounds);
// The wins that decide a match of `rounds` rounds.
int WinsNeeded(Integer rounds);

}  // namespace vdx
