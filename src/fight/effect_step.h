// A fighter's effects in the fight: started by its special and grab actions,
// then, once a frame in the fighter's turn, delayed, sounded, tested against
// the opponent, turned, faded, grown, drawn and stepped until they end and
// start the effect that follows them.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/fighter_pass.h"

namespace vdx {

// A "Special" or "Grab" action starts each effect of its EffectList that is
// not running: facing as the fighter faces, at (PlayerX + animX, PlayerY +
// animY), or PlayerX + 256 - animX when the fighter faces left. An effect
// whose name holds "BUBBLE" also lets the fighter's bubbles rise from it.
void StartActionEffects(FighterPassContext& ctx, int player, const cAction& action);

// The player's bubbles, then each of the player's effects in order.
void UpdateCharacterEffects(Game& game, FightState& fight, FightSlots& slots, int player,
                            std::uint32_t now);

// Where the fighter's running effects are drawn, for the debug overlay: calls
// `each` with every running effect (delayed ones included).
template <typename Each>
void ForEachRunningEffect(const FightSlots& slots, int player, Each each) {
  for (const cEffect& e : slots.players[player].character.Effects)
    if (e.bActive) each(e);
}

}  // namespace vdx
