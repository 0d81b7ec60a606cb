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
  // A single dash never makes a switch: "-x" would otherwise be ignored, and
  // "-1" or "-debug" would quietly count as the switches in them.
  for (const char* typo : {"-x", "-1", "-debug", "-game-dir"})
    EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"1", typo}).error,
              std::string("unknown option ") + typo +
                  " (our options start with --; the game's switches 1, DEBUG and SHOWFPS take "
                  "no dash)");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"-", "1"}).error, "")
      << "a lone dash is ordinary text of the game's command line";
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

TEST(ProgramOptions, ComputerMatchesTakeTheirCountsAndEndByThemselves) {
  using Args = std::vector<std::string>;
  const auto demo = ParseProgramOptions(
      Args{"--headless", "--versus", "Kira,Brann", "--cpu", "both", "--rounds=1", "--matches", "3"});
  EXPECT_EQ(demo.error, "") << "a computer playing both sides needs no script";
  EXPECT_EQ(demo.cpu, ComputerPlays::Both);
  EXPECT_EQ(demo.rounds, 1);
  EXPECT_EQ(demo.matches, 3);
  EXPECT_EQ(ParseProgramOptions(Args{"--versus", "a,b", "--cpu", "2"}).cpu, ComputerPlays::Player2);
  EXPECT_EQ(ParseProgramOptions(Args{"--headless", "--versus", "a,b", "--cpu", "2"}).error,
            "--headless needs --script FILE: nothing else would end the run")
      << "player 1 is somebody's";
  EXPECT_EQ(ParseProgramOptions(Args{"--versus", "a,b", "--cpu", "1"}).error,
            "--cpu takes 2 (the computer plays player 2) or both");
  EXPECT_EQ(ParseProgramOptions(Args{"--cpu", "2"}).error, "--cpu needs a match: --versus P1,P2");
  EXPECT_EQ(ParseProgramOptions(Args{"--matches", "2"}).error,
            "--matches needs a match: --versus P1,P2");
  for (const char* bad : {"0", "8", "-1", "2x", "", "99999999999"})
    EXPECT_EQ(ParseProgramOptions(Args{"--rounds", bad}).error,
              "--rounds takes a number of rounds from 1 to 7")
        << bad;
  EXPECT_EQ(ParseProgramOptions(Args{"--versus", "a,b", "--matches", "0"}).error,
            "--matches takes a number of matches from 1");
}

TEST(ProgramOptions, ASeedIsAnyWholeNumberOfSixtyFourBits) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(ParseProgramOptions(Args{"--seed", "0"}).seed, 0u);
  EXPECT_EQ(ParseProgramOptions(Args{"--seed=18446744073709551615"}).seed, UINT64_MAX);
  for (const char* bad : {"18446744073709551616", "99999999999999999999", "-1", "1e3", "", " 7"}) {
    const auto options = ParseProgramOptions(Args{"--seed", bad});
    EXPECT_EQ(options.error, "--seed takes a whole number from 0 to 18446744073709551615") << bad;
    EXPECT_FALSE(options.seed) << bad;
  }
}

}  // namespace
}  // namespace vdx
