// A player's input for one fight frame as a few bits: the directions held, as
// on the keyboard (screen left and right, not the fighter's back and forward),
// Punch, Kick, Block and, for player 1, Pause (Escape). The fight turns them
// into command letters with the fighter's facing; a replay and a network
// packet carry these bits and nothing else of the machine.
#pragma once

#include <array>
#include <cstdint>

namespace vdx {

inline constexpr std::uint8_t kButtonLeft = 1u << 0;
inline constexpr std::uint8_t kButtonRight = 1u << 1;
inline constexpr std::uint8_t kButtonUp = 1u << 2;
inline constexpr std::uint8_t kButtonDown = 1u << 3;
inline constexpr std::uint8_t kButtonPunch = 1u << 4;
inline constexpr std::uint8_t kButtonKick = 1u << 5;
inline constexpr std::uint8_t kButtonBlock = 1u << 6;
inline constexpr std::uint8_t kButtonPause = 1u << 7;  // player 1 only

struct PlayerInput {
  std::uint8_t buttons = 0;
  friend bool operator==(PlayerInput, PlayerInput) = default;
};

// Both players' input for one frame: [0] player 1, [1] player 2.
using FightInputs = std::array<PlayerInput, 2>;

}  // namespace vdx
