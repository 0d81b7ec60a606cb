// Keys as a player reads them: directions as arrows, the attack keys as the
// letters P (punch), K (kick) and B (block).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vdx {

// A command's or a key sequence's letters, one symbol each: R (forward) →,
// L (back) ←, U ↑, D ↓, as for a fighter facing right; P, K, B and E stay
// letters; anything else is left out.
std::string KeysShown(std::string_view letters);

// A player's buttons as pressed: the direction held on the screen (a diagonal
// for two), then the attack letters; "·" when nothing is held.
std::string ButtonsShown(std::uint8_t buttons);

}  // namespace vdx
