#include "input/key_history.h"

#include <algorithm>

#include "core/ticks.h"

namespace vdx {

void UpdateKeyHistory(KeyHistory& history, const std::string& command, std::uint32_t now) {
  if (command != history.lastCommand && command.size() == 1)
    history.entries.push_back({command, static_cast<Long>(now)});
  history.lastCommand = command;
  std::erase_if(history.entries, [now](const cSpecialKeys& entry) {
    return TickAfter(now, static_cast<std::uint32_t>(entry.Timestamp) + kKeyHistoryMs);
  });
  history.KeySequence.clear();
  for (const cSpecialKeys& entry : history.entries)
    history.KeySequence += entry.Key;
}

void ClearKeyHistory(KeyHistory& history) {
  history.entries.clear();
  history.KeySequence.clear();
}

}  // namespace vdx
