// Story mode: player 1's fighter climbs its ladder of story.xml, one match
// against the computer per rung, each on the rung's stage after the rung's
// movie; after the last win the ladder's closing movie plays and save.dat
// records the finished ladder. A lost match, or leaving one through the pause
// menu, ends the ladder.
#pragma once

#include <string>

#include "game/game.h"

namespace vdx {

enum class LadderEnd {
  Finished,  // every rung won
  Lost,      // a match lost or left
  Closing,   // the game is closing
  NoLadder,  // story.xml has no ladder for the fighter
};

LadderEnd PlayStory(Game& game, const std::string& fighter);

}  // namespace vdx
