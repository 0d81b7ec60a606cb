// The files a run writes for the player (log.txt, save.dat, screenshots,
// replays) go where Game::folders says: the game folder, or the player's own
// folders beside a read-only one.
#pragma once

#include <filesystem>

#include "game/game.h"

namespace vdx {

// Makes one of the player's folders ready before a write into it: true when it
// is there. The first folder a run has to make says on standard error where
// the player's files go (the log says it at its top in every such run); a
// folder that cannot be made is reported (standard error and log) and false.
// The game folder itself is taken as it is.
bool ReadyPlayerFolder(Game& game, const std::filesystem::path& folder);

// At start-up: makes the folder of the log ready, and says when the player's
// folders cannot be named at all.
void ReadyPlayerFiles(Game& game);

// Where save.dat is written: the game folder's (in any letter case) or the
// player's.
std::filesystem::path SaveFileForWriting(const Game& game);
// Where it is read: the player's while it exists, else the game folder's (a
// progress made before the folder became read-only is carried over).
std::filesystem::path SaveFileForReading(const Game& game);

// A replay named on the command line: an absolute path as given; a relative
// one from the current folder, or from the player's data folder beside a
// read-only game folder.
std::filesystem::path ReplayFileForWriting(Game& game, const std::filesystem::path& asGiven);

}  // namespace vdx
