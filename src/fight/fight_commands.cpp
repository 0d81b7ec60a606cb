#include "fight/fight_commands.h"

#include "core/ticks.h"

namespace vdx {

Command CommandLetters(PlayerInput input, bool facingLeft) {
  Command letters;
  const auto held = [&input](std::uint8_t button) { return (input.buttons & button) != 0; };
  if (held(kButtonPause)) letters.push_back('E');
  // The buttons are screen directions; the letters are the fighter's.
  if (held(kButtonLeft)) letters.push_back(facingLeft ? 'R' : 'L');
  if (held(kButtonRight)) letters.push_back(facingLeft ? 'L' : 'R');
  if (held(kButtonUp)) letters.push_back('U');
  if (held(kButtonDown)) letters.push_back('D');
  if (held(kButtonPunch)) letters.push_back('P');
  if (held(kButtonKick)) letters.push_back('K');
  if (held(kButtonBlock)) letters.push_back('B');
  return letters;
}

void UpdateKeyHistory(KeyHistory& history, std::string_view command, std::uint32_t now) {
  if (command != history.lastCommand.view() && command.size() == 1) {
    if (history.count == kKeyHistoryEntries) {
      // Full (only a clock that stood still could fill it): the oldest goes.
      for (std::size_t i = 1; i < kKeyHistoryEntries; ++i)
        history.entries[i - 1] = history.entries[i];
      --history.count;
    }
    history.entries[history.count++] = KeyEntry{command[0], now};
  }
  history.lastCommand = command;
  std::uint8_t kept = 0;
  for (std::uint8_t i = 0; i < history.count; ++i) {
    const KeyEntry entry = history.entries[i];
    if (TickAfter(now, entry.time + kKeyHistoryMs)) continue;
    history.entries[kept++] = entry;
  }
  for (std::uint8_t i = kept; i < history.count; ++i) history.entries[i] = KeyEntry{};
  history.count = kept;
  history.KeySequence.clear();
  for (std::uint8_t i = 0; i < history.count; ++i) history.KeySequence.push_back(history.entries[i].key);
}

void ClearKeyHistory(KeyHistory& history) {
  history.entries = {};
  history.count = 0;
  history.KeySequence.clear();
}

}  // namespace vdx
