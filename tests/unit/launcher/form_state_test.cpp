#include "launcher/form_state.h"

#include <gtest/gtest.h>

namespace vdxlaunch {
namespace {

using vdx::platform::KeyboardState;

constexpr int kW = 0x11;
constexpr int kA = 0x1E;
constexpr int kShift = 0x2A;

KeyboardState Held(std::initializer_list<int> codes) {
  KeyboardState keys{};
  for (const int c : codes)
    keys[static_cast<std::size_t>(c)] = 0x80;
  return keys;
}

TEST(FormState, VolumeButtonsStepByTenInsideTheirLimits) {
  struct Case {
    int before;
    VolumeButton button;
    int after;
  };
  for (const Case& c :
       {Case{100, VolumeButton::AddMusic, 100}, Case{95, VolumeButton::AddMusic, 105},
        Case{105, VolumeButton::AddMusic, 105}, Case{50, VolumeButton::AddMusic, 60},
        Case{0, VolumeButton::SubMusic, 0}, Case{5, VolumeButton::SubMusic, -5},
        Case{-5, VolumeButton::SubMusic, -5}, Case{100, VolumeButton::SubMusic, 90}}) {
    FormState music;
    music.settings.MusicVolumePct = c.before;
    PressVolumeButton(music, c.button);
    EXPECT_EQ(music.settings.MusicVolumePct, c.after) << c.before;
    EXPECT_EQ(music.settings.EffectsVolumePct, 100) << "the other volume stays";

    FormState effects;
    effects.settings.EffectsVolumePct = c.before;
    PressVolumeButton(effects, c.button == VolumeButton::AddMusic ? VolumeButton::AddSound
                                                                  : VolumeButton::SubSound);
    EXPECT_EQ(effects.settings.EffectsVolumePct, c.after) << c.before;
    EXPECT_EQ(effects.settings.MusicVolumePct, 100);
  }
}

TEST(FormState, TheLevelButtonsStepByOneFromOneToEight) {
  FormState form;
  EXPECT_EQ(DifficultyLabel(form), "Computer Level 4 of 8");
  for (int i = 0; i < 6; ++i) StepDifficulty(form, +1);
  EXPECT_EQ(form.settings.Difficulty, 8);
  StepDifficulty(form, -1);
  EXPECT_EQ(DifficultyLabel(form), "Computer Level 7 of 8");
  for (int i = 0; i < 9; ++i) StepDifficulty(form, -1);
  EXPECT_EQ(form.settings.Difficulty, 1);
}

TEST(FormState, OnlyTheMusicPlusWritesTheLabelsWithAColon) {
  FormSettings settings;
  settings.MusicVolumePct = 50;
  FormState form = LoadForm(settings, {});
  EXPECT_EQ(MusicLabel(form), "Music Volume 50%");
  EXPECT_EQ(EffectsLabel(form), "Effects Volume 100%");
  PressVolumeButton(form, VolumeButton::AddMusic);
  EXPECT_EQ(MusicLabel(form), "Music Volume : 60%");
  EXPECT_EQ(EffectsLabel(form), "Effects Volume : 100%");
  PressVolumeButton(form, VolumeButton::SubSound);
  EXPECT_EQ(MusicLabel(form), "Music Volume 60%");
  EXPECT_EQ(EffectsLabel(form), "Effects Volume 90%");
  PressVolumeButton(form, VolumeButton::AddMusic);
  PressVolumeButton(form, VolumeButton::AddSound);
  EXPECT_EQ(MusicLabel(form), "Music Volume 70%");
  PressVolumeButton(form, VolumeButton::AddMusic);
  PressVolumeButton(form, VolumeButton::SubMusic);
  EXPECT_EQ(MusicLabel(form), "Music Volume 70%");
}

TEST(FormState, MenuLabelsLightUpUnderTheMouseAndNotOverThePanel) {
  FormState form;
  EXPECT_FALSE(form.hoveredLabel);
  MoveMouse(form, MenuLabel::Start, false);
  EXPECT_EQ(form.hoveredLabel, MenuLabel::Start);
  MoveMouse(form, std::nullopt, false);  // over the panel
  EXPECT_EQ(form.hoveredLabel, MenuLabel::Start);
  MoveMouse(form, MenuLabel::Exit, false);
  EXPECT_EQ(form.hoveredLabel, MenuLabel::Exit);
  MoveMouse(form, std::nullopt, true);  // the bare form
  EXPECT_FALSE(form.hoveredLabel);
}

TEST(FormState, KeysAreCapturedOnlyIntoAFocusedBoxOfAnActiveWindow) {
  KeyNames names = ReadKeysTxt("11,W\n1E,A\n2A,Left Shift\n0F,Tab\n");
  FormState form = LoadForm({}, names);

  CaptureKey(form, Held({kW}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[0], 0) << "no box has the focus yet";
  CaptureKey(form, {}, true, names);

  form.FocusedKey = 4;
  CaptureKey(form, Held({kW}), false, names);
  EXPECT_EQ(form.settings.KeyCodes[4], 0) << "typed into another program";
  CaptureKey(form, {}, false, names);

  CaptureKey(form, Held({kW}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[4], kW);
  EXPECT_EQ(form.keyTexts[4], "W");

  // Held on, it does not bind again; the same key again, into another box, is
  // not taken either, until another key has been down in between.
  form.FocusedKey = 5;
  CaptureKey(form, Held({kW}), true, names);
  CaptureKey(form, {}, true, names);
  CaptureKey(form, Held({kW}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[5], 0);
  CaptureKey(form, Held({kA}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[5], kA);
  form.FocusedKey = 6;
  CaptureKey(form, Held({kW}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[6], kW);

  // Two keys down: the lower code counts.
  form.FocusedKey = 7;
  CaptureKey(form, Held({kShift, kA}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[7], kA);
}

TEST(FormState, TabIsNeverBoundAndMovesTheFocus) {
  KeyNames names = ReadKeysTxt("0F,Tab\n2A,Left Shift\n");
  FormState form = LoadForm({}, names);
  form.FocusedKey = 13;
  CaptureKey(form, Held({kTabKey}), true, names);
  EXPECT_EQ(form.FocusedKey, 0) << "on from the last box to the first";
  for (int i = 0; i < 5; ++i)
    CaptureKey(form, Held({kTabKey}), true, names);
  EXPECT_EQ(form.FocusedKey, 0) << "held, Tab moves once";
  EXPECT_EQ(form.settings.KeyCodes, FormSettings{}.KeyCodes) << "Tab is bound nowhere";
  CaptureKey(form, {}, true, names);
  CaptureKey(form, Held({kTabKey}), true, names);
  EXPECT_EQ(form.FocusedKey, 1);

  // Shift and Tab: Shift goes down first and is bound, as any key is; Tab then
  // moves back.
  CaptureKey(form, {}, true, names);
  CaptureKey(form, Held({kShift}), true, names);
  EXPECT_EQ(form.settings.KeyCodes[1], kShift);
  CaptureKey(form, Held({kShift, kTabKey}), true, names);
  EXPECT_EQ(form.FocusedKey, 0);
  EXPECT_EQ(form.settings.KeyCodes[0], 0);
}

TEST(FormState, ShowingAPanelTakesTheFocusFromTheKeyBoxes) {
  FormState form;
  ShowPanel(form, Panel::Keyboard);
  form.FocusedKey = 3;
  ShowPanel(form, Panel::Audio);
  EXPECT_EQ(form.panel, Panel::Audio);
  EXPECT_FALSE(form.FocusedKey);
}

TEST(FormState, TwoBoxesWithTheSameKeyAreADuplicate) {
  KeyNames names = ReadKeysTxt("11,W\n1E,A\n");
  FormSettings settings;
  settings.KeyCodes = {1, 2, 3, 4, kW, 6, 7, 8, 9, 10, 11, kA, 13, 14};
  FormState form = LoadForm(settings, names);
  EXPECT_FALSE(HasDuplicateBinding(form));
  form.FocusedKey = 12;  // player 2 Kick, bound to player 1's Punch key
  CaptureKey(form, Held({kW}), true, names);
  EXPECT_TRUE(HasDuplicateBinding(form));

  // Keys without a name differ by their codes; boxes without a key are no pair.
  settings.KeyCodes = {0x50, 0x51, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  form = LoadForm(settings, names);
  EXPECT_EQ(form.keyTexts[0], "Key 0x50");
  EXPECT_EQ(form.keyTexts[2], "(none)");
  EXPECT_FALSE(HasDuplicateBinding(form));
  settings.KeyCodes[13] = 0x51;
  EXPECT_TRUE(HasDuplicateBinding(LoadForm(settings, names)));
}

}  // namespace
}  // namespace vdxlaunch
