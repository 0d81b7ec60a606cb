// Training: the dummy is player 2, and what its keys press comes from the
// training options instead of a second player. It presses keys as a player
// would (the computer, when it plays the dummy, keeps a player's rules too),
// so everything the dummy does is a fight the rules already know, and a
// recording of the dummy is only a list of inputs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "content/records.h"
#include "content/settings.h"
#include "fight/computer_keys.h"
#include "fight/fight_state.h"
#include "input/player_input.h"

namespace vdx {

enum class DummyStance : std::uint8_t { Stand, Crouch, Jump, Player2Keys };
enum class DummyGuard : std::uint8_t { None, All, AfterFirstHit };
enum class DummyBehaviour : std::uint8_t { Still, Computer, Recording };
enum class ResetPlace : std::uint8_t { Start, LeftCorner, RightCorner };

// What the player sets in the training menu.
struct TrainingOptions {
  DummyStance stance = DummyStance::Stand;
  DummyGuard guard = DummyGuard::None;
  DummyBehaviour behaviour = DummyBehaviour::Still;
  Integer computerLevel = kProfileDifficulty;  // while the computer plays the dummy
  bool loopPlayback = true;                    // a recording plays over and over, or once
  bool refillHealth = true;                    // health comes back when a combo is over
  bool powerMode = false;                      // player 1 fights in the power mode
  ResetPlace resetPlace = ResetPlace::Start;
  // What is drawn over the fight.
  bool showInputs = true;
  bool showFrameData = true;
  bool showDamage = true;
  bool showHitBoxes = false;
};

// A recording holds at most ten seconds of the dummy's keys.
inline constexpr std::size_t kMostRecordedFrames = 10 * kFightFramesPerSecond;

// The dummy's keys as it faced when they were pressed: kButtonRight is
// forward and kButtonLeft back, so a recording made facing right plays the
// same moves facing left.
struct DummyRecording {
  std::array<std::uint8_t, kMostRecordedFrames> buttons{};
  std::size_t length = 0;
};

// A guard that comes up after a hit goes down once both fighters have stood
// idle this long.
inline constexpr int kGuardDownAfterIdleFrames = 60;

struct DummyState {
  bool recording = false;  // player 1's keys steer the dummy and are recorded
  bool playing = false;    // the recording plays
  std::size_t playhead = 0;
  DummyRecording recorded;
  bool guardUp = false;  // "after the first hit": hit, and the fight has not calmed since
  int idleFrames = 0;    // frames both fighters have stood idle in a row
  // After a blow it blocked, once the attacker stands again, the dummy lets
  // its block play out to its end and stands for a frame before it guards
  // again: that end is the frame it could act, which the frame data counts.
  bool lettingGo = false;
  bool blowBlocked = false;  // the player's current attack was blocked (as last seen)
  bool computerPlays = false;
  ComputerAtKeys computer;  // the computer at the dummy's keys, while it plays
};

// Starts a recording (player 1 now steers the dummy), or stops the one running.
void ToggleRecording(DummyState& dummy);

// Plays the recording from its start; false when there is nothing recorded.
bool StartPlayback(DummyState& dummy);

// The frame's inputs: player 1's own (nothing but Pause while player 1 steers
// the dummy for a recording) and the dummy's, from the options. `machine` is
// what both players' keys press this frame; `fight` the state before the frame.
FightInputs TrainingInputs(const TrainingOptions& options, DummyState& dummy,
                           const FightState& fight, const FightSlots& slots,
                           const FightInputs& machine);

// Whether the dummy guards this frame: it holds Block (all the time, or after
// a hit until the fight calms), unless player 2's keys, the computer or a
// recording steer it, or it lets a block it used play out.
bool DummyGuards(const TrainingOptions& options, const DummyState& dummy, const FightState& fight);

// Whether the fighter can act on its keys at its next turn: it stands or
// ducks, which is where the fight reads commands.
bool FighterIdle(const FighterState& fighter);

}  // namespace vdx
