// `vdx --host [PORT]`, `vdx --join HOST[:PORT]` and `vdx --watch HOST[:PORT]`:
// a match between two machines. The host waits for one player; the joining
// side says who it is (the program's version, the game folder's fingerprint,
// the settings that change play) and nothing starts when they differ. Then
// the match is set (by the host's --versus, or both players pick), played
// with rollback, and after it both choose a rematch or the menu.
#pragma once

#include <string>

#include "game/game.h"
#include "startup/main_routine.h"

namespace vdx {

// Plays the run's network matches; returns 0 (the game goes on to the menu
// unless the run was a series), kStatusRefused when --versus names what the
// folder lacks, kStatusNetwork when no match could be played or one ended
// otherwise than with a winner, or kStatusNotWritten when the replay could
// not be written.
int PlayNetwork(Game& game, const RunRequest& request, std::string* frameHashes);

}  // namespace vdx
