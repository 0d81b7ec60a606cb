// What a frame shows is taken where its turns show it: a fighter after its
// pass and hit tests, its meters next, the opening banner after both turns,
// and the stage's scenery at the end of the frame, for the frame after. The
// drawing then draws these poses and changes nothing.
#pragma once

#include "fight/fight_step.h"

namespace vdx {

// At the start of a frame: no pose is taken yet, and the stage behind the
// frame is what the end of the frame before left.
void BeginScene(FightState& fight);

// The fighter's pose: where its frame is, whether the opponent's grab holds
// it, and in power mode the afterimages, refreshed at most every 50 ms. Sets
// FighterRect. A frame outside the fighter's frames shows nothing.
void ShowFighter(StepContext& ctx, int player);

// The meters' pose; health below 0 is shown, and kept, as 0 (both players').
MetersPose ShowMeters(FightState& fight, int player);

// Whether the opponent shows a grab that caught this player.
bool HeldInGrab(const FightState& fight, const FightSlots& slots, int player);

// The opening banner shrinks every 50 ms until the fight starts.
void StepRoundBanner(FightState& fight, std::uint32_t now);

// At the end of a frame that is not a knock-out: the camera and the scenery
// are taken as the next frame's stage, and the scenery turns, fades and moves
// on (its sound the first time it runs).
void StepScenery(StepContext& ctx);

}  // namespace vdx
