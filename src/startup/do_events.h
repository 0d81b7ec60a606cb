// What every loop pass does when it "yields": let the platform handle window and
// device events, and note a request to close.
#pragma once

#include "startup/game.h"

namespace vdx {

void DoEvents(Game& game);

}  // namespace vdx
