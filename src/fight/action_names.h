// Actions by their names: the one a fighter shows, and what a name says to
// the rules ("HIT" in any letter case marks a reaction, "Jump" or "Flip" a
// jump).
#pragma once

#include <string_view>

#include "content/records.h"
#include "fight/fight_state.h"

namespace vdx {

// The action the fighter shows now: its own, "Hit" for a name the character
// lacks, or nothing when it lacks "Hit" too.
const cAction* CurrentAction(const cCharacter& character, const FighterState& fighter);

// Whether a name, in upper case, holds `upperPart` ("HIT" is in "HardHit").
bool NameHolds(std::string_view name, std::string_view upperPart);

// Whether an action is a jump (its name holds "Jump" or "Flip").
bool IsJump(const cAction& action);

}  // namespace vdx
