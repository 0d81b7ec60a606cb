#include "input/poll_input.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace vdx {
namespace {

cKeys Arrows() {
  cKeys k;
  k.Up = 200;
  k.Down = 208;
  k.Backward = 203;
  k.Forward = 205;
  k.Punch = 30;
  k.Kick = 31;
  k.Block = 32;
  return k;
}

TEST(PollInput, KeysBecomeTheFightersLetters) {
  platform::HeadlessPlatform p;
  InputState input;
  const cKeys one = Arrows();
  cKeys two;
  two.Punch = 16;
  p.setKey(205, true);  // the right key
  PollInput(p, one, two, false, 0, input);
  EXPECT_EQ(input.HeldCommand[1], "R") << "facing right, right is forward";
  input.Facing[1] = true;
  PollInput(p, one, two, false, 0, input);
  EXPECT_EQ(input.HeldCommand[1], "L") << "facing left, right is back";
  p.setKey(205, false);
  p.setKey(1, true);   // Escape
  p.setKey(30, true);  // punch
  p.setKey(16, true);  // player 2's punch
  PollInput(p, one, two, false, 0, input);
  EXPECT_EQ(input.HeldCommand[1], "EP");
  EXPECT_EQ(input.HeldCommand[2], "P") << "player 2 has no E";
}

TEST(PollInput, ControllersAddTheirLettersAfterTheKeys) {
  platform::HeadlessPlatform p;
  InputState input;
  platform::ControllerState pad;
  pad.x = 3999;
  pad.y = 6000;
  pad.buttons[0] = 0x80;
  p.setControllers({pad});
  p.setKey(200, true);
  p.setKey(31, true);
  PollInput(p, Arrows(), Arrows(), true, p.controllerCount(), input);
  EXPECT_EQ(input.HeldCommand[1], "UKLP") << "keyboard letters, then the controller's";
  EXPECT_EQ(input.HeldCommand[2], "UK") << "one controller serves player 1 only";
  PollInput(p, Arrows(), Arrows(), false, p.controllerCount(), input);
  EXPECT_EQ(input.HeldCommand[1], "UK") << "controllers off in the settings";
  EXPECT_EQ(ControllerLetters({4000, 4000, {}}, false), "");
  EXPECT_EQ(ControllerLetters({6001, 3999, {}}, false), "RU");
  EXPECT_EQ(ControllerLetters({6001, 3999, {}}, true), "LU");
}

}  // namespace
}  // namespace vdx
