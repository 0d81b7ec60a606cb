// The move list of the pause menu: each fighter's moves that take a key
// sequence (two letters or more), with their names and keys, in the order the
// content lists them; player 1's beside the menu on the left, player 2's on
// the right.
#pragma once

#include <string>
#include <vector>

#include "content/records.h"
#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

struct MoveListEntry {
  std::string name;
  std::string keys;  // the Activate letters
};

std::vector<MoveListEntry> MoveList(const cCharacter& character);

// Where a player's list is drawn, and how many moves fit in it.
inline constexpr int kMoveListTop = 40;
inline constexpr int kMoveListWidth = 196;
inline constexpr int kMoveListLineHeight = 15;
inline constexpr int kMostMovesShown = 26;
int MoveListLeft(int player);

// Both fighters' lists.
void DrawMoveLists(Game& game, const FightSlots& slots);

}  // namespace vdx
