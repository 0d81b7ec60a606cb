#include "platform/headless/script.h"

#include <gtest/gtest.h>

#include <variant>

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
      "line 2: unknown command \"jump\" (known: wait, press, release, tap, screenshot, state, quit)");
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
}

}  // namespace
}  // namespace vdx::platform
