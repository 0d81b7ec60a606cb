// Until the title movie and the main menu take over, start-up ends here: the menu
// background picture (black when there is none) stays on screen until the player
// closes the game.
#pragma once

#include "startup/game.h"

namespace vdx {

void ShowStartupPicture(Game& game);

}  // namespace vdx
