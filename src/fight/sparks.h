// Each fighter's spark burst: armed where a blow or a touch landed, shown by
// attacks that show their sparks, and drawn over both fighters.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"

namespace vdx {

// Launches the player's burst at (x, y) on screen unless it is still showing
// one (then false); it shows only once something switches it on (ShowSparks).
bool ArmSparks(Game& game, FightState& fight, const FightSlots& slots, int player, Long x,
               Long y);
void ShowSparks(FightState& fight, int player);

// Every frame: each shown burst moves and is drawn.
void DrawSparks(Game& game, FightState& fight);

}  // namespace vdx
