// Training: a fight without rounds against a dummy (player 2), on the fight's
// own step. A reset is a restore of the state saved as training began (then,
// when asked, both fighters are put in a corner); a recording is a list of
// the dummy's inputs. The training menu and the pause menu stop the fight
// while they are open; the read-outs only look at it.
#pragma once

#include <array>
#include <cstdint>

#include "fight/fight_state.h"
#include "fight/frame_data.h"
#include "fight/input_log.h"
#include "fight/training_dummy.h"
#include "game/game.h"
#include "input/frame_input.h"
#include "match/fight_loop.h"
#include "match/training_menu.h"

namespace vdx {

// The training keys pressed this frame (not held: one press, one use).
struct TrainingKeys {
  bool menu = false;    // Tab: the training menu opens or closes
  bool reset = false;   // Backspace: both fighters back, as set in the menu
  bool record = false;  // F7: a recording starts or stops
  bool play = false;    // F8: the recording plays from its start
};

// Reads the training keys from the machine; `held` remembers them between frames.
TrainingKeys ReadTrainingKeys(std::array<bool, 4>& held, const FrameInput& frame);

// A knocked-out fighter gets up this many frames later: training is reset.
inline constexpr int kResetAfterKnockOutFrames = 120;

struct TrainingSession {
  // `draw`: the fight is drawn, sounded and shown (false for tests of the rules).
  TrainingSession(Game& game, MatchSetup setup, bool draw);

  FightSession match;
  TrainingOptions options;
  DummyState dummy;
  FightState start;  // the state a reset goes back to
  FrameDataWatch watch;
  std::array<InputLog, 3> inputs;  // what each player pressed (0 unused)
  TrainingMenu menu;
  TrainingPause pause;
  MenuKeys menuKeys;
  int knockedOutFrames = 0;
  bool powerModeOn = false;  // training has held player 1 in the power mode
};

enum class TrainingEnd { Running, ToMenu, QuitGame };

// One frame of training on both players' keys as the machine reads them:
// the menus, or the fight with the dummy's inputs and training's rules. The
// picture is drawn and shown when the session draws and `show` asks.
TrainingEnd StepTraining(TrainingSession& session, const FightInputs& machine, TrainingKeys keys,
                         std::uint32_t machineTicks = 0, bool show = true);

// Back to the saved start, with the fighters where the options put them.
void ResetTraining(TrainingSession& session);

// Training on screen until the player leaves it.
void PlayTraining(Game& game, const MatchSetup& setup);

}  // namespace vdx
