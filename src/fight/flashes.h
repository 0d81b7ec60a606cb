// White flashes where blows landed: at most four at a time, each turning and
// fading for 750 ms where it hit, as the camera moves.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"
#include "graphics/surface.h"

namespace vdx {

inline constexpr std::uint32_t kFlashMs = 750;

// A flash centred on (x, y) on screen, unless four are alive.
void AddFlash(FightState& fight, Long x, Long y, std::uint32_t now);

// Draws the living flashes and forgets those whose time is over.
void DrawFlashes(Game& game, FightState& fight, const Surface* picture, std::uint32_t now);

}  // namespace vdx
