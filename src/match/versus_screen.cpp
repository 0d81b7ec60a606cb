#include "match/versus_screen.h"

#include "core/game_error.h"
#include "core/log.h"
#include "game/do_events.h"
#include "graphics/bitmap_text.h"
#include "graphics/display.h"
#include "graphics/keyed_copy.h"
#include "graphics/sprite_loading.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr int kLeftPortraitX = 20;
constexpr int kRightPortraitX = 440;
constexpr int kPortraitY = 160;

void DrawPortrait(Game& game, const cCharacter& c, int x) {
  const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
  const SharedSurface portrait =
      LoadPictureOrLog(ctx, "\\Characters\\" + c.Path + "\\Select\\" + c.Portrait,
                       game.settings.PortraitWidth, game.settings.PortraitHeight);
  if (portrait) DrawKeyedCopy(game.display.backBuffer, x, kPortraitY, *portrait, c.TransColor, false);
}

}  // namespace

void DisplayVsScreen(Game& game, const FightSlots& slots) {
  // Keys still held from choosing the fighters must not start the fight.
  WaitForKeysReleased(game);
  game.input.HeldCommand[1].clear();
  game.input.HeldCommand[2].clear();
  try {
    LoadBackground(game.platform, game.paths, game.display,
                   "\\" + game.settings.SelectScreenBackground);
    PaintBackground(game.display);
  } catch (const GameError& e) {
    // Without its picture the screen is black; the match goes on.
    WriteLog(game.log, LogOpening::Append,
             {"The versus screen's picture " + game.settings.SelectScreenBackground +
              " could not be shown: " + e.what()});
    std::fill(game.display.backBuffer.pixels.begin(), game.display.backBuffer.pixels.end(), 0u);
  }
  DrawPortrait(game, slots.players[1].character, kLeftPortraitX);
  DrawPortrait(game, slots.players[2].character, kRightPortraitX);
  DrawBitmapText(game.display.backBuffer, game.font, "VERSUS", 230, 220, 1, 1, 1, 0, 0.8f, 1);
  PresentFrame(game.platform, game.display);
  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
}

}  // namespace vdx
