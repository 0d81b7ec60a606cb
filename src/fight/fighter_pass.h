// The fighter pass: for one player, once a frame, the command becomes a
// choice of action; the action's animation advances on its own clock; the
// fighter walks, pushes, jumps and keeps to the stage, and the camera follows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// The action the fighter shows now: its own, "Hit" for a name the character
// lacks, or nothing when it lacks "Hit" too.
const cAction* CurrentAction(const cCharacter& character, const FighterState& fighter);

// The fighter's body: its frame narrowed by 120 pixels on each side. Walking
// into the opponent's body pushes it.
Rect BodyRect(const FighterState& fighter);

// Whether a name, in upper case, holds `upperPart` ("HIT" is in "HardHit").
bool NameHolds(std::string_view name, std::string_view upperPart);

// Whether an action is a jump (its name holds "Jump" or "Flip").
bool IsJump(const cAction& action);

}  // namespace vdx
