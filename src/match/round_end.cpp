#include "match/round_end.h"

#include "content/content_files.h"
#include "game/movie_sequences.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"
#include "match/pause_menu.h"

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

// The fight frame the round's end stands on: the frame before its first.
std::uint64_t LastFightFrame(const FightState& fight) {
  return fight.roundEnd.firstFrame - 1;
}

}  // namespace

std::string MatchResultText(const FightState& fight, int gameMode, const std::string& winnerName) {
  if (gameMode == 1) return fight.RoundLoser != 1 ? "You Win" : "You Lose";
  return winnerName + " wins";
}

void DrawRoundEndFrame(Game& game, const FightState& fight, const FightSlots& slots,
                       FightView& view) {
  RoundEndView& end = view.roundEnd;
  const std::uint64_t still = LastFightFrame(fight);
  if (end.frozenFrame != still) {
    // The picture on screen when the round ended, or, when that frame was
    // not drawn, the fight as it stood then: the round's end changes nothing
    // but the frame's number, and the meters' fading messages are kept as
    // they were for the frames to come.
    if (view.drawnFrame != still) {
      FightState stood = fight;
      stood.frameNumber = still;
      const std::array<HudState, 3> hud = view.hud;
      DrawFightScene(game, stood, slots, view);
      view.hud = hud;
    }
    end.still = game.display.backBuffer;
    end.frozenFrame = still;
    const cCharacter& winning = slots.players[static_cast<std::size_t>(Opponent(fight.RoundLoser))].character;
    end.banner = fight.roundEnd.matchOver
                     ? BannerOf(game, game.settings.GameOverFont,
                                MatchResultText(fight, slots.setup.GameMode, winning.Name))
                     : BannerOf(game, game.settings.RoundLossFont, game.settings.RoundLossFont.Text);
  }
  // The same picture every frame, so nothing translucent piles up on it.
  game.display.backBuffer.pixels = end.still.pixels;
  SpriteArgs banner = SpriteAt(kBannerLeft, kBannerTop, kBannerWidth, kBannerHeight,
                               kBannerShownWidth, kBannerHeight);
  DrawSprite(game.display.backBuffer, end.banner, banner, game.display.raster);
  const std::uint32_t now = FightClock(fight);
  for (int p = 1; p <= 2; ++p) {
    const std::size_t i = static_cast<std::size_t>(p);
    const MetersPose& meters = fight.scene.endMeters[i];
    const cCharacter& c = slots.players[i].character;
    DrawFighterHud(game, view.hud[i], view.hudPictures,
                   HudInputs{p, c.Name, c.Health, meters.health, meters.comboCount,
                             meters.roundWins, meters.finisher ? "Sexuality" : "", now});
  }
  if (fight.scene.endPauseMenu) DrawPauseMenu(game, fight.scene.endPauseItem, slots);
  view.drawnFrame = 0;  // the back buffer holds no fight frame of its own
}

void PlayRoundEndMovies(Game& game, const FightState& fight, const FightSlots& slots,
                        bool matchOver) {
  const int loser = fight.RoundLoser;
  const int winner = Opponent(loser);
  const cCharacter& winning = slots.players[static_cast<std::size_t>(winner)].character;
  const cCharacter& losing = slots.players[static_cast<std::size_t>(loser)].character;
  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
  if (matchOver) {
    // The loser's movie first, then the winner's.
    PlayEvent(game, "OnLoseGame", losing, "");
    PlayEvent(game, "OnWinGame", winning, "");
    return;
  }
  const std::string number = std::to_string(fight.RoundWins[static_cast<std::size_t>(winner)]) + "_";
  PlayEvent(game, "OnLoseRound", losing, number);
  PlayEvent(game, "OnWinRound", winning, number);
}

}  // namespace vdx
