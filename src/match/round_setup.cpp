#include "match/round_setup.h"

#include <algorithm>

#include "audio/music.h"
#include "audio/sound_table.h"
#include "content/content_files.h"
#include "core/game_error.h"
#include "effects/particle_drawing.h"
#include "fight/fight_step.h"
#include "fight/fighter_pass.h"
#include "graphics/sprite_loading.h"
#include "graphics/system_text.h"
#include "match/versus_screen.h"

namespace vdx {
namespace {

constexpr int kBallSize = 40;

// The pick-up's pictures are drawn on black, which is left out.
SharedSurface KeyedOnBlack(const SharedSurface& picture) {
  if (!picture) return picture;
  auto keyed = std::make_shared<Surface>(*picture);
  keyed->colorKey = 0;
  MarkDrawnColumns(*keyed);
  return keyed;
}

void LoadWeatherPictures(const LoadContext& ctx, const Settings& settings, FightSlots& slots) {
  slots.rain = nullptr;
  slots.snow = {};
  if (!settings.Weather) return;
  if (slots.stage.bRain) slots.rain = LoadPictureOrLog(ctx, kRainPicture, 0, 0, 0u);
  if (slots.stage.bSnow)
    for (std::size_t k = 0; k < slots.snow.size() && k < kSnowPictures.size(); ++k)
      slots.snow[k] = LoadPictureOrLog(ctx, kSnowPictures[k], 0, 0, 0u);
}

}  // namespace

MatchRules MatchRulesOf(const Settings& settings) {
  return MatchRules{settings.Rounds, CharacterFrameWidth(settings.CharacterWidth),
                    settings.Weather};
}

void SetUpRound(Game& game, FightState& fight, FightSlots& slots, FightView& view, bool show) {
  const MatchSetup& setup = slots.setup;
  const cCharacter* first = game.content.Characters.find(setup.player1);
  const cCharacter* second = game.content.Characters.find(setup.player2);
  const cStage* place = game.content.Stages.find(setup.stage);
  if (first == nullptr || second == nullptr || place == nullptr)
    throw GameError(kErrInvalidCall, "No such character or stage");
  fight.round = fight.RoundWins[1] + fight.RoundWins[2] + 1;
  // Each player's own copy: loading writes frame offsets into it, and both
  // players may be the same character.
  slots.players[1].character = *first;
  slots.players[2].character = *second;
  for (int p = 1; p <= 2; ++p)
    slots.players[static_cast<std::size_t>(p)].profile =
        game.content.AIProfiles.find(slots.players[static_cast<std::size_t>(p)].character.Name);
  slots.stage = *place;
  if (show && fight.RoundWins[1] + fight.RoundWins[2] == 0) DisplayVsScreen(game, slots);

  const LoadContext ctx{game.platform, game.paths, game.log, show ? &game.display : nullptr};
  slots.ball = KeyedOnBlack(LoadPicture(ctx, "\\ball.bmp", kBallSize, kBallSize));
  slots.ballHighlight = KeyedOnBlack(LoadPicture(ctx, "\\hball.bmp", kBallSize, kBallSize));
  slots.flash = LoadPictureOrLog(ctx, "\\Effects\\flash\\flash01.bmp", 0, 0, 0u);
  slots.spark = LoadParticleTexture(ctx, kSparkPicture, kSparkSize, kSparkSize);
  slots.bubble = LoadParticleTexture(ctx, kBubblePicture, kBubbleSize, kBubbleSize);
  LoadWeatherPictures(ctx, game.settings, slots);

  const int stageWidth = std::max<int>(640, slots.stage.Width);
  // A background that cannot be had leaves the stage black: the log says why.
  view.stage.background = slots.stage.Background.empty()
                              ? nullptr
                              : LoadPictureOrLog(ctx, StageBackgroundPath(slots.stage), stageWidth,
                                                 kScreenHeight);
  loadstageanims(ctx, slots.stage, view.stage.scenery);

  if (show) ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
  // Player 2's frames load first, then player 1's.
  cCharacter& c1 = slots.players[1].character;
  cCharacter& c2 = slots.players[2].character;
  loadcharacteractions(ctx, c2, slots.players[2].frames, c1.Path, show);
  loadcharacteractions(ctx, c1, slots.players[1].frames, c2.Path, show);
  std::vector<std::string> fighterSounds = slots.players[1].frames.sounds;
  if (c2.Path != c1.Path)
    fighterSounds.insert(fighterSounds.end(), slots.players[2].frames.sounds.begin(),
                         slots.players[2].frames.sounds.end());
  if (show) LoadSounds(game.platform, game.paths, game.sounds, fighterSounds, game.log);
  loadcharactereffects(ctx, c1, c2, slots.effects);

  BeginRoundState(fight, slots);
  view.roundEnd = RoundEndView{};
  view.drawnFrame = 0;
  if (!show) return;
  DrawStageView(game, fight.CameraX, view.stage);
  PresentFrame(game.platform, game.display);

  if (fight.round == 1)
    StartStageMusic(game.platform, game.paths, game.music, slots.stage.Music,
                    game.settings.SoundVolume);
}

}  // namespace vdx
