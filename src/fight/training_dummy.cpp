#include "fight/training_dummy.h"

#include "fight/action_names.h"

namespace vdx {
namespace {

constexpr std::uint8_t kScreenSides = kButtonLeft | kButtonRight;

// Screen left and right as the fighter's back and forward, or back again:
// the same swap both ways.
std::uint8_t AsFacing(std::uint8_t buttons, bool facingLeft) {
  if (!facingLeft) return buttons;
  const std::uint8_t sides = buttons & kScreenSides;
  const std::uint8_t swapped = static_cast<std::uint8_t>(
      ((sides & kButtonLeft) ? kButtonRight : 0) | ((sides & kButtonRight) ? kButtonLeft : 0));
  return static_cast<std::uint8_t>((buttons & ~kScreenSides) | swapped);
}

std::uint8_t StanceButtons(DummyStance stance, std::uint8_t player2Keys) {
  switch (stance) {
    case DummyStance::Stand:
      return 0;
    case DummyStance::Crouch:
      return kButtonDown;
    case DummyStance::Jump:
      return kButtonUp;
    case DummyStance::Player2Keys:
      return player2Keys;
  }
  return 0;
}

// The guard of "after the first hit" goes up when the dummy is hit and down
// when the fight has stayed calm a while: a block ends the attacker's combo
// count, so the count alone cannot say when the string of blows is over.
void FollowGuard(DummyState& dummy, const FightState& fight) {
  const FighterState& player = fight.fighters[1];
  const FighterState& me = fight.fighters[2];
  if (NameHolds(me.ActionName, "HIT")) dummy.guardUp = true;
  // Calm: the player stands, its combo count has run out, and the dummy
  // stands or holds its block.
  const bool calm = FighterIdle(player) && player.ComboCount == 0 &&
                    (FighterIdle(me) || me.ActionName == "Block");
  dummy.idleFrames = calm ? dummy.idleFrames + 1 : 0;
  if (dummy.idleFrames >= kGuardDownAfterIdleFrames) dummy.guardUp = false;
  // A blow blocked: the block is let go once it has stood again.
  if (player.attackBlocked && !dummy.blowBlocked) dummy.lettingGo = true;
  dummy.blowBlocked = player.attackBlocked;
  if (dummy.lettingGo && FighterIdle(me)) dummy.lettingGo = false;
}

}  // namespace

bool DummyGuards(const TrainingOptions& options, const DummyState& dummy, const FightState& fight) {
  if (options.stance == DummyStance::Player2Keys || dummy.recording) return false;
  if (options.behaviour == DummyBehaviour::Computer) return false;
  if (options.behaviour == DummyBehaviour::Recording && dummy.playing) return false;
  // While the attacker is busy the guard stays up, so a string keeps being blocked.
  if (dummy.lettingGo && FighterIdle(fight.fighters[1])) return false;
  return options.guard == DummyGuard::All ||
         (options.guard == DummyGuard::AfterFirstHit && dummy.guardUp);
}

bool FighterIdle(const FighterState& fighter) {
  return fighter.ActionName == "Standing" || fighter.ActionName == "Duck";
}

void ToggleRecording(DummyState& dummy) {
  if (dummy.recording) {
    dummy.recording = false;
    return;
  }
  dummy.recording = true;
  dummy.playing = false;
  dummy.recorded.length = 0;
}

bool StartPlayback(DummyState& dummy) {
  if (dummy.recording || dummy.recorded.length == 0) return false;
  dummy.playing = true;
  dummy.playhead = 0;
  return true;
}

FightInputs TrainingInputs(const TrainingOptions& options, DummyState& dummy,
                           const FightState& fight, const FightSlots& slots,
                           const FightInputs& machine) {
  const FighterState& me = fight.fighters[2];
  FollowGuard(dummy, fight);
  // The computer starts afresh each time it takes the dummy over.
  const bool computer = options.behaviour == DummyBehaviour::Computer && !dummy.recording;
  if (computer && !dummy.computerPlays)
    dummy.computer = StartComputerAtKeys(fight.random.state(), options.computerLevel);
  dummy.computerPlays = computer;
  if (dummy.recording) {
    // Player 1 steers the dummy; only its Pause still reaches player 1.
    const std::uint8_t keys = machine[0].buttons & static_cast<std::uint8_t>(~kButtonPause);
    dummy.recorded.buttons[dummy.recorded.length++] = AsFacing(keys, me.Facing);
    if (dummy.recorded.length == kMostRecordedFrames) dummy.recording = false;
    return {PlayerInput{static_cast<std::uint8_t>(machine[0].buttons & kButtonPause)},
            PlayerInput{keys}};
  }
  std::uint8_t keys = StanceButtons(options.stance, machine[1].buttons);
  if (options.behaviour == DummyBehaviour::Recording && dummy.playing) {
    keys = AsFacing(dummy.recorded.buttons[dummy.playhead++], me.Facing);
    if (dummy.playhead >= dummy.recorded.length) {
      dummy.playhead = 0;
      dummy.playing = options.loopPlayback;
    }
  } else if (computer) {
    dummy.computer.level = options.computerLevel;
    keys = ComputerKeys(dummy.computer, fight, slots, 2).buttons;
  } else if (DummyGuards(options, dummy, fight)) {
    // There is no ducking block: a guarding dummy stands to block.
    keys = kButtonBlock;
  }
  return {machine[0], PlayerInput{keys}};
}

}  // namespace vdx
