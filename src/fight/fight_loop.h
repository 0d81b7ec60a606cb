// A match: rounds until one player has won enough of them, each round a loop
// of 16 ms frames (input, the computer, both fighters' turns, drawing,
// presentation).
#pragma once

#include <cstdint>
#include <string>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

struct MatchResult {
  int winner = 0;  // 1 or 2; 0 when the match was left undecided
  int rounds = 0;  // rounds fought
  std::uint64_t frames = 0;
  bool quit = false;  // the game is closing
};

// What a run asks of the fight besides playing it.
struct FightOutputs {
  // One line per fight frame: "frame stateHash pictureHash" (hex), appended.
  std::string* frameHashes = nullptr;
};

// The wins that decide a match of `rounds` rounds.
int WinsNeeded(Integer rounds);

MatchResult PlayMatch(Game& game, const MatchSetup& setup, FightOutputs outputs = {});

}  // namespace vdx
