// Start-up run whole on the headless platform.
#include <gtest/gtest.h>

#include "game/fatal_error.h"
#include "graphics/surface.h"
#include "platform/headless/headless_platform.h"
#include "startup/main_routine.h"
#include "unit/sound_samples.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

class Startup : public ::testing::Test {
 protected:
  Startup() : game(platform, folder.path()) {
    folder.write("Game.xml", R"(<Game Name="Test Title" MusicVolume="40"/>)");
    folder.write("Stages/Music/menu.ogg", testing::ShortOgg());
    // ai.xml and story.xml are there, so that they are not among the problems.
    folder.write("ai.xml", "<AIProfiles/>");
    folder.write("story.xml", "<Stories/>");
    platform.requestCloseAfter(200);
  }

  // Runs Main and closes the window after 200 ms of game time.
  int run(const char* commandLine) { return Main(game, commandLine); }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
};

TEST_F(Startup, WindowedStartLogsTheMasksAndRunsUntilClosed) {
  EXPECT_EQ(run("1"), 0);
  EXPECT_EQ(game.FullScreen, 0);
  EXPECT_EQ(platform.caption(), "Test Title");
  EXPECT_EQ(game.settings.MusicVolume, 40);
  EXPECT_TRUE(game.QuitRequested);
  EXPECT_TRUE(platform.cursorVisible());
  const std::string log = folder.read("log.txt");
  EXPECT_TRUE(log.starts_with("\"Red mask 16711680 Green Mask 65280 Blue Mask 255\"\r\n")) << log;
  EXPECT_NE(log.find("\"\\VDXFont.bmp (the game): missing\"\r\n"), std::string::npos)
      << "the folder's problems follow the display's records";
  const std::string menuTune = (folder.path() / "Stages" / "Music" / "menu.ogg").string();
  EXPECT_EQ(platform.audioCalls(),
            (std::vector<std::string>{"openAudio", "stopMusic", "playMusic " + menuTune,
                                      "setMusicVolume 40", "stopMusic", "closeAudio"}))
      << "the menu's tune at the volume of the settings; closing the window closes the player";
  EXPECT_GE(platform.framesPresented(), 1) << "the menu is on screen";
  EXPECT_LE(platform.framesPresented(), 3) << "at most 10 menu frames a second";
  EXPECT_TRUE(platform.messageBoxes().empty());
}

// Without a sound device the game starts all the same, says so once, and
// plays silent.
TEST_F(Startup, WithoutASoundDeviceTheGameStartsSilentAndSaysSoOnce) {
  platform.failures().audio = true;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(run("1"), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(platform.messageBoxes().empty());
  EXPECT_GE(platform.framesPresented(), 1) << "the menu is on screen";
  const std::string line = "no sound: no audio device is available; the game plays without it";
  EXPECT_EQ(said.find("vdx: " + line), said.rfind("vdx: " + line)) << said;
  EXPECT_NE(said.find("vdx: " + line), std::string::npos) << said;
  const std::string log = folder.read("log.txt");
  EXPECT_NE(log.find(line), std::string::npos) << log;
}

TEST_F(Startup, FullScreenStartHidesTheCursorUnlessDebugging) {
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(game.FullScreen, 1);
  EXPECT_FALSE(platform.cursorVisible());
  EXPECT_TRUE(folder.read("log.txt").starts_with("\"Starting in Fullscreen mode\"\r\n"));
}

TEST_F(Startup, DebugKeepsTheCursorAndShowFpsIsRead) {
  EXPECT_EQ(run("showfps debug"), 0);
  EXPECT_EQ(game.FullScreen, 1);
  EXPECT_TRUE(game.DebugMode);
  EXPECT_TRUE(game.ShowFps);
  EXPECT_TRUE(platform.cursorVisible());
}

TEST_F(Startup, ASoftwareOnlyPresentationIsLogged) {
  platform.failures().softwareRenderer = true;
  EXPECT_EQ(run("1"), 0);
  const std::string log = folder.read("log.txt");
  // The 3-D set-up would start the log anew; within a run it adds a separator
  // and keeps what the display set-up wrote.
  EXPECT_TRUE(log.starts_with(
      "\"Red mask 16711680 Green Mask 65280 Blue Mask 255\"\r\n"
      "\"----------------------------------------\"\r\n"
      "\"Warning, starting in RGB mode.  Some Devices effects may be missing!\"\r\n"))
      << log;
  EXPECT_NE(log.find("\\VDXFont.bmp (the game): missing"), std::string::npos)
      << "the content's problems follow";
}

TEST_F(Startup, ShowsTheMenuBackgroundScaledToTheScreen) {
  // A 2 x 1 bitmap: red on the left, blue on the right.
  const std::uint8_t bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0,   0,   54, 0, 0,  0, 40, 0,
                              0,   0,   2,  0, 0, 0, 1, 0, 0,   0,   1,  0, 24, 0, 0,  0,
                              0,   0,   8,  0, 0, 0, 0, 0, 0,   0,   0,  0, 0,  0, 0,  0,
                              0,   0,   0,  0, 0, 0, 0, 0, 255, 255, 0,  0, 0,  0};
  folder.write("Pictures/Menu.BMP",
               std::string_view(reinterpret_cast<const char*>(bmp), sizeof bmp));
  folder.write("Game.xml", R"(<Game><SelectScreen MenuBack="pictures\menu.bmp"/></Game>)");
  EXPECT_EQ(run("1"), 0);
  const auto& frame = platform.lastFrame();
  EXPECT_EQ(frame[0], 0xFF0000u);
  EXPECT_EQ(frame[319], 0xFF0000u);
  EXPECT_EQ(frame[320], 0x0000FFu);
  EXPECT_EQ(frame[640 * 480 - 1], 0x0000FFu);
}

