#include "game/do_events.h"

namespace vdx {

void DoEvents(Game& game) {
  if (game.platform.pumpEvents()) game.QuitRequested = true;
  // The music timer runs while the loops yield, as window timers did.
  MusicTimer(game.platform, game.music, game.platform.ticks());
}

}  // namespace vdx
