#include "launcher/form_state.h"

#include <algorithm>

namespace vdxlaunch {
namespace {

constexpr int kLeftShift = 0x2A;
constexpr int kRightShift = 0x36;

std::string VolumeLabel(const char* what, bool withColon, int percent) {
  return std::string(what) + (withColon ? " : " : " ") + std::to_string(percent) + "%";
}

}  // namespace

FormState LoadForm(const FormSettings& settings, const KeyNames& keyNames) {
  FormState form;
  form.settings = settings;
  for (int i = 0; i < kKeyBoxCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    form.keyTexts[k] = KeyBoxText(keyNames, settings.KeyCodes[k]);
  }
  return form;
}

void ShowPanel(FormState& form, Panel panel) {
  form.panel = panel;
  form.FocusedKey.reset();
}

void PressVolumeButton(FormState& form, VolumeButton button) {
  int& music = form.settings.MusicVolumePct;
  int& effects = form.settings.EffectsVolumePct;
  switch (button) {
    case VolumeButton::AddMusic:
      if (music < 100) music += 10;
      break;
    case VolumeButton::SubMusic:
      if (music > 0) music -= 10;
      break;
    case VolumeButton::AddSound:
      if (effects < 100) effects += 10;
      break;
    case VolumeButton::SubSound:
      if (effects > 0) effects -= 10;
      break;
  }
  form.labelsAfterAddMusic = button == VolumeButton::AddMusic;
}

void StepDifficulty(FormState& form, int step) {
  form.settings.Difficulty =
      std::clamp(form.settings.Difficulty + step, kLowestLevel, kHighestLevel);
}

std::string DifficultyLabel(const FormState& form) {
  return "Computer Level " + std::to_string(form.settings.Difficulty) + " of " +
         std::to_string(kHighestLevel);
}

std::string MusicLabel(const FormState& form) {
  return VolumeLabel("Music Volume", form.labelsAfterAddMusic, form.settings.MusicVolumePct);
}

std::string EffectsLabel(const FormState& form) {
  return VolumeLabel("Effects Volume", form.labelsAfterAddMusic, form.settings.EffectsVolumePct);
}

void MoveMouse(FormState& form, std::optional<MenuLabel> overLabel, bool overBareForm) {
  if (overLabel)
    form.hoveredLabel = overLabel;
  else if (overBareForm)
    form.hoveredLabel.reset();
}

void CaptureKey(FormState& form, const vdx::platform::KeyboardState& keys, bool windowActive,
                const KeyNames& keyNames) {
  if (!windowActive || !form.FocusedKey) return;

  const bool tabDown = keys[kTabKey] != 0;
  const bool tabPressed = tabDown && !form.tabDown;
  form.tabDown = tabDown;

  for (int code = 1; code < static_cast<int>(keys.size()); ++code)
    if (keys[static_cast<std::size_t>(code)] != 0) {
      form.currentKey = code;
      break;
    }
  if (form.currentKey != form.previousKey && form.currentKey != kTabKey) {
    const auto box = static_cast<std::size_t>(*form.FocusedKey);
    form.settings.KeyCodes[box] = form.currentKey;
    form.keyTexts[box] = KeyBoxText(keyNames, form.currentKey);
  }
  form.previousKey = form.currentKey;

  if (tabPressed) {
    const bool back = keys[kLeftShift] != 0 || keys[kRightShift] != 0;
    form.FocusedKey = (*form.FocusedKey + (back ? kKeyBoxCount - 1 : 1)) % kKeyBoxCount;
  }
}

bool HasDuplicateBinding(const FormState& form) {
  for (int i = 0; i < kKeyBoxCount; ++i)
    for (int j = i + 1; j < kKeyBoxCount; ++j) {
      const auto a = static_cast<std::size_t>(i);
      const auto b = static_cast<std::size_t>(j);
      if (form.settings.KeyCodes[a] != 0 && form.settings.KeyCodes[b] != 0 &&
          form.keyTexts[a] == form.keyTexts[b])
        return true;
    }
  return false;
}

}  // namespace vdxlaunch
