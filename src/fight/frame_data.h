// Frame data, counted by the fight: a watcher that looks at every stepped
// frame (the state before and after it) and tells what the current actions
// are, how long they last, what the last blow did, and the frame advantage
// after a hit or a block: how many frames sooner the attacker could act
// again than the defender. Nothing is estimated from the content: the
// advantage is the difference of the frames at which both fighters were
// first idle again, as the rules stepped them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fight/fight_state.h"

namespace vdx {

// A blow that landed or was blocked, and what came of it.
struct Contact {
  int attacker = 0;  // 1 or 2
  bool blocked = false;
  std::uint64_t frame = 0;  // the frame it landed on
  // The first frames at which each side was idle again (0: not yet).
  std::uint64_t attackerFree = 0;
  std::uint64_t defenderFree = 0;
};

struct FrameDataWatch {
  std::optional<Contact> contact;  // the last blow, while it is counted or after
  std::optional<int> advantage;    // of the last blow whose count is complete
  bool advantageOnBlock = false;
  // Damage, against each player (index by the player hit; 0 unused).
  std::array<Integer, 3> lastHitDamage{};
  std::array<Integer, 3> comboDamage{};
  std::array<int, 3> comboHits{};
  // How many fight frames each action lasted the last time it was played
  // through (name, frames), per player.
  std::array<std::vector<std::pair<std::string, int>>, 3> measured;
  std::array<std::uint64_t, 3> actionStarted{};  // the frame the current action began
};

// Takes note of one stepped frame.
void WatchFrame(FrameDataWatch& watch, const FightState& before, const FightState& after);

// Forgets everything counted (after a reset, the fight starts over).
void ForgetContacts(FrameDataWatch& watch);

// What the frame data shows of a fighter's current action.
struct ActionFacts {
  std::string name;
  Long frame = 0;         // the frame shown, 1-based within the action
  Long frames = 0;        // the action's frames
  bool loops = false;     // it plays over and over (standing, walking): no length
  int lasts = 0;          // fight frames the action lasts
  bool measured = false;  // `lasts` was counted on a play of it; else worked out from its timing
  Integer damage = 0;
};

ActionFacts CurrentActionFacts(const FrameDataWatch& watch, const FightState& fight,
                               const FightSlots& slots, int player);

// The fight frames an action lasts when played through by itself, worked
// out from its pictures, holds and Motion on the 60-frames-a-second clock
// (the frame data shows it until the action has been played and measured).
int PlannedActionFrames(const cAction& action);

}  // namespace vdx
