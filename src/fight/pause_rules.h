// The pause menu's rules: while the pause is asked for, each fighter's turn
// shows the menu and takes at most one of player 1's commands every 150 ms:
// Up and Down move the choice, Punch takes it: go on, leave the match for the
// menu, or leave the game.
#pragma once

#include <cstdint>

#include "fight/fight_step.h"

namespace vdx {

inline constexpr std::uint32_t kPauseMenuPollMs = 150;

// The menu's step; returns the item it shows, chosen before this frame's key.
int StepPauseMenu(StepContext& ctx);

}  // namespace vdx
