// The movies the game shows: the title at start-up, looped until a player
// presses a key, and the event and story movies between fights.
#pragma once

#include <string_view>

#include "game/game.h"

namespace vdx {

// Plays Movies\VDTitle.avi until either player holds a key, or Return, Space
// or a controller's Start is down; nothing when the file is missing or cannot
// be decoded (the latter is logged).
void PlayTitleMovie(Game& game);

// Plays a movie of the game folder once; keys do nothing for its first two
// seconds, then a key ends it. Afterwards the loading notice is shown.
void PlayEventMovie(Game& game, std::string_view contentPath);

}  // namespace vdx
