#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

struct SwitchCase {
  const char* commandLine;
  int fullScreen;
  bool debug;
  bool showFps;
};

// Names the case by its command line in the test list.
void PrintTo(const SwitchCase& c, std::ostream* os) {
  *os << "[" << c.commandLine << "]";
}

class Switches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(Switches, AreSubstringsOfTheWholeCommandLine) {
  const SwitchCase& c = GetParam();
  const CommandLineSwitches s = ReadSwitches(c.commandLine);
  EXPECT_EQ(s.FullScreen, c.fullScreen) << "\"" << c.commandLine << "\"";
  EXPECT_EQ(s.DebugMode, c.debug) << "\"" << c.commandLine << "\"";
  EXPECT_EQ(s.ShowFps, c.showFps) << "\"" << c.commandLine << "\"";
}

INSTANTIATE_TEST_SUITE_P(Table, Switches,
                         ::testing::Values(SwitchCase{"", 1, false, false},
                                           SwitchCase{"1", 0, false, false},
                                           SwitchCase{"showfps debug", 1, true, true},
                                           SwitchCase{"SHOWFPS1", 0, false, true},
                                           SwitchCase{"level10", 0, false, false},
                                           SwitchCase{"xxDeBuGxx", 1, true, false},
                                           SwitchCase{"DEBUG 1 SHOWFPS", 0, true, true},
                                           SwitchCase{"show fps", 1, false, false}));

TEST(ProgramOptions, TakesOurLongOptionsOutBeforeTheSwitchTest) {
  const std::vector<std::string> args = {"--game-dir", "/games/v1",         "SHOWFPS",
                                         "--headless", "--script=run1.txt", "--check-content"};
  const ProgramOptions o = ParseProgramOptions(args);
  EXPECT_TRUE(o.error.empty()) << o.error;
  EXPECT_EQ(o.gameDir, std::filesystem::path("/games/v1"));
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.script, "run1.txt");
  EXPECT_TRUE(o.checkContent);
  EXPECT_EQ(o.commandLine, "SHOWFPS");
  EXPECT_EQ(ReadSwitches(o.commandLine).FullScreen, 1)
      << "the 1s in our options do not make the game windowed";

  const std::vector<std::string> game = {"1", "debug", "--game-dir=d"};
  const ProgramOptions g = ParseProgramOptions(game);
  EXPECT_EQ(g.commandLine, "1 debug");
  EXPECT_EQ(g.gameDir, std::filesystem::path("d"));
}

TEST(ProgramOptions, RefusesWhatItDoesNotKnow) {
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--fast"}).error, "unknown option --fast");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--game-dir"}).error,
            "--game-dir needs a value");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--script", "s.txt"}).error,
            "--script needs --headless");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"1", "--headless"}).error,
            "--headless needs --script FILE: nothing else would end the run");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--headless", "--check-content"}).error,
            "")
      << "the check ends by itself";
  EXPECT_TRUE(ParseProgramOptions(std::vector<std::string>{"--help"}).help);
  EXPECT_TRUE(ParseProgramOptions(std::vector<std::string>{"--version"}).version);
}

}  // namespace
}  // namespace vdx
