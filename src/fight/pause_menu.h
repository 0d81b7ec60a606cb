// The pause menu: Escape in a fight opens it over the running picture;
// player 1 moves with Up and Down and chooses with Punch: go on, leave the
// match for the menu, or leave the game.
#pragma once

#include <cstdint>
#include <utility>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

inline constexpr std::uint32_t kPauseMenuPollMs = 150;

// The colours of the items (0x00BBGGRR): the others and the selected one.
std::pair<Long, Long> PauseMenuColours(const Settings& settings);

// One step of the menu, in each fighter's turn while the pause is asked for:
// draws it, takes at most one of player 1's commands every 150 ms and acts on
// a choice.
void OpenPauseMenu(Game& game, FightState& fight, std::uint32_t now);

}  // namespace vdx
