// The stage select screen: player 1 steps through the stages of Game.xml with
// Left and Right (wrapping at both ends), seeing each one's picture and name,
// and confirms with Punch; a disabled stage is shown but cannot be chosen.
// Escape goes back to the menu.
#pragma once

#include <optional>
#include <string>

#include "content/content.h"
#include "game/game.h"

namespace vdx {

struct StageSelect {
  int stages = 0;
  int cursor = 1;      // from 1
  std::string chosen;  // the stage's Name once confirmed
  bool back = false;   // player 1 asked for the menu
};

StageSelect StartStageSelect(const Collection<cStage>& stages);

// One menu frame of player 1's letters.
void StepStageSelect(StageSelect& select, const Collection<cStage>& stages,
                     const std::string& player1Letters);

// Runs the screen; the chosen stage's Name, or nothing when player 1 goes back
// to the menu, the game closes or there is no stage.
std::optional<std::string> LoadStageSelectScreenNew(Game& game);

}  // namespace vdx
