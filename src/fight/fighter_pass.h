// The fighter pass: for one player, once a frame, the command becomes a
// choice of action; the action's animation advances on its own clock; the
// fighter walks, pushes, jumps and keeps to the stage, and the camera follows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fight/action_names.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"

namespace vdx {

void FighterPass(StepContext& ctx, int player);

// Whether the finisher ("Sexuality") may start for `player` now: it has won
// exactly one round, the opponent none, and the opponent is down to 20 health
// and not knocked out.
bool FinisherAllowed(const FightState& fight, int player);

// The frame width the stage bounds use (Game.xml's Characters Width; 256 when
// it is not set).
int CharacterFrameWidth(Integer characterWidth);


// The largest x a fighter's frame may stand at before the camera scrolls (the
// smallest is 0).
Long RightmostFighterX(const FightSlots& slots);

// The fighter's body: its frame narrowed by 120 pixels on each side. Walking
// into the opponent's body pushes it.
Rect BodyRect(const FighterState& fighter);


}  // namespace vdx
