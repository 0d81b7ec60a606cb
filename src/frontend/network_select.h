// The select screens of a network match, each player at its own machine. The
// character select is the two-player screen, but this machine's keys (either
// binding) move only its own player's cursor, and the other cursor goes where
// the other machine says; each side sends its cursor when it moves and its
// choice. Then the stage select: the host (player 1) picks and sends its
// cursor and choice; the joining side watches the host's cursor and cannot
// pick. Player 1's Escape on either side leaves.
#pragma once

#include <functional>
#include <optional>

#include "fight/fight_state.h"
#include "game/game.h"
#include "match/network_match.h"
#include "net/packets.h"

namespace vdx {

// The other machine, as the select screens need it.
struct SelectLink {
  std::function<void(const net::SelectMessage&)> send;
  // The other's next select message, if one came.
  std::function<std::optional<net::SelectMessage>()> next;
  // The other player left.
  std::function<bool()> gone;
};

// Over the link's reliable channel. Every reliable message of the other
// player that is not a select message is left in link.later, in order (the
// match's start follows the screens); a select message that does not decode
// is counted in link.dropped.
SelectLink SelectLinkOf(NetLink& link);

// Runs both screens as player `localPlayer` (1 the host, 2 the joining side).
// The host gets the match's set-up (two players, both fighters with a "Random"
// pick drawn from game.random, the stage); the joining side gets what it saw
// chosen once the host has picked the stage (the host's match start, which
// follows, is the one to play). Nothing when player 1's Escape is pressed on
// this side, the game closes or the other player leaves. Cursors of the other
// side out of range, or choices of what cannot be chosen, are ignored.
std::optional<MatchSetup> NetworkSelect(Game& game, SelectLink& link, int localPlayer);

}  // namespace vdx
