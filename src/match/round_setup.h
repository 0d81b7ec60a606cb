// What a round needs before its first frame: both fighters' frames and sounds,
// the stage's picture and scenery, the pictures the fight reads and draws, the
// state at the round's start, the music.
#pragma once

#include "fight/fight_state.h"
#include "game/game.h"
#include "match/fight_drawing.h"

namespace vdx {

// Loads round `fight.round` of the match (the round after those already won)
// and puts the state at its start; `show`: with the versus screen, "Please
// wait", the progress bar, the stage on screen, the sounds and the music (a
// fight nobody watches loads only what the rules read). Throws GameError when
// a fighter or the stage named by the set-up is not in the content.
void SetUpRound(Game& game, FightState& fight, FightSlots& slots, FightView& view, bool show);

// The settings a match's rules read, from Game.xml's.
MatchRules MatchRulesOf(const Settings& settings);

}  // namespace vdx
