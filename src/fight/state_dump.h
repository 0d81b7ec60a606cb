// The fight's state as JSON, for the script command `state FILE.json`: a
// summary of what a reader looks for first (each player's place, action,
// health and effects), then "state", every field as fight_state_visit.h
// lists them.
#pragma once

#include <cstdint>
#include <string>

#include "fight/fight_state.h"

namespace vdx {

std::string FightStateJson(const FightState& fight, const FightSlots& slots,
                           std::uint64_t stateHash);

}  // namespace vdx
