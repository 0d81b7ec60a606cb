// `vdx --record FILE` and `vdx --replay FILE`: the matches of a run kept as
// their inputs, and played again frame for frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "content/paths.h"
#include "game/game.h"

namespace vdx {

// The fingerprint of the game folder's Game.xml, ai.xml and story.xml.
std::uint64_t GameFolderFingerprint(const PathResolver& paths);

// Plays every match of the replay file; the run ends with the last. Returns 0,
// or 2 with a message on standard error when the file cannot be read, was
// recorded on other content or names what the folder lacks. `frameHashes`
// (when given) gets a line per fight frame.
int PlayReplayFile(Game& game, const std::filesystem::path& file, std::string* frameHashes);

}  // namespace vdx
