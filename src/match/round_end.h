// The end of a round on screen: the last fight frame stands still under the
// result's banner and both meters; after Punch, the event movies of the
// round or the match.
#pragma once

#include <string>

#include "fight/fight_state.h"
#include "game/game.h"
#include "match/fight_drawing.h"

namespace vdx {

// The text of the match's result: against the computer "You Win" or "You
// Lose", with two players the winner's name and " wins".
std::string MatchResultText(const FightState& fight, int gameMode, const std::string& winnerName);

// A frame of the round's end: the still fight, the banner, both meters and,
// while paused, the menu.
void DrawRoundEndFrame(Game& game, const FightState& fight, const FightSlots& slots,
                       FightView& view);

// After Punch: "Please wait", then the loser's movie and the winner's, of
// the round ("OnLoseRound", "OnWinRound") or of the match.
void PlayRoundEndMovies(Game& game, const FightState& fight, const FightSlots& slots,
                        bool matchOver);

}  // namespace vdx
