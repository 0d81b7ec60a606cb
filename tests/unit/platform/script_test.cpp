#include "platform/headless/script.h"

#include <gtest/gtest.h>

#include <variant>

#include "unit/test_folder.h"

namespace vdx::platform {
namespace {

Script Parsed(std::string_view text) {
  auto result = ParseScript(text);
  if (auto* error = std::get_if<ScriptError>(&result)) ADD_FAILURE() << error->message;
  return std::get_if<Script>(&result) ? std::get<Script>(result) : Script{};
}

std::string ErrorOf(std::string_view text) {
  auto result = ParseScript(text);
  auto* error = std::get_if<ScriptError>(&result);
  return error ? error->message : "(no error)";
}

TEST(Script, LaysCommandsOnATimeline) {
  const Script s = Parsed(
      "# start\n"
      "wait 500\n"
      "press Left   # hold it\n"
      "\n"
      "tap A\n"
      "wait 50\r\n"
      "release left\n"
      "screenshot out/shot one.png\n"
      "quit\n");
  ASSERT_EQ(s.events.size(), 6u);
  EXPECT_EQ(s.events[0].kind, ScriptEvent::Kind::Press);
  EXPECT_EQ(s.events[0].atMs, 500u);
  EXPECT_EQ(s.events[0].key, key::Left);
  EXPECT_EQ(s.events[0].line, 3);
  EXPECT_EQ(s.events[1].kind, ScriptEvent::Kind::Press);
  EXPECT_EQ(s.events[1].key, key::A);
  EXPECT_EQ(s.events[2].kind, ScriptEvent::Kind::Release);
  EXPECT_EQ(s.events[2].atMs, 600u) << "a tap holds the key for 100 ms";
  EXPECT_EQ(s.events[3].kind, ScriptEvent::Kind::Release);
  EXPECT_EQ(s.events[3].atMs, 650u);
  EXPECT_EQ(s.events[4].kind, ScriptEvent::Kind::Screenshot);
  EXPECT_EQ(s.events[4].path, "out/shot one.png");
  EXPECT_EQ(s.events[5].kind, ScriptEvent::Kind::Quit);
  EXPECT_EQ(s.endMs, 650u);
}

TEST(Script, TakesScreenshotsAsPngOrBmpInAnyLetterCase) {
  const Script s = Parsed("screenshot a.png\nscreenshot B.BMP\nscreenshot c.Png\n");
  ASSERT_EQ(s.events.size(), 3u);
  EXPECT_EQ(s.events[1].path, "B.BMP");
}

TEST(Script, NamesTheLineOfAMistake) {
  EXPECT_EQ(
      ErrorOf("wait 10\njump\n"),
      "line 2: unknown command \"jump\" (known: wait, press, release, tap, screenshot, state, "
      "quit, move, click, focus)");
  EXPECT_EQ(ErrorOf("press Banana"), "line 1: unknown key \"Banana\"");
  EXPECT_EQ(ErrorOf("\n\nwait soon"), "line 3: \"soon\" is not a number of milliseconds");
  EXPECT_EQ(ErrorOf("wait -5"), "line 1: \"-5\" is not a number of milliseconds");
  EXPECT_EQ(ErrorOf("tap"), "line 1: \"tap\" needs a key");
  EXPECT_EQ(ErrorOf("screenshot"), "line 1: \"screenshot\" needs a file name");
  EXPECT_EQ(ErrorOf("wait 5\nscreenshot x.bmp\nscreenshot shot.jpg"),
            "line 3: cannot write \"shot.jpg\": a screenshot's name ends in .png or .bmp");
  EXPECT_EQ(ErrorOf("screenshot shot"),
            "line 1: cannot write \"shot\": a screenshot's name ends in .png or .bmp");
  EXPECT_EQ(ErrorOf("quit now"), "line 1: \"quit\" takes nothing after it");
  EXPECT_EQ(ErrorOf("wait 4294967295\nwait 1"), "line 2: the script runs past 49 days");
  EXPECT_EQ(Parsed("").events.size(), 0u);
  EXPECT_EQ(ErrorOf("click"), "line 1: \"click\" needs a point X Y of the frame");
  EXPECT_EQ(ErrorOf("click 640 10"),
            "line 1: \"640 10\" is not a point X Y inside the 640 x 480 frame");
  EXPECT_EQ(ErrorOf("move 10 480"),
            "line 1: \"10 480\" is not a point X Y inside the 640 x 480 frame");
  EXPECT_EQ(ErrorOf("move -1 5"), "line 1: \"-1 5\" is not a point X Y inside the 640 x 480 frame");
  EXPECT_EQ(ErrorOf("click 12"), "line 1: \"12\" is not a point X Y inside the 640 x 480 frame");
  EXPECT_EQ(ErrorOf("click 1 2 3"),
            "line 1: \"1 2 3\" is not a point X Y inside the 640 x 480 frame");
  EXPECT_EQ(ErrorOf("focus"), "line 1: \"focus\" needs on or off");
  EXPECT_EQ(ErrorOf("focus maybe"), "line 1: \"focus\" needs on or off");
}

TEST(Script, AFileThatCannotBeReadOrParsedIsNamed) {
  vdx::testing::TestFolder folder;
  const std::string good = folder.write("good.txt", "wait 5\nquit\n").string();
  const std::string bad = folder.write("bad.txt", "wait 5\nfly\n").string();
  auto read = ReadScriptFile(good);
  ASSERT_TRUE(std::holds_alternative<Script>(read));
  EXPECT_EQ(std::get<Script>(read).events.size(), 1u);
  read = ReadScriptFile(bad);
  ASSERT_TRUE(std::holds_alternative<ScriptError>(read));
  EXPECT_EQ(std::get<ScriptError>(read).message,
            bad +
                " line 2: unknown command \"fly\" (known: wait, press, release, tap, "
                "screenshot, state, quit, move, click, focus)");
  read = ReadScriptFile(good + ".missing");
  ASSERT_TRUE(std::holds_alternative<ScriptError>(read));
  EXPECT_EQ(std::get<ScriptError>(read).message, "cannot read the script " + good + ".missing");
}

TEST(Script, MovesAndClicksTheMouseAndTakesTheFocus) {
  const Script s = Parsed(
      "move 5 6\n"
      "click 639 479\n"
      "focus off\n"
      "click 0 0\n"
      "focus on\n");
  ASSERT_EQ(s.events.size(), 7u);
  EXPECT_EQ(s.events[0].kind, ScriptEvent::Kind::MouseMove);
  EXPECT_EQ(s.events[0].x, 5);
  EXPECT_EQ(s.events[0].y, 6);
  EXPECT_EQ(s.events[1].kind, ScriptEvent::Kind::MouseDown);
  EXPECT_EQ(s.events[1].atMs, 0u);
  EXPECT_EQ(s.events[1].x, 639);
  EXPECT_EQ(s.events[1].y, 479);
  EXPECT_EQ(s.events[2].kind, ScriptEvent::Kind::MouseUp);
  EXPECT_EQ(s.events[2].atMs, 100u) << "a click holds the button for 100 ms";
  EXPECT_EQ(s.events[3].kind, ScriptEvent::Kind::Focus);
  EXPECT_FALSE(s.events[3].on);
  EXPECT_EQ(s.events[3].atMs, 200u) << "and rests 100 ms after the release";
  EXPECT_EQ(s.events[4].kind, ScriptEvent::Kind::MouseDown);
  EXPECT_EQ(s.events[4].atMs, 200u);
  EXPECT_EQ(s.events[6].kind, ScriptEvent::Kind::Focus);
  EXPECT_TRUE(s.events[6].on);
  EXPECT_EQ(s.events[6].atMs, 400u);
  EXPECT_EQ(s.endMs, 400u);
}

}  // namespace
}  // namespace vdx::platform
