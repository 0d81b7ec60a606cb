#include "frontend/startup_picture.h"

#include "audio/music.h"
#include "core/game_error.h"
#include "game/do_events.h"
#include "graphics/frame_pacing.h"

namespace vdx {

void ShowStartupPicture(Game& game) {
  Display& display = game.display;
  // Standing in for the menu, it plays the menu's tune.
  StartMenuMusic(game.platform, game.paths, game.music);
  display.background = MakeSurface(kScreenWidth, kScreenHeight);
  if (!game.settings.MenuBack.empty()) {
    try {
      LoadBackground(game.platform, game.paths, display, "\\" + game.settings.MenuBack);
    } catch (const GameError&) {
      // No picture: the screen stays black.
    }
  }
  PaintBackground(display);
  PresentFrame(game.platform, display);
  display.pacingDeadline = 0;
  while (!game.QuitRequested) {
    const FrameInput frame = ReadFrame(game);
    DoEvents(game);
    if (FrameDue(display.pacingDeadline, frame.ticks, 16)) {
      PaintBackground(display);
      PresentFrame(game.platform, display);
    }
  }
}

}  // namespace vdx
