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
  PollInput(ReadFrameInput(p, 0), one, two, false, input);
  EXPECT_EQ(input.HeldCommand[1], "R") << "facing right, right is forward";
  input.Facing[1] = true;
  PollInput(ReadFrameInput(p, 0), one, two, false, input);
  EXPECT_EQ(input.HeldCommand[1], "L") << "facing left, right is back";
  p.setKey(205, false);
  p.setKey(1, true);   // Escape
  p.setKey(30, true);  // punch
  p.setKey(16, true);  // player 2's punch
  PollInput(ReadFrameInput(p, 0), one, two, false, input);
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
  PollInput(ReadFrameInput(p, p.controllerCount()), Arrows(), Arrows(), true, input);
  EXPECT_EQ(input.HeldCommand[1], "UKLP") << "keyboard letters, then the controller's";
  EXPECT_EQ(input.HeldCommand[2], "UK") << "one controller serves player 1 only";
  PollInput(ReadFrameInput(p, p.controllerCount()), Arrows(), Arrows(), false, input);
  EXPECT_EQ(input.HeldCommand[1], "UK") << "controllers off in the settings";
  EXPECT_EQ(ControllerLetters({4000, 4000, {}}, false), "");
  EXPECT_EQ(ControllerLetters({6001, 3999, {}}, false), "RU");
  EXPECT_EQ(ControllerLetters({6001, 3999, {}}, true), "LU");
}

TEST(FrameInput, OneReadOfTheMachineHoldsForTheWholePass) {
  platform::HeadlessPlatform p;
  platform::ControllerState first, second, third;
  first.x = 0;
  second.y = 10000;
  third.buttons[0] = 0x80;
  p.setControllers({first, second, third});
  p.setKey(30, true);
  const FrameInput frame = ReadFrameInput(p, p.controllerCount());
  EXPECT_EQ(frame.ticks, p.ticks());
  // What happens after the read does not reach this pass.
  p.setKey(30, false);
  p.setKey(31, true);
  p.advance(50);
  EXPECT_NE(frame.keys[30], 0);
  EXPECT_EQ(frame.keys[31], 0);
  EXPECT_EQ(p.ticks() - frame.ticks, 50u);
  ASSERT_TRUE(frame.controllers[0] && frame.controllers[1]);
  EXPECT_EQ(frame.controllers[0]->x, 0);
  EXPECT_EQ(frame.controllers[1]->y, 10000);
  InputState input;
  PollInput(frame, Arrows(), Arrows(), true, input);
  EXPECT_EQ(input.HeldCommand[1], "PL") << "the punch held at the read, then the stick";
  EXPECT_EQ(input.HeldCommand[2], "PD") << "the third controller serves nobody";
  const FrameInput none = ReadFrameInput(p, 0);
  EXPECT_FALSE(none.controllers[0] || none.controllers[1]) << "no controllers counted, none read";
}

}  // namespace
}  // namespace vdx
