// What the main menu's items start: a match against the computer or between
// two players (character select, stage select, the match), story mode
// (character select, the ladder), training (character select, stage select,
// training), or the end of the game with the help page.
// Each returns when its mode is over; the menu comes next.
#pragma once

#include "content/records.h"
#include "game/game.h"

namespace vdx {

// Runs the mode of a menu item's Type (see main_menu.h) to its end. Exit asks
// the game to close.
void StartMenuMode(Game& game, Integer mType);

}  // namespace vdx