TEST_F(Startup, AMissingBackgroundLeavesABlackScreen) {
  folder.write("Game.xml", R"(<Game><SelectScreen MenuBack="pictures\none.bmp"/></Game>)");
  EXPECT_EQ(run("1"), 0);
  EXPECT_EQ(platform.caption(), "");
  EXPECT_EQ(platform.lastFrame()[1000], 0u);
}

TEST_F(Startup, WithoutAReadableGameXmlNothingStarts) {
  // Missing, or not XML at all: one message naming the file, the line and the
  // reason, and a failure status, not a black menu.
  std::filesystem::remove(folder.path() / "Game.xml");
  EXPECT_EQ(run("1"), 1);
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].title, "Error loading Vandrel...Aborting....");
  EXPECT_NE(platform.messageBoxes()[0].text.find("Game.xml: the file is missing"),
            std::string::npos)
      << platform.messageBoxes()[0].text;
  // The player learns which folder was tried and how to name the right one.
  EXPECT_NE(platform.messageBoxes()[0].text.find("No game in the folder " + folder.path().string()),
            std::string::npos)
      << platform.messageBoxes()[0].text;
  EXPECT_NE(platform.messageBoxes()[0].text.find("--game-dir DIR"), std::string::npos);
  EXPECT_FALSE(platform.displayOpen());
  EXPECT_EQ(platform.framesPresented(), 0);

  testing::TestFolder broken;
  broken.write("Game.xml", "<Game>\n  <Characters>\n</Game>\n");
  platform::HeadlessPlatform other;
  Game second(other, broken.path());
  EXPECT_EQ(Main(second, "1"), 1);
  ASSERT_EQ(other.messageBoxes().size(), 1u);
  EXPECT_NE(other.messageBoxes()[0].text.find("Game.xml line 3: the file is not well-formed XML"),
            std::string::npos)
      << other.messageBoxes()[0].text;
}

TEST_F(Startup, WhatLoadingSkippedGoesIntoTheLog) {
  folder.write("Game.xml", R"(<Game Name="T"><Characters>
  <Character Name="Kira" Health="lots"/></Characters></Game>)");
  EXPECT_EQ(run("1"), 0);
  const std::string log = folder.read("log.txt");
  EXPECT_EQ(log.find("\"Red mask"), 0u) << "the display's record comes first: " << log;
  EXPECT_NE(
      log.find("\"Game.xml line 2, Characters > Character \"Kira\", attribute Health: \"lots\" is not an "),
      std::string::npos)
      << log;
  std::filesystem::remove(folder.path() / "ai.xml");
  platform::HeadlessPlatform other;
  other.requestCloseAfter(200);
  Game second(other, folder.path());
  EXPECT_EQ(Main(second, "1"), 0);
  EXPECT_NE(folder.read("log.txt").find("\"ai.xml: the file is missing"), std::string::npos)
      << "a missing ai.xml is a skipped step too";
}

struct FailureCase {
  const char* commandLine;
  void (*fail)(platform::HeadlessFailures&);
  const char* message;
};

// "[1] Direct Input": the command line and the device that failed.
void PrintTo(const FailureCase& c, std::ostream* os) {
  const std::string message = c.message;
  const auto from = message.find("initializing ") + 13;
  *os << "[" << c.commandLine << "] " << message.substr(from, message.find('.') - from);
}

class StartupFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StartupFailures, ShowOneMessageAndEnd) {
  testing::TestFolder folder;
  folder.write("Game.xml", "<Game/>");
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  GetParam().fail(platform.failures());
  EXPECT_EQ(Main(game, GetParam().commandLine), 1);
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].title, "Error loading Vandrel...Aborting....");
  EXPECT_EQ(platform.messageBoxes()[0].text, GetParam().message);
  EXPECT_EQ(platform.framesPresented(), 0) << "the menu never shows";
  EXPECT_FALSE(platform.displayOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupFailures,
    ::testing::Values(
        FailureCase{"", [](platform::HeadlessFailures& f) { f.display = true; },
                    "An error has occurred initializing Direct Draw for full screen mode. Please "
                    "insure you have DirectX 7.0 or later installed."},
        FailureCase{"1", [](platform::HeadlessFailures& f) { f.display = true; },
                    "An error has occurred initializing Direct Draw for windowed mode. Please "
                    "insure you have DirectX 7.0 or later installed."},
        FailureCase{"1", [](platform::HeadlessFailures& f) { f.input = true; },
                    "An error has occurred initializing Direct Input. Please insure you have "
                    "DirectX 7.0 or later installed."}));

}  // namespace
}  // namespace vdx
