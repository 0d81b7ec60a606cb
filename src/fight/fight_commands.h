// A player's frame input becomes the fighter's command letters: "L" back, "R"
// forward (relative to the way the fighter faces), "U", "D", "P" punch, "K"
// kick, "B" block, and "E" (pause, player 1 only); and the letters feed the
// special-move history.
#pragma once

#include <cstdint>
#include <string_view>

#include "fight/fight_state.h"
#include "input/player_input.h"

namespace vdx {

// The letters in the keyboard's order: E, the letter of the screen-left key,
// of the screen-right key, then U, D, P, K, B.
Command CommandLetters(PlayerInput input, bool facingLeft);

// One frame's update from the player's command at tick `now`.
void UpdateKeyHistory(KeyHistory& history, std::string_view command, std::uint32_t now);

// Forgets the entries and the sequence (the last command stays, so a letter
// still held is not entered again).
void ClearKeyHistory(KeyHistory& history);

}  // namespace vdx
