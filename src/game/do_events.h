// What every loop pass does when it "yields": let the platform handle window and
// device events, note a request to close, and run the music timer.
#pragma once

#include "game/game.h"

namespace vdx {

void DoEvents(Game& game);

}  // namespace vdx
