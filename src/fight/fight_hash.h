// Fingerprints of a fight: of its state after a frame (what a replay must
// reproduce exactly) and of the picture drawn.
#pragma once

#include <cstdint>

#include "core/random.h"
#include "fight/fight_state.h"
#include "graphics/surface.h"
#include "input/poll_input.h"

namespace vdx {

// FNV-1a over every field of the fight's state, the run-time state of both
// players' effects, both players' commands and special-move histories, and
// the generator's state.
std::uint64_t HashFightState(const FightState& fight, const FightSlots& slots,
                             const InputState& input, const RandomGenerator& random);

std::uint64_t HashPicture(const Surface& picture);

}  // namespace vdx
