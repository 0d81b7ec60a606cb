// The pause menu on screen: a pale panel over the fight with its three items,
// the chosen one in the highlight colour, between the fighters' move lists.
#pragma once

#include <utility>

#include "content/settings.h"
#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

// The colours of the items (0x00BBGGRR): the others and the selected one.
std::pair<Long, Long> PauseMenuColours(const Settings& settings);

// The pale panel with its outline, from (left, top) to (right, bottom)
// inclusive, clipped to the target; the move lists and training's menus
// stand on the same.
void DrawPausePanel(Surface& target, int left, int top, int right, int bottom);

// Draws the menu with `selected` (1 to 3) chosen, and beside it both
// fighters' move lists.
void DrawPauseMenu(Game& game, int selected, const FightSlots& slots);

}  // namespace vdx
