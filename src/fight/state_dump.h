// The fight's state as JSON, for the script command `state FILE.json`.
#pragma once

#include <string>

#include "fight/fight_state.h"
#include "input/poll_input.h"

namespace vdx {

std::string FightStateJson(const FightState& fight, const FightSlots& slots,
                           const InputState& input, std::uint64_t stateHash);

}  // namespace vdx
