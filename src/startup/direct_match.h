// `vdx --versus P1,P2 [--stage NAME]`: a match straight after start-up, for
// players who know what they want and for tests.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "content/content.h"
#include "fight/fight_state.h"
#include "game/game.h"
#include "startup/main_routine.h"

namespace vdx {

// The match the names ask for (found in any letter case; the stage defaults
// to the first enabled one), or a message that lists the names there are.
std::variant<MatchSetup, std::string> ResolveDirectMatch(const Content& content,
                                                         const std::string& versus,
                                                         const std::optional<std::string>& stage);

// A computer match still running after ten minutes of the fight's time is
// stopped undecided in --matches runs.
inline constexpr std::uint64_t kUndecidedAfterFrames = 10 * 60 * 1000 / 16;

// Plays the run's --versus matches (with --cpu, --matches and --record);
// returns 0, kStatusRefused with a message on standard error when the names are
// not the game folder's, or kStatusNotWritten when the replay could not be written. With more than
// one match, a line per match and one on the resident memory go to standard output.
int PlayDirectMatches(Game& game, const RunRequest& request, std::string* frameHashes);

// `vdx --training P1,P2 [--stage NAME]`: training straight after start-up,
// until the player leaves it; returns 0, or kStatusRefused with a message on
// standard error when the names are not the game folder's.
int PlayDirectTraining(Game& game, const RunRequest& request);

}  // namespace vdx
