// What training draws over the fight, each part switched by the options: the
// input display of both players (their last inputs with the frames each was
// held, and the key sequence the special-move matcher sees), the frame data
// of both fighters' actions and of the last blow, its damage and the combo's,
// the hit boxes, and a line of the training keys with the recording's state.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "fight/fight_state.h"
#include "fight/frame_data.h"
#include "fight/input_log.h"
#include "fight/training_dummy.h"
#include "game/game.h"

namespace vdx {

struct TrainingReadouts {
  const TrainingOptions& options;
  const DummyState& dummy;
  const FrameDataWatch& watch;
  const std::array<InputLog, 3>& inputs;  // players 1 and 2 (0 unused)
};

void DrawTrainingOverlay(Game& game, const FightState& fight, const FightSlots& slots,
                         const TrainingReadouts& readouts);

// The lines of the frame data read-out, as drawn: one for each fighter's
// action, then the last blow's advantage and damage when there was one.
std::vector<std::string> FrameDataLines(const FightState& fight, const FightSlots& slots,
                                        const TrainingReadouts& readouts);

}  // namespace vdx
