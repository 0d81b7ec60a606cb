#include "fight/input_log.h"

namespace vdx {

const InputLogEntry& NewestEntry(const InputLog& log, int k) {
  const int at = (log.next - 1 - k + 2 * kInputLogEntries) % kInputLogEntries;
  return log.entries[static_cast<std::size_t>(at)];
}

void LogInput(InputLog& log, PlayerInput input) {
  if (log.count > 0) {
    InputLogEntry& newest =
        log.entries[static_cast<std::size_t>((log.next - 1 + kInputLogEntries) % kInputLogEntries)];
    if (newest.buttons == input.buttons) {
      if (newest.frames < kMostFramesShown) ++newest.frames;
      return;
    }
  }
  log.entries[static_cast<std::size_t>(log.next)] = InputLogEntry{input.buttons, 1};
  log.next = (log.next + 1) % kInputLogEntries;
  if (log.count < kInputLogEntries) ++log.count;
}

}  // namespace vdx
