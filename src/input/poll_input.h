// Turns the keyboard and the game controllers into each player's command
// letters: "L" back, "R" forward (relative to the way the fighter faces), "U",
// "D", "P" punch, "K" kick, "B" block, and "E" (Escape, player 1 only).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "content/records.h"
#include "input/frame_input.h"
#include "platform/platform.h"

namespace vdx {

struct InputState {
  std::array<std::string, 3> HeldCommand;  // players 1 and 2 (0 unused)
  std::array<bool, 3> Facing{};            // false: faces right
};

// One player's letters from the keyboard state and its bindings.
std::string KeyboardLetters(const platform::KeyboardState& keys, const cKeys& binding,
                            bool facingLeft, bool withEscape);
// The letters a controller adds: stick below 4000 or above 6000, buttons 0..2.
std::string ControllerLetters(const platform::ControllerState& pad, bool facingLeft);

// Both players' letters from one pass's input; the controllers count only
// when the settings switch them on.
void PollLetters(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
                 bool joystickSetting, InputState& input);

// The poll every screen makes (the fight keeps its own special-move history).
void PollInput(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
               bool joystickSetting, InputState& input);

}  // namespace vdx
