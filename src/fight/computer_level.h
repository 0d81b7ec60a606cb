// The computer's levels, 1 to 8, as numbers applied to the profile it plays
// from ai.xml. Level 4 (kProfileDifficulty) plays the profile exactly as it
// is written; lower levels decide more slowly, block less, attack less and
// sometimes swing at the air; higher ones decide sooner, block more, attack
// more and throw their far moves (the specials) from range. At every level
// but 4 a computer kept at range soon comes forward instead of shuffling
// there. A level changes only how the computer chooses: it presses the same
// keys a player has and gets nothing a player does not.
#pragma once

#include "content/records.h"

namespace vdx {

struct ComputerLevel {
  double delayScale = 1;  // × the longest wait before the next decision
  // Added to the profile's chances (the sums held to 0..100):
  Integer block = 0;       // to Block
  Integer aggression = 0;  // to Aggression
  Integer attack = 0;      // to Attack and AttackFar
  Integer whiff = 0;      // % of out-of-range close attacks it throws anyway
  Integer pressOn = 0;    // % of decisions at range to wait or back off that come forward instead
  Integer farAttack = 0;  // % of decisions at range that end in a far attack
};

// The numbers of `level`; a level outside 1..8 is held to the nearest one.
const ComputerLevel& ComputerLevelOf(Integer level);

// A profile number with a level's shift: as written for no shift, else held to 0..100.
Integer ShiftedChance(Integer chance, Integer shift);

}  // namespace vdx
