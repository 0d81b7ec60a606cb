#include "frontend/story_mode.h"

#include "core/log.h"
#include "match/fight_loop.h"
#include "frontend/story_progress.h"
#include "game/movie_sequences.h"

namespace vdx {
namespace {

// A rung's stage; one that names none is fought on the first open stage.
const cStage* RungStage(const Content& content, const cOpponents& rung) {
  if (!rung.stage.empty()) return content.Stages.find(rung.stage);
  for (const cStage& s : content.Stages)
    if (!s.Disabled) return &s;
  return nullptr;
}

}  // namespace

LadderEnd PlayStory(Game& game, const std::string& fighter) {
  const Content& content = game.content;
  const cCharacter* character = content.Characters.find(fighter);
  const cStory* story = content.Stories.find(fighter);
  if (character == nullptr || story == nullptr) {
    // An ordinary choice must not end the game: back to the menu.
    WriteLog(game.log, LogOpening::Append,
             {"story.xml has no ladder for " + fighter + "; back to the menu"});
    return LadderEnd::NoLadder;
  }
  for (const cOpponents& rung : story->Opponents) {
    const cCharacter* opponent = content.Characters.find(rung.Name);
    const cStage* stage = RungStage(content, rung);
    if (opponent == nullptr || stage == nullptr) {
      WriteLog(game.log, LogOpening::Append,
               {"The story of " + character->Name + " skips its fight against \"" + rung.Name +
                "\" on \"" + rung.stage + "\": Game.xml has no such " +
                (opponent == nullptr ? "character" : "stage")});
      continue;
    }
    if (!rung.beforefile.empty()) PlayEventMovie(game, "\\" + rung.beforefile);
    if (game.QuitRequested) return LadderEnd::Closing;
    MatchSetup setup;
    setup.player1 = character->Name;
    setup.player2 = opponent->Name;
    setup.stage = stage->Name;
    setup.GameMode = 1;
    setup.computer = ComputerPlays::Player2;
    setup.levels[1] = game.settings.Difficulty;
    const MatchResult result = PlayMatch(game, setup);
    if (result.quit) return LadderEnd::Closing;
    if (result.winner != 1) return LadderEnd::Lost;
  }
  if (!story->WinFile.empty()) PlayEventMovie(game, "\\" + story->WinFile);
  RecordFinishedLadder(game, *character);
  return game.QuitRequested ? LadderEnd::Closing : LadderEnd::Finished;
}

}  // namespace vdx
