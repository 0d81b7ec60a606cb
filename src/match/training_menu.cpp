#include "match/training_menu.h"

#include <algorithm>
#include <limits>

#include "graphics/system_text.h"
#include "match/move_list.h"
#include "match/pause_menu.h"
#include "match/tool_text.h"

namespace vdx {
namespace {

constexpr std::uint8_t kSteering = kButtonUp | kButtonDown | kButtonLeft | kButtonRight |
                                   kButtonPunch | kButtonKick | kButtonPause;

MenuKey KeyOf(std::uint8_t buttons) {
  if (buttons & kButtonPause) return MenuKey::Back;
  if (buttons & kButtonKick) return MenuKey::Back;
  if (buttons & kButtonPunch) return MenuKey::Choose;
  if (buttons & kButtonUp) return MenuKey::Up;
  if (buttons & kButtonDown) return MenuKey::Down;
  if (buttons & kButtonLeft) return MenuKey::Left;
  if (buttons & kButtonRight) return MenuKey::Right;
  return MenuKey::None;
}

template <std::size_t N>
std::string_view Named(const std::array<std::string_view, N>& names, std::uint8_t value) {
  return value < N ? names[value] : "?";
}

constexpr std::array<std::string_view, 4> kStances{"Stand", "Crouch", "Jump", "Player 2's keys"};
constexpr std::array<std::string_view, 3> kGuards{"None", "All", "After the first hit"};
constexpr std::array<std::string_view, 3> kBehaviours{"Still", "Computer", "Recording"};
constexpr std::array<std::string_view, 3> kResetPlaces{"Start positions", "Left corner",
                                                       "Right corner"};

template <typename E>
void Cycle(E& value, int count, int step) {
  value = static_cast<E>((static_cast<int>(value) + step + count) % count);
}

std::string OnOff(bool on) {
  return on ? "On" : "Off";
}

// Where the training menu stands.
constexpr int kMenuLeft = 170, kMenuTop = 70, kMenuRight = 470;
constexpr int kLineHeight = 22;
// The pause menu of training, and its lines.
constexpr int kPauseLeft = 210, kPauseTop = 150, kPauseRight = 430;
constexpr int kPauseLineHeight = 30;

}  // namespace

MenuKey ReadMenuKey(MenuKeys& keys, PlayerInput player1) {
  const std::uint8_t now = player1.buttons & kSteering;
  const std::uint8_t pressed = now & static_cast<std::uint8_t>(~keys.held);
  keys.heldFrames = now == keys.held ? keys.heldFrames + 1 : 0;
  keys.held = now;
  if (pressed != 0) return KeyOf(pressed);
  // Only the directions repeat: a held Punch must not choose twice.
  const std::uint8_t directions = now & (kButtonUp | kButtonDown | kButtonLeft | kButtonRight);
  if (directions != 0 && keys.heldFrames >= kMenuRepeatDelay &&
      (keys.heldFrames - kMenuRepeatDelay) % kMenuRepeatEvery == 0)
    return KeyOf(directions);
  return MenuKey::None;
}

void SwallowHeldKeys(MenuKeys& keys) {
  // Far below the repeat's delay; a change of the keys held starts the count again.
  keys.heldFrames = std::numeric_limits<int>::min() / 2;
}

std::string TrainingItemText(TrainingItem item, const TrainingOptions& o) {
  switch (item) {
    case TrainingItem::Stance:
      return "Dummy: " + std::string(Named(kStances, static_cast<std::uint8_t>(o.stance)));
    case TrainingItem::Guard:
      return "Guard: " + std::string(Named(kGuards, static_cast<std::uint8_t>(o.guard)));
    case TrainingItem::Behaviour:
      return "Behaviour: " +
             std::string(Named(kBehaviours, static_cast<std::uint8_t>(o.behaviour)));
    case TrainingItem::Level:
      return "Computer level: " + std::to_string(o.computerLevel) + " of " +
             std::to_string(kHighestDifficulty);
    case TrainingItem::Playback:
      return std::string("Playback: ") + (o.loopPlayback ? "Looped" : "Once");
    case TrainingItem::Health:
      return std::string("Health: ") +
             (o.refillHealth ? "Refilled after a combo" : "As in a match");
    case TrainingItem::Power:
      return "Power mode: " + OnOff(o.powerMode);
    case TrainingItem::Reset:
      return "Reset to: " +
             std::string(Named(kResetPlaces, static_cast<std::uint8_t>(o.resetPlace)));
    case TrainingItem::Inputs:
      return "Input display: " + OnOff(o.showInputs);
    case TrainingItem::FrameData:
      return "Frame data: " + OnOff(o.showFrameData);
    case TrainingItem::Damage:
      return "Damage: " + OnOff(o.showDamage);
    case TrainingItem::HitBoxes:
      return "Hit boxes: " + OnOff(o.showHitBoxes);
    case TrainingItem::Close:
      return "Close";
  }
  return {};
}

void ChangeTrainingOption(TrainingItem item, TrainingOptions& o, int step) {
  switch (item) {
    case TrainingItem::Stance:
      Cycle(o.stance, static_cast<int>(kStances.size()), step);
      break;
    case TrainingItem::Guard:
      Cycle(o.guard, static_cast<int>(kGuards.size()), step);
      break;
    case TrainingItem::Behaviour:
      Cycle(o.behaviour, static_cast<int>(kBehaviours.size()), step);
      break;
    case TrainingItem::Level: {
      const int levels = kHighestDifficulty - kLowestDifficulty + 1;
      o.computerLevel = static_cast<Integer>(
          (o.computerLevel - kLowestDifficulty + step + levels) % levels + kLowestDifficulty);
      break;
    }
    case TrainingItem::Playback:
      o.loopPlayback = !o.loopPlayback;
      break;
    case TrainingItem::Health:
      o.refillHealth = !o.refillHealth;
      break;
    case TrainingItem::Power:
      o.powerMode = !o.powerMode;
      break;
    case TrainingItem::Reset:
      Cycle(o.resetPlace, static_cast<int>(kResetPlaces.size()), step);
      break;
    case TrainingItem::Inputs:
      o.showInputs = !o.showInputs;
      break;
    case TrainingItem::FrameData:
      o.showFrameData = !o.showFrameData;
      break;
    case TrainingItem::Damage:
      o.showDamage = !o.showDamage;
      break;
    case TrainingItem::HitBoxes:
      o.showHitBoxes = !o.showHitBoxes;
      break;
    case TrainingItem::Close:
      break;
  }
}

void StepTrainingMenu(TrainingMenu& menu, TrainingOptions& options, MenuKey key) {
  const auto item = static_cast<TrainingItem>(menu.selected);
  switch (key) {
    case MenuKey::Up:
      menu.selected = std::max(0, menu.selected - 1);
      break;
    case MenuKey::Down:
      menu.selected = std::min(kTrainingItems - 1, menu.selected + 1);
      break;
    case MenuKey::Left:
      ChangeTrainingOption(item, options, -1);
      break;
    case MenuKey::Right:
      ChangeTrainingOption(item, options, 1);
      break;
    case MenuKey::Choose:
      if (item == TrainingItem::Close)
        menu.open = false;
      else
        ChangeTrainingOption(item, options, 1);
      break;
    case MenuKey::Back:
      menu.open = false;
      break;
    case MenuKey::None:
      break;
  }
}

void DrawTrainingMenu(Game& game, const TrainingMenu& menu, const TrainingOptions& options) {
  Surface& target = game.display.backBuffer;
  const int bottom = kMenuTop + 44 + kTrainingItems * kLineHeight;
  DrawPausePanel(target, kMenuLeft, kMenuTop, kMenuRight, bottom);
  DrawSystemText(game.platform, target, ToolFont(12, true), "Training", kMenuLeft + 12,
                 kMenuTop + 8);
  const auto [plain, chosen] = std::pair<Long, Long>{kToolInk, 0x000000D0};
  for (int i = 0; i < kTrainingItems; ++i) {
    const cFont font = ToolFont(11, i == menu.selected, i == menu.selected ? chosen : plain);
    DrawSystemText(game.platform, target, font,
                   (i == menu.selected ? "\u25b6 " : "   ") +
                       TrainingItemText(static_cast<TrainingItem>(i), options),
                   kMenuLeft + 12, kMenuTop + 36 + i * kLineHeight);
  }
}

std::optional<TrainingPauseItem> StepTrainingPause(TrainingPause& pause, MenuKey key) {
  const int last = static_cast<int>(kTrainingPauseItems.size()) - 1;
  switch (key) {
    case MenuKey::Up:
      pause.selected = std::max(0, pause.selected - 1);
      break;
    case MenuKey::Down:
      pause.selected = std::min(last, pause.selected + 1);
      break;
    case MenuKey::Choose:
      pause.open = false;
      return static_cast<TrainingPauseItem>(pause.selected);
    case MenuKey::Back:
      pause.open = false;
      return TrainingPauseItem::Continue;
    default:
      break;
  }
  return std::nullopt;
}

void DrawTrainingPause(Game& game, const TrainingPause& pause, const FightSlots& slots) {
  DrawMoveLists(game, slots);
  Surface& target = game.display.backBuffer;
  const int items = static_cast<int>(kTrainingPauseItems.size());
  DrawPausePanel(target, kPauseLeft, kPauseTop, kPauseRight,
                 kPauseTop + 14 + items * kPauseLineHeight);
  cFont font = game.settings.MenuFont;
  const auto [plain, chosen] = PauseMenuColours(game.settings);
  for (int i = 0; i < items; ++i) {
    font.FontColor = i == pause.selected ? chosen : plain;
    DrawSystemText(game.platform, target, font, kTrainingPauseItems[static_cast<std::size_t>(i)],
                   kPauseLeft + 10, kPauseTop + 8 + i * kPauseLineHeight);
  }
}

}  // namespace vdx
