// The computer at a player's keys: it chooses as the computer opponent does,
// from the fight, its own memory and its own generator, and gives the buttons
// a player would press for the choice, so its play travels as any player's
// input does (over the network, into replays) and the fight treats it as a
// player's.
//
// Letters held together become one frame's buttons. A key sequence (a special
// move's Activate, which the opponent in the step enters at once) is keyed in
// over several frames, as the key history has to see it:
//   - first nothing is pressed until the history holds no letter that would
//     run ahead of the sequence (at most until its entries are too old);
//   - then one letter a frame, with a frame of nothing between two equal
//     letters (the history takes a letter only when the command changes);
//   - then the last letter stays held while the whole sequence waits in the
//     history, until the fighter is free to act on it and does.
// While a sequence is keyed in the computer makes no new choice.
//
// Before a round's fight has started it presses Block, let go in between, to
// start it; while the game is paused it presses nothing; under a round's
// result it presses nothing, then Punch once the banner has stood
// kUnattendedBannerMs, as a match the computer plays alone goes on.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "core/random.h"
#include "fight/fight_state.h"
#include "input/player_input.h"

namespace vdx {

enum class KeyingStep : std::uint8_t {
  Choose,    // free to choose this frame
  Clearing,  // waiting for the key history to empty before a sequence
  Entering,  // keying the sequence in, a letter a frame
  Holding,   // holding its last letter until the fighter acts on it
};

// One computer at one player's keys. Trivially copyable: it can be saved and
// restored with the fight.
struct ComputerAtKeys {
  ComputerState memory;
  RandomGenerator random;
  KeyingStep step = KeyingStep::Choose;
  Command sequence;             // the sequence being keyed in
  std::uint8_t entered = 0;     // its letters pressed so far
  std::uint8_t frames = 0;      // frames spent in the current step
  PlayerInput last;             // the buttons of the frame before
  Integer level = kProfileDifficulty;  // the level it plays at (computer_level.h)
};
static_assert(std::is_trivially_copyable_v<ComputerAtKeys>);

// A computer with a fresh memory and its generator at `seed`, playing at `level`.
ComputerAtKeys StartComputerAtKeys(std::uint64_t seed, Integer level = kProfileDifficulty);

// The buttons for `player` (1 or 2) in the frame about to be stepped from
// `fight`. Reads the fight only; the same computer, fight and content always
// give the same buttons.
PlayerInput ComputerKeys(ComputerAtKeys& computer, const FightState& fight,
                         const FightSlots& slots, int player);

// The buttons of `letters` (the fighter's: R forward, L back) for a fighter
// facing left or right; letters without a button are left out.
PlayerInput ButtonsOfLetters(std::string_view letters, bool facingLeft);

// Whether one frame's buttons give exactly `letters`: each letter has a
// button, none is repeated, and they come in the keyboard's order.
bool HeldTogether(std::string_view letters, bool facingLeft);

}  // namespace vdx
