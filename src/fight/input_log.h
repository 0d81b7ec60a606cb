// The input display's memory: a player's last inputs, each with the number of
// frames it was held, newest last. A change of any button starts a new entry.
#pragma once

#include <array>
#include <cstdint>

#include "input/player_input.h"

namespace vdx {

inline constexpr int kInputLogEntries = 20;
inline constexpr int kMostFramesShown = 999;  // a longer hold shows as 999

struct InputLogEntry {
  std::uint8_t buttons = 0;  // screen directions, as pressed
  int frames = 0;
};

struct InputLog {
  std::array<InputLogEntry, kInputLogEntries> entries{};  // a ring
  int count = 0;                                          // entries held, at most kInputLogEntries
  int next = 0;                                           // where the next entry goes
};

void LogInput(InputLog& log, PlayerInput input);

// The k-th newest entry (0: the newest); k < log.count.
const InputLogEntry& NewestEntry(const InputLog& log, int k);

}  // namespace vdx
