#include "frontend/menu_modes.h"

#include <optional>

#include "audio/music.h"
#include "match/fight_loop.h"
#include "match/training_mode.h"
#include "frontend/character_select.h"
#include "frontend/main_menu.h"
#include "frontend/stage_select.h"
#include "frontend/story_mode.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

void PleaseWait(Game& game) {
  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
}

// The fighters (as `mode` picks them) and the stage, or nothing when a
// player went back to the menu; the menu's music stops once both are known.
std::optional<MatchSetup> PickFightersAndStage(Game& game, SelectFor mode) {
  PleaseWait(game);
  const auto fighters = LoadSelectScreenNew(game, mode);
  if (!fighters) return std::nullopt;
  const auto stage = LoadStageSelectScreenNew(game);
  if (!stage) return std::nullopt;
  StopMenuMusic(game.platform, game.music);
  MatchSetup setup;
  setup.player1 = fighters->player1;
  setup.player2 = fighters->player2;
  setup.stage = *stage;
  return setup;
}

void PlayFromTheMenu(Game& game, SelectFor mode) {
  std::optional<MatchSetup> setup = PickFightersAndStage(game, mode);
  if (!setup) return;
  setup->GameMode = mode == SelectFor::OnePlayer ? 1 : 2;
  setup->computer = mode == SelectFor::OnePlayer ? ComputerPlays::Player2 : ComputerPlays::None;
  setup->levels[1] = game.settings.Difficulty;
  PlayMatch(game, *setup);
}

// Training: player 1 picks a fighter and then the dummy's, as against the
// computer, then the stage.
void TrainFromTheMenu(Game& game) {
  if (const std::optional<MatchSetup> setup = PickFightersAndStage(game, SelectFor::OnePlayer))
    PlayTraining(game, *setup);
}

void LeaveTheGame(Game& game) {
  StopMenuMusic(game.platform, game.music);
  game.platform.setCursorVisible(true);
  game.platform.openDocument((game.paths.gameDir() / "HTML" / "Vandrel.htm").string());
  game.QuitRequested = true;
}

}  // namespace

void StartMenuMode(Game& game, Integer mType) {
  switch (mType) {
    case kMenuOnePlayer:
      PlayFromTheMenu(game, SelectFor::OnePlayer);
      break;
    case kMenuTwoPlayers:
      PlayFromTheMenu(game, SelectFor::TwoPlayers);
      break;
    case kMenuExit:
      LeaveTheGame(game);
      break;
    case kMenuTraining:
      TrainFromTheMenu(game);
      break;
    case kMenuStory: {
      PleaseWait(game);
      const auto fighters = LoadSelectScreenNew(game, SelectFor::Story);
      if (!fighters) return;
      StopMenuMusic(game.platform, game.music);
      PlayStory(game, fighters->player1);
      break;
    }
    default:
      break;  // the menu does not start other Types
  }
}

}  // namespace vdx
