#include "match/rollback_fight.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "fight/fight_hash.h"

namespace vdx {

namespace {

RollbackFight::Saved& SlotOf(RollbackFight& rf, std::uint64_t frame) {
  return rf.saved[static_cast<std::size_t>(frame % rf.saved.size())];
}

// Steps frame `frame` from the present state, saving the state before it and
// the hash after it; tells the session.
FightOutcome StepFrame(RollbackFight& rf, const FightSlots& slots, net::RollbackSession& session,
                       std::uint64_t frame, FightEvents& events) {
  RollbackFight::Saved& slot = SlotOf(rf, frame);
  slot.frame = frame;
  slot.before = rf.fight;
  const FightOutcome outcome = StepFight(rf.fight, slots, session.inputsFor(frame), events);
  slot.hashAfter = HashFightState(rf.fight);
  session.frameStepped(frame, slot.hashAfter);
  return outcome;
}

}  // namespace

RollbackFight::RollbackFight(const FightState& start, int mostPrediction)
    : fight(start), saved(static_cast<std::size_t>(std::max(mostPrediction, 0)) + 3) {
  // Frame 1 starts from here.
  saved[1 % saved.size()].frame = 1;
  saved[1 % saved.size()].before = start;
}

NetPass RunNetPass(RollbackFight& rf, const FightSlots& slots, net::RollbackSession& session,
                   PlayerInput localKeys, std::uint32_t nowMs) {
  NetPass pass;
  pass.plan = session.plan(nowMs);
  const net::FramePlan& plan = pass.plan;
  if (plan.rollbackFrom > 0) {
    const std::uint64_t last = session.lastStepped();
    const RollbackFight::Saved& from = SlotOf(rf, plan.rollbackFrom);
    if (from.frame != plan.rollbackFrom)
      throw std::logic_error("the state before frame " + std::to_string(plan.rollbackFrom) +
                             " is no longer saved");
    rf.fight = from.before;
    pass.rolledBackFrom = plan.rollbackFrom;
    // The round's end, if any, is where the real inputs put it.
    rf.endFrame = 0;
    rf.endOutcome = FightOutcome::Running;
    for (std::uint64_t f = plan.rollbackFrom; f <= last; ++f) {
      FightEvents silent;
      const FightOutcome outcome = StepFrame(rf, slots, session, f, silent);
      ++pass.restepped;
      if (outcome != FightOutcome::Running) {
        rf.endFrame = f;
        rf.endOutcome = outcome;
        // It ends sooner than it did: the frames after it were never stepped.
        if (f < last) session.rewind(f);
        break;
      }
    }
  }
  if (rf.endFrame == 0 && plan.step && plan.frame == session.lastStepped() + 1) {
    session.addLocalInput(localKeys);
    const FightOutcome outcome = StepFrame(rf, slots, session, plan.frame, pass.events);
    pass.stepped = true;
    if (outcome != FightOutcome::Running) {
      rf.endFrame = plan.frame;
      rf.endOutcome = outcome;
    }
  }
  pass.heldForEnd = rf.endFrame != 0 && !rf.endReported;
  const std::uint64_t confirmed = session.lastConfirmed();
  if (rf.endFrame != 0 && !rf.endReported && confirmed >= rf.endFrame) {
    pass.end = rf.endOutcome;
    pass.endFrame = rf.endFrame;
    rf.endReported = true;
    pass.heldForEnd = false;
  }
  pass.firstConfirmed = rf.reportedConfirmed + 1;
  pass.lastConfirmed = confirmed;
  rf.reportedConfirmed = confirmed;
  return pass;
}

void RoundBegun(RollbackFight& rf) {
  const std::uint64_t next = rf.endFrame + 1;
  RollbackFight::Saved& slot = SlotOf(rf, next);
  slot.frame = next;
  slot.before = rf.fight;
  rf.endFrame = 0;
  rf.endOutcome = FightOutcome::Running;
  rf.endReported = false;
}

std::uint64_t ConfirmedHash(const RollbackFight& rf, std::uint64_t frame) {
  const RollbackFight::Saved& slot = rf.saved[static_cast<std::size_t>(frame % rf.saved.size())];
  return slot.frame == frame ? slot.hashAfter : 0;
}

}  // namespace vdx
