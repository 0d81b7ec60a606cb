#include "startup/do_events.h"

namespace vdx {

void DoEvents(Game& game) {
  if (game.platform.pumpEvents()) game.QuitRequested = true;
}

}  // namespace vdx
