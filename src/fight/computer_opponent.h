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

#include <cstdint>
#include <string>

namespace vdx {

struct Game;
struct FightState;
struct FightSlots;
struct MatchSetup;

enum class ComputerStep { Decide, Approach, CloseAttack, FarAttack, React, BackOff, Wait, JumpIn };

// What the computer remembers between frames, one record per player it plays.
// A match starts with a fresh one (nothing is carried from the match before);
// it goes on through the rounds.
struct ComputerState {
  std::uint32_t decisionDelay = 0;  // ms from lastDecision until the state falls back to Decide
  std::uint32_t lastDecision = 0;   // tick count when the delay was drawn
  ComputerStep state = ComputerStep::Decide;
  std::string lastSeenAction;     // the opponent's action the computer last took note of
  bool wantsCloseAttack = false;  // the last offensive decision's Attack roll
  bool wantsFarAttack = false;    // its AttackFar roll
  std::int16_t backOffMark = 0;  // the player's x while backing off, 0 otherwise (nothing reads it)
};

// Whether the computer plays `player` (1 or 2) in this match: player 2 against
// the computer, both in a match the computer plays alone.
bool ComputerPlaysPlayer(const MatchSetup& setup, int player);

// Gives each player the computer plays in this match a fresh record.
void StartComputerPlayers(FightState& fight, const MatchSetup& setup);

// Chooses `player`'s command for this frame (HeldCommand, and the key history's
// last command) from its profile, the fight and rolls of game.random. The
// opponent is the other player; positions and facing are seen from `player`'s
// side, so the computer may play either. Never throws for missing content.
void ChooseComputerMove(Game& game, FightState& fight, FightSlots& slots, int player,
                        std::uint32_t now);

// The state's name, for state dumps.
const char* ComputerStepName(ComputerStep step);

}  // namespace vdx
