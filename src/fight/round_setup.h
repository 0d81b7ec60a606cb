// What a round needs before its first frame: both fighters' frames and sounds,
// the stage's picture and camera, the start positions, the music.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

// The stage's whole picture, its Width x 480.
struct StageView {
  SharedSurface background;
  FramePool scenery;  // the stage's animation frames
};

// Sets up round `fight.round` of the match. Throws GameError when a fighter or
// the stage named by the set-up is not in the content.
void SetUpRound(Game& game, const MatchSetup& setup, FightState& fight, FightSlots& slots,
                StageView& stage);

// Draws the part of the stage the camera sees into the back buffer.
void DrawStageView(Game& game, const FightState& fight, const StageView& stage);

}  // namespace vdx
