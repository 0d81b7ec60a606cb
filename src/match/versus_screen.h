// The versus screen: both chosen fighters' portraits with "VERSUS" between
// them, shown once before a match's first round and left on screen while the
// fight loads.
#pragma once

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

void DisplayVsScreen(Game& game, const FightSlots& slots);

}  // namespace vdx
