#include "game/fatal_error.h"
#include "core/log.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

struct Case {
  const char* procedure;
  const char* first;
  const char* second;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.procedure;
}

class FatalReport : public ::testing::TestWithParam<Case> {};

TEST_P(FatalReport, LogsClosesAndShowsTheBox) {
  const Case& c = GetParam();
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  platform.openDisplay(true);
  platform.initInput();
  WriteLog(game.log, LogOpening::New, {"Starting in Fullscreen mode"});

  try {
    ReportFatalError(game, c.procedure, GameError(53, "File not found", 40));
    FAIL() << "ReportFatalError returned";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, 1);
  }
  EXPECT_EQ(folder.read("log.txt"), std::string("\"Starting in Fullscreen mode\"\r\n\"") + c.first +
                                        "\"\r\n\"" + c.second + "\"\r\n");
  EXPECT_TRUE(game.QuitRequested);
  EXPECT_FALSE(platform.displayOpen()) << "the desktop is given back";
  EXPECT_FALSE(platform.isFullScreen());
  EXPECT_FALSE(platform.inputReady()) << "input devices are released";
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].title, "Vandrel Error");
  EXPECT_EQ(platform.messageBoxes()[0].text,
            "An error has occurred with the game. Please check the log.txt for details");
  EXPECT_EQ(platform.messageBoxes()[0].icon, platform::MessageBoxIcon::Critical);
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, FatalReport,
    ::testing::Values(Case{"ShowMenu", "Error in ShowMenu ", "53 File not found"},
                      Case{"LoadSelectScreenNew", "Error in LoadSelectScreenNew ",
                           "53 File not found 40"},
                      Case{"DisplayVsScreen", "Error in DisplayVsScreen ", "53 File not found 40"},
                      Case{"LoadStageSelectScreenNew", "Error in LoadStageSelectScreenNew ",
                           "53 File not found at line 40"},
                      Case{"PlayLoop", "Error in PlayLoop", "53 File not found"}));

TEST(FatalReport, StillReachesTheBoxWhenTheLogCannotBeWritten) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path() / "gone");
  EXPECT_THROW(ReportFatalError(game, "PlayLoop", GameError(5, "Bad")), ProgramExit);
  EXPECT_EQ(platform.messageBoxes().size(), 1u);
}

TEST(StartupFailure, MessagesFollowTheFailedStep) {
  EXPECT_EQ(StartupFailureMessage(45, 1, "x"),
            "An error has occurred initializing Direct Draw for full screen mode. Please insure "
            "you have DirectX 7.0 or later installed.");
  EXPECT_EQ(StartupFailureMessage(50, 1, "x"),
            "An error has occurred initializing Direct Draw for windowed mode. Please insure you "
            "have DirectX 7.0 or later installed.");
  EXPECT_EQ(StartupFailureMessage(70, 1, "x"),
            "An error has occurred initializing Direct Input. Please insure you have DirectX 7.0 "
            "or later installed.");
  EXPECT_EQ(StartupFailureMessage(80, 1, "x"),
            "An error has occurred initializing Direct Sound. Please insure you have DirectX 7.0 "
            "or later installed.");
  EXPECT_EQ(StartupFailureMessage(90, 1, "x"),
            "An error has occurred initializing Direct3D. Please insure you have DirectX 7.0 or "
            "later installed.");
  EXPECT_EQ(StartupFailureMessage(100, 53, "File not found"),
            "Unknown Error 53 File not found at 100");
  EXPECT_EQ(StartupFailureMessage(0, 7, "Out of memory"), "Unknown Error 7 Out of memory at 0");
}

}  // namespace
}  // namespace vdx
