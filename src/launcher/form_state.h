// The settings form's state and its rules: the panels, the volume buttons and
// their labels, key capture into the focused key box, and the check for two
// boxes bound to one key. The drawing is in form_view; these are plain rules.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "launcher/form_settings.h"
#include "launcher/key_names.h"
#include "platform/platform.h"

namespace vdxlaunch {

enum class Panel { Main, Keyboard, Audio, Gamepad };
enum class MenuLabel { Keyboard, Audio, Gamepad, Start, Exit };
inline constexpr int kMenuLabelCount = 5;
enum class VolumeButton { SubMusic, AddMusic, SubSound, AddSound };

struct FormState {
  FormSettings settings;   // what EXIT and START save
  bool ShowFpsOn = false;  // the frame-rate box: passed to the game, never saved
  // The key box with the focus: keys are captured into it. None until the
  // player clicks a box, and none again after a click elsewhere.
  std::optional<int> FocusedKey;
  int currentKey = 0;    // the lowest key down at the last capture; kept while none is down
  int previousKey = 0;   // the current key of the capture before
  bool tabDown = false;  // Tab was down at the last capture
  Panel panel = Panel::Main;
  bool labelsAfterAddMusic = false;                // the volume labels as the music "+" writes them
  std::optional<MenuLabel> hoveredLabel;           // drawn white; the others light red
  std::array<std::string, kKeyBoxCount> keyTexts;  // what each key box shows
};

// The form as it opens on the settings read from Game.xml.
FormState LoadForm(const FormSettings& settings, const KeyNames& keyNames);

// Shows one panel; a key box that had the focus loses it.
void ShowPanel(FormState& form, Panel panel);

// "+" adds 10 while the volume is below 100 (so 95 becomes 105); "-" takes 10
// away while it is above 0.
void PressVolumeButton(FormState& form, VolumeButton button);

// "-" and "+" of the computer's level: one level down or up, within 1..8.
void StepDifficulty(FormState& form, int step);
// "Computer Level 4 of 8".
std::string DifficultyLabel(const FormState& form);

// "Music Volume 80%", or "Music Volume : 80%" after the music "+"; the same
// for "Effects Volume".
std::string MusicLabel(const FormState& form);
std::string EffectsLabel(const FormState& form);

// The mouse moved: over a menu label, that label turns white and the others
// light red; over the bare form, all turn light red; over a panel nothing
// changes.
void MoveMouse(FormState& form, std::optional<MenuLabel> overLabel, bool overBareForm);

inline constexpr int kTabKey = 0x0F;

// One capture pass, once a frame, only while the window has the keyboard
// focus and a key box has the focus. The lowest key code in `keys` (held now,
// or pressed since the pass before) becomes the current key (none: it stays
// what it was). A current key other than Tab that differs from the one before
// is bound to the focused box, so holding a key does not repeat it. Tab (with
// Shift: backwards) moves the focus on to the next key box.
void CaptureKey(FormState& form, const vdx::platform::KeyboardState& keys, bool windowActive,
                const KeyNames& keyNames);

// True when two key boxes with a key show the same text.
bool HasDuplicateBinding(const FormState& form);

}  // namespace vdxlaunch
