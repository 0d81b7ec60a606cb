// A player's fight input from one pass's reading of the machine: the keys of
// the player's bindings and, when the settings switch them on, the player's
// controller, as the few bits the fight steps on.
#pragma once

#include "content/records.h"
#include "input/frame_input.h"
#include "input/player_input.h"

namespace vdx {

// Player 1's buttons include Pause (Escape); a controller adds its stick
// (below 4000 or above 6000) and its buttons 0 to 2 (Punch, Kick, Block).
PlayerInput PlayerButtons(const FrameInput& frame, const cKeys& binding, int player,
                          bool controllers);

// Both players' buttons.
FightInputs FightButtons(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
                         bool controllers);

}  // namespace vdx
