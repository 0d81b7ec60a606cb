// Start-up: reads the switches and the content, brings up the display, input,
// sound and presentation in a fixed order, then hands over to the screens. A
// failure on the way shows one message and ends the program.
#pragma once

#include <string_view>

#include "game/game.h"

namespace vdx {

// Runs the game; returns the program's exit status (0 after a normal close).
int Main(Game& game, std::string_view commandLine);

}  // namespace vdx
