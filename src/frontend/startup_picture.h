// Until the main menu takes over, start-up ends here: the menu background
// picture (black when there is none) stays on screen, with the menu's tune,
// until the player closes the game.
#pragma once

#include "game/game.h"

namespace vdx {

void ShowStartupPicture(Game& game);

}  // namespace vdx
