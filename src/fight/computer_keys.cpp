#include "fight/computer_keys.h"

#include "core/ticks.h"
#include "fight/computer_opponent.h"
#include "fight/fight_commands.h"
#include "fight/fight_step.h"

namespace vdx {
namespace {

// Long enough for every entry of the key history to grow too old.
constexpr std::uint8_t kHistoryFrames =
    static_cast<std::uint8_t>(kKeyHistoryMs * kFightFramesPerSecond / 1000 + 2);

// The button of one letter; 0 for a letter no key gives.
std::uint8_t ButtonOf(char letter, bool facingLeft) {
  switch (letter) {
    case 'R':
      return facingLeft ? kButtonLeft : kButtonRight;
    case 'L':
      return facingLeft ? kButtonRight : kButtonLeft;
    case 'U':
      return kButtonUp;
    case 'D':
      return kButtonDown;
    case 'P':
      return kButtonPunch;
    case 'K':
      return kButtonKick;
    case 'B':
      return kButtonBlock;
    case 'E':
      return kButtonPause;
    default:
      return 0;
  }
}

bool EveryLetterHasAKey(std::string_view letters) {
  for (const char letter : letters)
    if (ButtonOf(letter, false) == 0) return false;
  return true;
}

void StopKeying(ComputerAtKeys& computer) {
  computer.step = KeyingStep::Choose;
  computer.frames = 0;
}

// The frame's buttons in the fight proper: a new choice, or the next frame of
// a sequence being keyed in.
PlayerInput PlayOn(ComputerAtKeys& computer, const FightState& fight, const FightSlots& slots,
                   int player, std::uint32_t now) {
  const FighterState& me = fight.fighters[player];
  const KeyHistory& history = me.history;
  // Holding gives way to a choice in the same frame, so at most two rounds.
  for (int round = 0; round < 2; ++round) {
    switch (computer.step) {
      case KeyingStep::Choose: {
        Command held;
        Command lastCommand;
        ChooseComputerCommand(fight, slots, now, player,
                              ComputerTurn{computer.memory, computer.random, held, lastCommand,
                                           computer.level});
        if (held.empty()) return {};
        if (HeldTogether(held, me.Facing)) return ButtonsOfLetters(held, me.Facing);
        if (!EveryLetterHasAKey(held)) return {};  // no keys enter it
        computer.sequence = held;
        computer.entered = 0;
        computer.step = KeyingStep::Clearing;
        computer.frames = 0;
        [[fallthrough]];
      }
      case KeyingStep::Clearing: {
        // Letters still in the history would stand before the sequence, and
        // a first letter still held would not be taken again.
        const bool inTheWay = history.count > 0 || history.lastCommand.view() ==
                                                       computer.sequence.view().substr(0, 1);
        if (inTheWay && computer.frames < kHistoryFrames) {
          ++computer.frames;
          return {};
        }
        computer.step = KeyingStep::Entering;
        computer.frames = 0;
        [[fallthrough]];
      }
      case KeyingStep::Entering: {
        const char letter = computer.sequence[computer.entered];
        // A letter equal to the one before is let go for a frame first.
        if (computer.entered > 0 && computer.sequence[computer.entered - 1U] == letter &&
            computer.last.buttons != 0)
          return {};
        if (++computer.entered == computer.sequence.size()) computer.step = KeyingStep::Holding;
        return PlayerInput{ButtonOf(letter, me.Facing)};
      }
      case KeyingStep::Holding:
        // The whole sequence waits in the history until the fighter acts on
        // it (or its entries grow too old).
        if (history.KeySequence == computer.sequence.view() && computer.frames < kHistoryFrames) {
          ++computer.frames;
          const char lastLetter = computer.sequence[computer.sequence.size() - 1];
          return PlayerInput{ButtonOf(lastLetter, me.Facing)};
        }
        StopKeying(computer);
        break;
    }
  }
  return {};
}

}  // namespace

ComputerAtKeys StartComputerAtKeys(std::uint64_t seed, Integer level) {
  ComputerAtKeys computer;
  computer.random = RandomGenerator(seed);
  computer.level = level;
  computer.memory.plays = true;
  return computer;
}

PlayerInput ButtonsOfLetters(std::string_view letters, bool facingLeft) {
  PlayerInput input;
  for (const char letter : letters) input.buttons |= ButtonOf(letter, facingLeft);
  return input;
}

bool HeldTogether(std::string_view letters, bool facingLeft) {
  return CommandLetters(ButtonsOfLetters(letters, facingLeft), facingLeft).view() == letters;
}

PlayerInput ComputerKeys(ComputerAtKeys& computer, const FightState& fight,
                         const FightSlots& slots, int player) {
  // The clock of the frame about to be stepped.
  const std::uint32_t now = FightClockAt(fight.frameNumber + 1);
  PlayerInput input;
  if (fight.roundEnd.active) {
    StopKeying(computer);
    if (!TickAfter(fight.roundEnd.began + kUnattendedBannerMs, now)) input.buttons = kButtonPunch;
  } else if (!fight.FightStarted) {
    // A key held as the round begins is ignored until let go: press, let go.
    StopKeying(computer);
    if (computer.last.buttons == 0) input.buttons = kButtonBlock;
  } else if (fight.PauseRequested) {
    StopKeying(computer);
  } else {
    input = PlayOn(computer, fight, slots, player, now);
  }
  computer.last = input;
  return input;
}

}  // namespace vdx
