#include "launcher/form_settings.h"

#include <gtest/gtest.h>

namespace vdxlaunch {
namespace {

TEST(FormSettings, ReadsTheVolumesTheControllerAndBothPlayersKeys) {
  const GameXmlSettings g = ReadFormSettings(
      "<?xml version=\"1.0\"?>\n"
      "<Game MusicVolume=\"&amp;H32\" SoundVolume=\"105\" Joystick=\"-1\">\n"
      "  <Menu><Player1Keys Up=\"99\"/></Menu>\n"  // deeper down: not the bindings
      "  <Player1Keys Up=\"200\" Down=\"208\" Backword=\"203\" Forward=\"205\" Punch=\"30\" "
      "Kick=\"31\" Block=\"32\"/>\n"
      "  <Player2Keys Up=\"23\" Down=\"lots\" Backword=\"36\"/>\n"
      "  <Player2Keys Forward=\"38\" Block=\"18\"/>\n"
      "</Game>\n");
  ASSERT_TRUE(g.readable) << g.problem;
  EXPECT_EQ(g.settings.MusicVolumePct, 50) << "&H32, as the game reads numbers";
  EXPECT_EQ(g.settings.EffectsVolumePct, 105) << "shown as it stands";
  EXPECT_TRUE(g.settings.JoystickOn);
  const std::array<int, kKeyBoxCount> keys = {200, 208, 203, 205, 30, 31, 32,
                                              23,  0,   36,  38,  0,  0,  18};
  EXPECT_EQ(g.settings.KeyCodes, keys)
      << "an unreadable Down stays 0; the second Player2Keys adds to the first";
}

TEST(FormSettings, DefaultsWhereTheFileSaysNothing) {
  const GameXmlSettings g = ReadFormSettings("<Game Joystick=\"perhaps\"/>");
  ASSERT_TRUE(g.readable);
  EXPECT_EQ(g.settings, FormSettings{}) << "100 %, 100 %, no controller, no keys";
  EXPECT_EQ(g.settings.MusicVolumePct, 100);
  EXPECT_EQ(g.settings.EffectsVolumePct, 100);
}

TEST(FormSettings, TheComputersLevelIsHeldToOneToEight) {
  EXPECT_EQ(ReadFormSettings("<Game/>").settings.Difficulty, 4) << "absent: the profiles' level";
  EXPECT_EQ(ReadFormSettings("<Game Difficulty=\"7\"/>").settings.Difficulty, 7);
  EXPECT_EQ(ReadFormSettings("<Game Difficulty=\"12\"/>").settings.Difficulty, 8);
  EXPECT_EQ(ReadFormSettings("<Game Difficulty=\"-2\"/>").settings.Difficulty, 1);
  EXPECT_EQ(ReadFormSettings("<Game Difficulty=\"hard\"/>").settings.Difficulty, 4);
  FormSettings loaded, now;
  now.Difficulty = 6;
  now.KeyCodes[0] = 200;
  const std::vector<AttributeEdit> expected = {{"", "Difficulty", "6"},
                                               {"Player1Keys", "Up", "200"}};
  EXPECT_EQ(ChangedAttributes(loaded, now), expected);
}

TEST(FormSettings, SaysWhyAFileCannotBeRead) {
  const GameXmlSettings broken = ReadFormSettings("<Game>\n  <Player1Keys Up=\"1\">\n</Game>\n");
  EXPECT_FALSE(broken.readable);
  EXPECT_TRUE(broken.problem.starts_with("Game.xml line 3: the file is not well-formed XML"))
      << broken.problem;
  EXPECT_FALSE(ReadFormSettings("").readable);
  EXPECT_FALSE(ReadFormSettings("<!-- only a comment -->").readable);
}

TEST(FormSettings, ListsOnlyWhatThePlayerChanged) {
  FormSettings loaded;
  loaded.KeyCodes = {200, 208, 203, 205, 30, 31, 32, 23, 37, 36, 38, 16, 17, 18};
  EXPECT_TRUE(ChangedAttributes(loaded, loaded).empty());

  FormSettings now = loaded;
  now.MusicVolumePct = 90;
  now.JoystickOn = true;
  now.KeyCodes[2] = 0x1E;   // player 1 Backward
  now.KeyCodes[13] = 0x39;  // player 2 Block
  const std::vector<AttributeEdit> expected = {
      {"", "MusicVolume", "90"},
      {"", "Joystick", "True"},
      {"Player1Keys", "Backword", "30"},
      {"Player2Keys", "Block", "57"},
  };
  EXPECT_EQ(ChangedAttributes(loaded, now), expected);

  now = loaded;
  loaded.JoystickOn = true;
  now.EffectsVolumePct = -5;
  const std::vector<AttributeEdit> off = {{"", "SoundVolume", "-5"}, {"", "Joystick", "False"}};
  EXPECT_EQ(ChangedAttributes(loaded, now), off);
}

}  // namespace
}  // namespace vdxlaunch
