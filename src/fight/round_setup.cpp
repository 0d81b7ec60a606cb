#include "fight/round_setup.h"

#include <algorithm>

#include "audio/music.h"
#include "audio/sound_table.h"
#include "core/game_error.h"
#include "fight/weather.h"
#include "fight/versus_screen.h"
#include "graphics/sprite_loading.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr int kBallSize = 40;

void ResetFighter(FighterState& f, const cCharacter& c, Long x, bool facing) {
  // A power mode taken late in a round goes on into the next, with its trail,
  // until its time is up; its double damage does not (the multiplier starts
  // at 1 each round).
  FighterState next;
  next.PowerMode = f.PowerMode;
  next.PowerModeEnds = f.PowerModeEnds;
  next.trail = f.trail;
  next.trailRefreshed = f.trailRefreshed;
  f = next;
  f.PlayerX = x;
  f.PlayerY = c.yOffset;
  f.Facing = facing;
  f.Health = c.Health;
  f.DamageMultiplier = 1;
}

// The pick-up's pictures are drawn on black, which is left out.
SharedSurface KeyedOnBlack(const SharedSurface& picture) {
  if (!picture) return picture;
  auto keyed = std::make_shared<Surface>(*picture);
  keyed->colorKey = 0;
  MarkDrawnColumns(*keyed);
  return keyed;
}

}  // namespace

void SetUpRound(Game& game, const MatchSetup& setup, FightState& fight, FightSlots& slots,
                StageView& stage) {
  const cCharacter* first = game.content.Characters.find(setup.player1);
  const cCharacter* second = game.content.Characters.find(setup.player2);
  const cStage* place = game.content.Stages.find(setup.stage);
  if (first == nullptr || second == nullptr || place == nullptr)
    throw GameError(kErrInvalidCall, "No such character or stage");
  // Each player's own copy: the fight writes frame offsets and effect state
  // into it, and both players may be the same character.
  slots.players[1].character = *first;
  slots.players[2].character = *second;
  slots.stage = *place;
  if (fight.RoundWins[1] + fight.RoundWins[2] == 0) DisplayVsScreen(game, slots);

  const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
  slots.ball = KeyedOnBlack(LoadPicture(ctx, "\\ball.bmp", kBallSize, kBallSize));
  slots.ballHighlight = KeyedOnBlack(LoadPicture(ctx, "\\hball.bmp", kBallSize, kBallSize));
  slots.flash = LoadPictureOrLog(ctx, "\\Effects\\flash\\flash01.bmp", 0, 0, 0u);
  slots.spark = LoadParticleTexture(ctx, kSparkPicture, kSparkSize, kSparkSize);
  slots.bubble = LoadParticleTexture(ctx, kBubblePicture, kBubbleSize, kBubbleSize);
  LoadWeatherPictures(ctx, game.settings, slots);
  for (cParticle& bubbles : fight.bubbles)
    bubbles.Active = false;
  fight.flashCount = 0;
  ResetFighter(fight.fighters[1], slots.players[1].character, 0, false);
  ResetFighter(fight.fighters[2], slots.players[2].character, 300, true);

  fight.stageWidth = std::max<int>(640, slots.stage.Width);
  fight.CameraX = (fight.stageWidth - 640) / 2;
  // A background that cannot be had leaves the stage black: the log says why.
  stage.background = slots.stage.Background.empty()
                         ? nullptr
                         : LoadPictureOrLog(ctx, StageBackgroundPath(slots.stage), fight.stageWidth,
                                            kScreenHeight);
  loadstageanims(ctx, slots.stage, stage.scenery);

  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
  // Player 2's frames load first, then player 1's.
  cCharacter& c1 = slots.players[1].character;
  cCharacter& c2 = slots.players[2].character;
  loadcharacteractions(ctx, c2, slots.players[2].frames, c1.Path, true);
  loadcharacteractions(ctx, c1, slots.players[1].frames, c2.Path, true);
  std::vector<std::string> fighterSounds = slots.players[1].frames.sounds;
  if (c2.Path != c1.Path)
    fighterSounds.insert(fighterSounds.end(), slots.players[2].frames.sounds.begin(),
                         slots.players[2].frames.sounds.end());
  LoadSounds(game.platform, game.paths, game.sounds, fighterSounds, game.log);
  loadcharactereffects(ctx, c1, c2, slots.effects);

  for (int p = 1; p <= 2; ++p) {
    FighterState& f = fight.fighters[p];
    const cCharacter& c = slots.players[p].character;
    if (const cAction* standing = c.Actions.find("Standing"))
      f.CurrentFrame = f.frameCounter = standing->Offset;
  }
  fight.RoundLoser = 0;
  fight.FightStarted = false;
  fight.PauseRequested = false;
  fight.firstPlayer = 1;
  fight.bannerStep = 0;
  fight.roundBegins = true;
  DrawStageView(game, fight, stage);
  PresentFrame(game.platform, game.display);

  if (fight.round == 1)
    StartStageMusic(game.platform, game.paths, game.music, slots.stage.Music,
                    game.settings.SoundVolume);
}

void DrawStageView(Game& game, const FightState& fight, const StageView& stage) {
  Surface& target = game.display.backBuffer;
  if (!stage.background) {
    std::fill(target.pixels.begin(), target.pixels.end(), 0u);
    return;
  }
  const Surface& picture = *stage.background;
  // The columns of the view that lie on the picture; black beyond it.
  const Long first = std::clamp<Long>(-fight.CameraX, 0, kScreenWidth);
  const Long last = std::clamp<Long>(picture.width - fight.CameraX, first, kScreenWidth);
  for (int y = 0; y < kScreenHeight && y < picture.height; ++y) {
    const std::uint32_t* row = &picture.pixels[static_cast<std::size_t>(y) * picture.width];
    std::uint32_t* out = &target.pixels[static_cast<std::size_t>(y) * target.width];
    std::fill(out, out + first, 0u);
    std::copy(row + fight.CameraX + first, row + fight.CameraX + last, out + first);
    std::fill(out + last, out + kScreenWidth, 0u);
  }
}

}  // namespace vdx
