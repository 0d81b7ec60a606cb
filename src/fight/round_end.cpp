#include "fight/round_end.h"

#include "content/content_files.h"
#include "core/ticks.h"
#include "fight/fight_loop.h"
#include "fight/pause_menu.h"
#include "game/movie_sequences.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

// The banner's text is drawn into a piece of this size and shown at
// (160, 130), 350 x 70.
constexpr int kBannerWidth = 355;
constexpr int kBannerHeight = 70;
constexpr int kBannerLeft = 160;
constexpr int kBannerTop = 130;
constexpr int kBannerShownWidth = 350;

Surface BannerOf(Game& game, const cFont& font, const std::string& text) {
  Surface banner = MakeSurface(kBannerWidth, kBannerHeight);
  banner.colorKey = 0;
  DrawSystemText(game.platform, banner, font, text, font.xOffset, font.yOffset);
  MarkDrawnColumns(banner);
  return banner;
}

// "\characters\<Path>\<prefix><File>" of an event, when it names a file.
void PlayEvent(Game& game, const char* type, const cCharacter& character,
               const std::string& prefix) {
  const cEvent* event = game.content.Events.find(type);
  if (event == nullptr || event->File.empty()) return;
  PlayEventMovie(game, EventMoviePath(character, prefix, *event));
}

bool Continues(const FightSession& m, std::uint32_t now) {
  const InputState& input = m.game.input;
  if (m.setup.computer == ComputerPlays::Both)
    return !TickAfter(m.roundEnd.began + kUnattendedBannerMs, now);
  if (input.HeldCommand[1] == "P") return true;
  return m.setup.GameMode == 2 && m.setup.computer == ComputerPlays::None &&
         input.HeldCommand[2] == "P";
}

}  // namespace

std::string MatchResultText(const FightState& fight, int gameMode, const std::string& winnerName) {
  if (gameMode == 1) return fight.RoundLoser != 1 ? "You Win" : "You Lose";
  return winnerName + " wins";
}

bool MatchDecided(const FightState& fight, int rounds) {
  if (rounds == 1) return true;
  const int needed = WinsNeeded(static_cast<Integer>(rounds));
  return fight.RoundWins[1] >= needed || fight.RoundWins[2] >= needed;
}

void DrawRoundEnd(FightSession& m, std::uint32_t now) {
  Game& game = m.game;
  FightState& fight = m.fight;
  RoundEnd& end = m.roundEnd;
  const cCharacter& winning = m.slots.players[Opponent(fight.RoundLoser)].character;
  if (!end.active) {
    end.active = true;
    end.began = now;
    end.picture = game.display.backBuffer;
    end.matchOver = MatchDecided(fight, game.settings.Rounds);
    end.banner = end.matchOver
                     ? BannerOf(game, game.settings.GameOverFont,
                                MatchResultText(fight, m.setup.GameMode, winning.Name))
                     : BannerOf(game, game.settings.RoundLossFont, game.settings.RoundLossFont.Text);
  }
  // The same picture every frame, so nothing translucent piles up on it.
  game.display.backBuffer.pixels = end.picture.pixels;
  SpriteArgs banner = SpriteAt(kBannerLeft, kBannerTop, kBannerWidth, kBannerHeight,
                               kBannerShownWidth, kBannerHeight);
  DrawSprite(game.display.backBuffer, end.banner, banner, game.display.raster);
  for (int p = 1; p <= 2; ++p) DrawMeters(m, p, now);
  if (fight.PauseRequested) OpenPauseMenu(game, fight, now);
}

RoundEndStep FinishRoundEnd(FightSession& m, std::uint32_t now) {
  Game& game = m.game;
  FightState& fight = m.fight;
  RoundEnd& end = m.roundEnd;
  const int loser = fight.RoundLoser;
  const int winner = Opponent(loser);
  const cCharacter& winning = m.slots.players[winner].character;
  const cCharacter& losing = m.slots.players[loser].character;
  if (!Continues(m, now)) return RoundEndStep::Waiting;

  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
  fight.FightStarted = false;
  end.active = false;
  if (end.matchOver) {
    // The loser's movie first, then the winner's.
    PlayEvent(game, "OnLoseGame", losing, "");
    PlayEvent(game, "OnWinGame", winning, "");
    return RoundEndStep::MatchOver;
  }
  const std::string number = std::to_string(fight.RoundWins[winner]) + "_";
  PlayEvent(game, "OnLoseRound", losing, number);
  PlayEvent(game, "OnWinRound", winning, number);
  return RoundEndStep::NextRound;
}

}  // namespace vdx
