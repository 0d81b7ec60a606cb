// Each fighter's spark burst: armed where a blow or a touch landed, shown by
// attacks that show their sparks, and drawn over both fighters.
#pragma once

#include "fight/fight_state.h"

namespace vdx {

// Launches the player's burst at (x, y) on screen unless it is still showing
// one (then false); it shows only once something switches it on (ShowSparks).
bool ArmSparks(FightState& fight, int player, Long x, Long y);
void ShowSparks(FightState& fight, int player);

// After both turns: the shown bursts are drawn this frame and move on at the
// start of the next.
void MarkSparksDrawn(FightState& fight);

// At the start of a frame: each burst drawn in the frame before takes its
// step; so do the bubbles.
void AdvanceDrawnParticles(FightState& fight);

}  // namespace vdx
