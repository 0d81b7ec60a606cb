// Fingerprints of a fight: of its state after a frame (what a replay must
// reproduce exactly) and of the picture drawn.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "graphics/surface.h"

namespace vdx {

// FNV-1a over every field of the state, as fight_state_visit.h lists them.
std::uint64_t HashFightState(const FightState& fight);

std::uint64_t HashPicture(const Surface& picture);

}  // namespace vdx
