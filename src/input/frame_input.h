// What a loop pass knows of the machine: read once at the top of the pass, and
// everything the pass does (command letters, timers, rolls) works from it.
// A recorded fight is its frames' inputs, so it replays exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace vdx {

// Controllers serve players 1 and 2 only.
inline constexpr int kMaxControllers = 2;

struct FrameInput {
  std::uint32_t ticks = 0;         // the tick count of this pass, in ms
  platform::KeyboardState keys{};  // held keys by key code, non-zero while held
  // The controllers of players 1 and 2; empty when not attached.
  std::array<std::optional<platform::ControllerState>, kMaxControllers> controllers;
};

// Reads the clock, the keyboard and the first `controllerCount` controllers (at
// most two) once.
FrameInput ReadFrameInput(platform::Platform& platform, int controllerCount);

}  // namespace vdx
