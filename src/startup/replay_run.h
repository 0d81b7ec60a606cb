// `vdx --record FILE` and `vdx --replay FILE`: the matches of a run kept as
// their inputs, and played again frame for frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "content/paths.h"
#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

// The fingerprint of what a match's rules read from the game folder: Game.xml,
// ai.xml and story.xml, and both fighters' frames (a throw's on that opponent)
// and their effects' frames, which the pixel hit tests read. Each file is read
// once, one at a time.
std::uint64_t MatchFingerprint(const PathResolver& paths, const Content& content,
                               const MatchSetup& setup);

// The same for every match the folder can hold: Game.xml, ai.xml, story.xml,
// every character's fight frames (a throw's on each opponent) and effects, the
// pick-up and the snow. Two machines with the same fingerprint play any
// match alike.
std::uint64_t GameFolderFingerprint(const PathResolver& paths, const Content& content);

// Plays every match of the replay file; the run ends with the last. Returns 0,
// or 2 with a message on standard error when the file cannot be read, was
// recorded on other content or names what the folder lacks. `frameHashes`
// (when given) gets a line per fight frame; `draw` false plays the fights
// unseen. With `syncTest` K (1 to 8) every frame is also stepped K frames
// ahead twice from a saved state: the first frame where the two passes
// differ is named on standard error with its match, and the run ends there
// with status 1.
int PlayReplayFile(Game& game, const std::filesystem::path& file, std::string* frameHashes,
                   bool draw = true, int syncTest = 0);

}  // namespace vdx
