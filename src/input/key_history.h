// A player's special-move input: the single letters entered during the last
// half second, in order. Only changes of the command count, so a letter held
// for many frames is entered once, and two letters held together are never
// entered (they still match an action's Activate directly).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/records.h"

namespace vdx {

inline constexpr std::uint32_t kKeyHistoryMs = 500;

struct KeyHistory {
  // In entry order. A plain list: two letters entered in the same millisecond
  // are both kept.
  std::vector<cSpecialKeys> entries;
  std::string lastCommand;  // the command of the previous frame
  std::string KeySequence;  // the entries' letters joined
};

// One frame's update from the player's command at tick `now`.
void UpdateKeyHistory(KeyHistory& history, const std::string& command, std::uint32_t now);

// Forgets the entries and the sequence (the last command stays, so a letter
// still held is not entered again).
void ClearKeyHistory(KeyHistory& history);

}  // namespace vdx
