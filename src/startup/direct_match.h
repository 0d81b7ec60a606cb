// `vdx --versus P1,P2 [--stage NAME]`: a match straight after start-up, for
// players who know what they want and for tests.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "content/content.h"
#include "fight/fight_state.h"

namespace vdx {

// The match the names ask for (found in any letter case; the stage defaults
// to the first enabled one), or a message that lists the names there are.
std::variant<MatchSetup, std::string> ResolveDirectMatch(const Content& content,
                                                         const std::string& versus,
                                                         const std::optional<std::string>& stage);

}  // namespace vdx
