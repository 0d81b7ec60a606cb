// The stage select screen: player 1 steps through the stages of Game.xml with
// Left and Right (wrapping at both ends), seeing each one's picture and name,
// and confirms with Punch; a disabled stage is shown but cannot be chosen.
// Escape goes back to the menu.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "content/content.h"
#include "game/game.h"
#include "graphics/frame_pool.h"
#include "platform/platform.h"

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

// Puts the cursor where the other machine says it stands, the stage there
// chosen or not. Ignored (false) for a stage out of range, a choice of a
// disabled stage, or once a stage is chosen.
bool PlaceStageCursor(StageSelect& select, const Collection<cStage>& stages, int cursor,
                      bool chosen);

// The screen on the display: its background, each stage's picture and name
// (all read when it opens), and its state for a script's request.
class StageSelectScreen {
 public:
  explicit StageSelectScreen(Game& game);
  void draw(const StageSelect& select);
  std::string stateJson(const StageSelect& select) const;

 private:
  Game& game_;
  std::vector<SharedSurface> portraits_;
  std::vector<std::optional<platform::TextImage>> names_;  // rendered once
};

// Runs the screen; the chosen stage's Name, or nothing when player 1 goes back
// to the menu, the game closes or there is no stage.
std::optional<std::string> LoadStageSelectScreenNew(Game& game);

}  // namespace vdx
