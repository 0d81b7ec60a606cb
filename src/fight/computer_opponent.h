// The computer opponent: once a frame it chooses the command of a player it
// plays, as the keyboard would, from that character's profile in ai.xml; the
// fighter pass then acts on the command exactly as for a human.
//
// Where content falls short the computer plays on instead of stopping the
// game: without its own profile it uses a neutral one without moves (it walks,
// waits and blocks, and never attacks); without the opponent's profile, or
// when the opponent's action is not among that profile's moves, it does not
// answer by region; a move whose action the character lacks, or no move of the
// wanted kind, gives no command this frame.
#pragma once

#include "fight/fight_state.h"
#include "fight/fight_step.h"

namespace vdx {

// Whether the computer plays `player` (1 or 2) in this match: player 2 against
// the computer, both in a match the computer plays alone.
bool ComputerPlaysPlayer(const MatchSetup& setup, int player);

// Gives each player the computer plays in this match a fresh memory.
void StartComputerPlayers(FightState& fight, const MatchSetup& setup);

// Chooses `player`'s command for this frame (its HeldCommand, and the key
// history's last command) from its profile, the fight and rolls of the
// fight's generator, as the keys of a player would. The opponent is the other
// player; positions and facing are seen from `player`'s side, so the computer
// may play either. Never throws for missing content.
void ChooseComputerMove(StepContext& ctx, int player);

// What one choice writes: the computer's memory and generator, and the
// command and the key history's last command it sets; and the level it plays
// at (computer_level.h).
struct ComputerTurn {
  ComputerState& memory;
  RandomGenerator& random;
  Command& held;
  Command& lastCommand;
  Integer level = kProfileDifficulty;
};

// The same choice at tick `now` with the memory, generator and command
// outputs given apart from the fight, which is only read: ChooseComputerMove
// passes the fight's own; a computer at the keys passes its own, so choosing
// touches neither the fight nor its generator.
void ChooseComputerCommand(const FightState& fight, const FightSlots& slots, std::uint32_t now,
                           int player, const ComputerTurn& turn);

// The state's name, for state dumps.
const char* ComputerStepName(ComputerStep step);

}  // namespace vdx
