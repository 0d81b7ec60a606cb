// The fight's side of a network match: the present state, the states saved
// before each frame not yet confirmed (to go back to when a guess at the
// other player's input proves wrong), and the hash of every stepped frame
// until it is confirmed. Nothing here draws, plays or talks to the network:
// the caller receives packets into the session, runs one pass a frame, plays
// the sounds the pass returns, sends the session's packets and draws
// `fight`.
//
// A round's or the match's end is final only on a confirmed frame: a frame
// that ends the round on a guess may not end it once the real input is
// known. So the fight holds at such a frame until it is confirmed; then the
// pass reports it, the caller sets up the next round on `fight` (BeginRound)
// and calls RoundBegun, and the fight goes on from there.
#pragma once

#include <cstdint>
#include <vector>

#include "fight/fight_events.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "input/player_input.h"
#include "net/rollback_session.h"

namespace vdx {

struct RollbackFight {
  // `start`: the state before the match's first frame (its first round set
  // up). `mostPrediction`: the session's.
  explicit RollbackFight(const FightState& start, int mostPrediction = 8);

  FightState fight;  // after the last frame stepped

  // The ring of frames not yet confirmed: the state before frame f and the
  // hash after it, each tagged with its frame.
  struct Saved {
    std::uint64_t frame = 0;
    FightState before;
    std::uint64_t hashAfter = 0;
  };
  std::vector<Saved> saved;  // allocated once, here

  // A round or the match ended on this frame (0: none): stepping holds
  // until it is confirmed and, once reported, until RoundBegun.
  std::uint64_t endFrame = 0;
  FightOutcome endOutcome = FightOutcome::Running;
  bool endReported = false;
  std::uint64_t reportedConfirmed = 0;  // confirmed frames already reported
};

struct NetPass {
  net::FramePlan plan;            // what the session planned
  std::uint64_t rolledBackFrom = 0;  // > 0: frames from here were stepped again
  std::uint64_t restepped = 0;       // how many
  bool stepped = false;            // frame plan.frame was stepped the first time
  FightEvents events;              // its sounds (none of frames stepped again)
  bool heldForEnd = false;         // a round's end waits to be confirmed
  // A round's or the match's end on a confirmed frame, reported once.
  FightOutcome end = FightOutcome::Running;
  std::uint64_t endFrame = 0;
  // Frames newly confirmed: firstConfirmed..lastConfirmed (none when first
  // > last). Their inputs: session.confirmedInputs(f); their state hashes:
  // ConfirmedHash(fight, f).
  std::uint64_t firstConfirmed = 1;
  std::uint64_t lastConfirmed = 0;
};

// One pass of a network match, after the session has received this pass's
// packets and before its packets are taken: plan, go back and step again on
// a wrong guess, step the next frame on `localKeys`.
NetPass RunNetPass(RollbackFight& fight, const FightSlots& slots, net::RollbackSession& session,
                   PlayerInput localKeys, std::uint32_t nowMs);

// After a reported round end, the caller set up the next round on
// fight.fight: it becomes the state the next frame starts from.
void RoundBegun(RollbackFight& fight);

// The state hash after a frame confirmed in the last pass (0 when it has
// gone from the ring).
std::uint64_t ConfirmedHash(const RollbackFight& fight, std::uint64_t frame);

}  // namespace vdx
