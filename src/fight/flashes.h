// White flashes where blows landed: at most four at a time, each turning and
// fading for 750 ms where it hit, as the camera moves.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"

namespace vdx {

inline constexpr std::uint32_t kFlashMs = 750;

// A flash centred on (x, y) on screen, unless four are alive.
void AddFlash(FightState& fight, Long x, Long y, std::uint32_t now);

// Forgets the flashes whose time is over and turns the others.
void AgeFlashes(FightState& fight, std::uint32_t now);

// How far a living flash has faded: 1 when new, towards 0 at its end.
float FlashAlpha(const Flash& flash, std::uint32_t now);

}  // namespace vdx
