// The end of a round as rules: the fight stands still under the result until
// player 1 (or, with two players, player 2) presses Punch, or, with the
// computer on both sides, for three seconds; then the next round, or the end
// of the match.
#pragma once

#include "fight/fight_step.h"

namespace vdx {

// A frame of the round's end (in place of the fighters' turns).
FightOutcome StepRoundEnd(StepContext& ctx);

}  // namespace vdx
