// The menus of training: the training menu (one line per option: Up and Down
// choose a line, Left and Right change it, Punch or Escape closes it) and the
// pause menu of training (Escape), which stops the fight while it is open and
// shows the move lists. Both are steered by player 1's keys; neither is part
// of the fight, which does not step while one is open.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fight/fight_state.h"
#include "fight/training_dummy.h"
#include "game/game.h"
#include "input/player_input.h"

namespace vdx {

enum class MenuKey { None, Up, Down, Left, Right, Choose, Back };

// A key held repeats after kMenuRepeatDelay frames, then every kMenuRepeatEvery.
inline constexpr int kMenuRepeatDelay = 20;
inline constexpr int kMenuRepeatEvery = 6;

struct MenuKeys {
  std::uint8_t held = 0;  // the buttons of the frame before
  int heldFrames = 0;
};

// The menu key of this frame from player 1's buttons: a press, or a repeat.
MenuKey ReadMenuKey(MenuKeys& keys, PlayerInput player1);

// The keys held now (as last read) neither press nor repeat until let go: a
// menu that opens while a direction is held for walking does not move.
void SwallowHeldKeys(MenuKeys& keys);

enum class TrainingItem : std::uint8_t {
  Stance,
  Guard,
  Behaviour,
  Level,
  Playback,
  Health,
  Power,
  Reset,
  Inputs,
  FrameData,
  Damage,
  HitBoxes,
  Close
};
inline constexpr int kTrainingItems = 13;

// "Dummy: Crouch", "Guard: After the first hit", ...
std::string TrainingItemText(TrainingItem item, const TrainingOptions& options);

// Changes an option one step (`step` 1 or -1), round its values.
void ChangeTrainingOption(TrainingItem item, TrainingOptions& options, int step);

struct TrainingMenu {
  bool open = false;
  int selected = 0;  // a TrainingItem
};

// One frame of the open menu; closes it on Choose of "Close", or Back.
void StepTrainingMenu(TrainingMenu& menu, TrainingOptions& options, MenuKey key);

void DrawTrainingMenu(Game& game, const TrainingMenu& menu, const TrainingOptions& options);

enum class TrainingPauseItem : std::uint8_t { Continue, Menu, Reset, ExitToMenu, ExitGame };
inline constexpr std::array<std::string_view, 5> kTrainingPauseItems{
    "Continue", "Training Menu", "Reset", "Exit to Menu", "Exit Game"};

struct TrainingPause {
  bool open = false;
  int selected = 0;  // a TrainingPauseItem
};

// One frame of the open pause menu: what was chosen, if anything (Back is
// Continue).
std::optional<TrainingPauseItem> StepTrainingPause(TrainingPause& pause, MenuKey key);

void DrawTrainingPause(Game& game, const TrainingPause& pause, const FightSlots& slots);

}  // namespace vdx
