// The stage's animated scenery, drawn over the background at the start of
// each frame's picture, behind the fighters. Scenery is placed on the screen,
// not on the stage: it travels with the camera, like the sky.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/round_setup.h"
#include "game/game.h"

namespace vdx {

// Each animation of the stage in order: its sound the first time, its turn
// and fade, the draw, then its next frame and move when its interval is up.
void DrawStageAnimations(Game& game, FightSlots& slots, const StageView& stage, std::uint32_t now);

}  // namespace vdx
