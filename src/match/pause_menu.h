// The pause menu on screen: a pale panel over the fight with its three items,
// the chosen one in the highlight colour.
#pragma once

#include <utility>

#include "content/settings.h"
#include "game/game.h"

namespace vdx {

// The colours of the items (0x00BBGGRR): the others and the selected one.
std::pair<Long, Long> PauseMenuColours(const Settings& settings);

// Draws the menu with `selected` (1 to 3) chosen.
void DrawPauseMenu(Game& game, int selected);

}  // namespace vdx
