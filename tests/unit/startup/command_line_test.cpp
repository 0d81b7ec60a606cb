#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

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

TEST(ProgramOptions, TrainingTakesTwoFightersAndAStageAndNothingOfAMatch) {
  const auto ok = ParseProgramOptions(
      std::vector<std::string>{"1", "--training", "Kira,Brann", "--stage", "Temple"});
  EXPECT_EQ(ok.error, "");
  EXPECT_EQ(ok.training, "Kira,Brann");
  EXPECT_EQ(ok.stage, "Temple");
  EXPECT_EQ(ok.commandLine, "1");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--training", "Kira"}).error,
            "--training takes two fighters: --training P1,P2");
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--training", ",Brann"}).error,
            "--training takes two fighters: --training P1,P2");
  const std::vector<std::vector<std::string>> withAMatch = {
      {"--versus", "Kira,Brann"}, {"--record", "r.vdr"},        {"--cpu", "2"},
      {"--host"},                 {"--frame-hashes", "h.txt"}, {"--matches", "2"}};
  for (const auto& extra : withAMatch) {
    std::vector<std::string> args{"--training", "Kira,Brann"};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_EQ(ParseProgramOptions(args).error,
              "--training is a session of its own: besides the fighters it takes only --stage")
        << extra.front();
  }
  EXPECT_EQ(ParseProgramOptions(std::vector<std::string>{"--stage", "Temple"}).error,
            "--stage needs --versus or --training");
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
            "--cpu takes 2 (the computer plays player 2), both, or local (in a network match)");
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

// The computer's levels: one for each player it plays, 1 to 8.
TEST(ProgramOptions, DifficultyGivesALevelToEachPlayerTheComputerPlays) {
  using Args = std::vector<std::string>;
  using Levels = std::array<Integer, 2>;
  const std::string range =
      "--difficulty takes a level from 1 to 8, or two apart by a comma (N1,N2)";
  struct Case {
    Args args;
    std::string error;
    std::optional<Levels> levels;
  };
  const Case cases[] = {
      // Against a player, the computer's player 2 alone; player 1 keeps 4.
      {{"--versus", "a,b", "--cpu", "2", "--difficulty", "7"}, "", Levels{4, 7}},
      {{"--versus", "a,b", "--cpu", "2", "--difficulty=1"}, "", Levels{4, 1}},
      // Playing both, one level for both or one each.
      {{"--versus", "a,b", "--cpu", "both", "--difficulty", "8"}, "", Levels{8, 8}},
      {{"--versus", "a,b", "--cpu", "both", "--difficulty", "8,1"}, "", Levels{8, 1}},
      {{"--difficulty", "2,3", "--versus", "a,b", "--cpu", "both"}, "", Levels{2, 3}},
      // Not given: Game.xml's Difficulty decides later.
      {{"--versus", "a,b", "--cpu", "both"}, "", std::nullopt},
      {{"--versus", "a,b", "--cpu", "2", "--difficulty", "3,5"},
       "--difficulty takes one level with --cpu 2: the computer plays player 2 alone",
       std::nullopt},
      {{"--versus", "a,b", "--difficulty", "3"},
       "--difficulty needs the computer in a match: --versus P1,P2 --cpu 2|both", std::nullopt},
      {{"--difficulty", "3"},
       "--difficulty needs the computer in a match: --versus P1,P2 --cpu 2|both", std::nullopt},
      // A network match's computer at this side's keys takes its level in
      // the network's options (below), not as the match's.
      {{"--host", "--cpu", "local", "--difficulty", "3"}, "", std::nullopt},
      {{"--versus", "a,b", "--cpu", "both", "--difficulty"}, "--difficulty needs a value",
       std::nullopt},
  };
  for (const Case& c : cases) {
    const auto options = ParseProgramOptions(c.args);
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    EXPECT_EQ(options.error, c.error) << line;
    EXPECT_EQ(options.levels, c.levels) << line;
  }
  for (const char* bad : {"0", "9", "-1", "4x", "", " 4", "4,", ",4", "1,2,3", "4,,5", "1;2", "10"}) {
    const auto options =
        ParseProgramOptions(Args{"--versus", "a,b", "--cpu", "both", "--difficulty", bad});
    EXPECT_EQ(options.error, range) << "[" << bad << "]";
    EXPECT_FALSE(options.levels) << bad;
  }
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

// Which runs may go undrawn, which are drawn, and what the sync test takes.
TEST(ProgramOptions, NoDrawAndSyncTestGoWithFightsThatPlayByThemselves) {
  using Args = std::vector<std::string>;
  const std::string noDrawRefused =
      "--no-draw needs fights that play by themselves: --replay FILE, or --versus P1,P2 with "
      "--cpu both or a --script";
  const std::string syncRange = "--sync-test takes a number of frames ahead from 1 to 8";
  struct Case {
    Args args;
    std::string error;
    bool draws;
    int syncTest;
  };
  const Case cases[] = {
      // In a window everything is drawn unless --no-draw says so.
      {{"--replay", "r.vdr"}, "", true, 0},
      {{"--replay", "r.vdr", "--no-draw"}, "", false, 0},
      {{"--versus", "a,b", "--matches", "3", "--no-draw"}, noDrawRefused, true, 0},
      {{"--versus", "a,b", "--cpu", "both", "--no-draw"}, "", false, 0},
      {{"--replay=r.vdr", "--sync-test=8"}, "", true, 8},
      // Headless, nothing looks at the pictures unless a script or the
      // frame hashes do; --no-draw still turns them off.
      {{"--headless", "--replay", "r.vdr"}, "", false, 0},
      {{"--headless", "--versus", "a,b", "--cpu", "both"}, "", false, 0},
      {{"--headless", "--replay", "r.vdr", "--sync-test", "1"}, "", false, 1},
      {{"--headless", "--replay", "r.vdr", "--frame-hashes", "h.txt"}, "", true, 0},
      {{"--headless", "--replay", "r.vdr", "--frame-hashes", "h.txt", "--no-draw"}, "", false, 0},
      {{"--headless", "--script", "s.txt", "--replay", "r.vdr"}, "", true, 0},
      {{"--headless", "--script", "s.txt", "--versus", "a,b"}, "", true, 0},
      {{"--headless", "--script", "s.txt", "--versus", "a,b", "--matches", "2", "--no-draw"},
       "", false, 0},
      // A fight somebody plays, or no fight at all, cannot go unseen.
      {{"--no-draw"}, noDrawRefused, true, 0},
      {{"--versus", "a,b", "--no-draw"}, noDrawRefused, true, 0},
      {{"--versus", "a,b", "--cpu", "2", "--no-draw"}, noDrawRefused, true, 0},
      {{"--headless", "--script", "s.txt", "--no-draw"}, noDrawRefused, true, 0},
      // The sync test checks a replay, 1 to 8 frames ahead.
      {{"--sync-test", "4"}, "--sync-test needs a replay to test: --replay FILE", true, 0},
      {{"--versus", "a,b", "--cpu", "both", "--sync-test", "4"},
       "--sync-test needs a replay to test: --replay FILE", true, 0},
      {{"--replay", "r.vdr", "--sync-test", "0"}, syncRange, true, 0},
      {{"--replay", "r.vdr", "--sync-test", "9"}, syncRange, true, 0},
      {{"--replay", "r.vdr", "--sync-test", "-1"}, syncRange, true, 0},
      {{"--replay", "r.vdr", "--sync-test", "4x"}, syncRange, true, 0},
      {{"--replay", "r.vdr", "--sync-test="}, syncRange, true, 0},
      {{"--replay", "r.vdr", "--sync-test"}, "--sync-test needs a value", true, 0},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    const ProgramOptions o = ParseProgramOptions(c.args);
    EXPECT_EQ(o.error, c.error) << line;
    if (!c.error.empty()) continue;
    EXPECT_EQ(DrawsFights(o), c.draws) << line;
    EXPECT_EQ(o.syncTest.value_or(0), c.syncTest) << line;
    EXPECT_EQ(o.commandLine, "") << line << ": our options never reach the switch test";
  }
}

// Who may be given what in a network run, and where the other side is.
TEST(ProgramOptions, NetworkRunsTakeTheirHostPortAndTheHostsMatch) {
  using Args = std::vector<std::string>;
  struct Case {
    Args args;
    std::string error;
    NetworkRole role;
    std::string host;
    int port;
  };
  const std::string hostsOnly =
      "--join takes the match from the host: --versus, --matches and --seed are the host's";
  const Case cases[] = {
      {{"--host"}, "", NetworkRole::Host, "", 7777},
      {{"1", "--host", "7800", "SHOWFPS"}, "", NetworkRole::Host, "", 7800},
      {{"--host=7801", "--versus", "a,b", "--stage", "Harbour", "--matches", "3"}, "",
       NetworkRole::Host, "", 7801},
      // A word or a number below 1024 after --host is not its port but the
      // game's switch: "vdx --host 1" hosts in a window.
      {{"--host", "1"}, "", NetworkRole::Host, "", 7777},
      {{"--host", "DEBUG"}, "", NetworkRole::Host, "", 7777},
      {{"--host=70000"}, "--host takes a port from 1024 to 65535 (default 7777)", NetworkRole::Host, "", 0},
      {{"--host=80"}, "--host takes a port from 1024 to 65535 (default 7777)", NetworkRole::Host, "", 0},
      {{"--join", "example.org"}, "", NetworkRole::Join, "example.org", 7777},
      {{"--join", "192.0.2.7:7800", "--delay", "4", "--cpu", "local"}, "", NetworkRole::Join, "192.0.2.7", 7800},
      {{"--watch=[2001:db8::7]:7000"}, "", NetworkRole::Watch, "2001:db8::7", 7000},
      {{"--watch", "[::1]"}, "", NetworkRole::Watch, "::1", 7777},
      {{"--join", "h:"}, "--join takes the host as HOST or HOST:PORT (port 1 to 65535)", NetworkRole::Join, "", 0},
      {{"--join", ":7777"}, "--join takes the host as HOST or HOST:PORT (port 1 to 65535)", NetworkRole::Join, "", 0},
      {{"--join", "h:x"}, "--join takes the host as HOST or HOST:PORT (port 1 to 65535)", NetworkRole::Join, "", 0},
      {{"--join", "[::1"}, "--join takes the host as HOST or HOST:PORT (port 1 to 65535)", NetworkRole::Join, "", 0},
      {{"--watch", "[::1]7"}, "--watch takes the host as HOST or HOST:PORT (port 1 to 65535)", NetworkRole::Watch, "", 0},
      {{"--host", "--join", "h"}, "--host, --join and --watch go one at a time", NetworkRole::Host, "", 0},
      {{"--join", "h", "--versus", "a,b"}, hostsOnly, NetworkRole::Join, "", 0},
      {{"--join", "h", "--seed", "4"}, hostsOnly, NetworkRole::Join, "", 0},
      {{"--join", "h", "--rounds", "1"}, "", NetworkRole::Join, "h", 7777},
      {{"--watch", "h", "--cpu", "local"}, "--watch only watches: it takes no --cpu, --delay or --record",
       NetworkRole::Watch, "", 0},
      {{"--host", "--cpu", "both"}, "in a network match the computer plays this side's player: --cpu local",
       NetworkRole::Host, "", 0},
      {{"--host", "--replay", "r.vdr"},
       "--host plays over the network: it takes no --replay, --sync-test or --check-content", NetworkRole::Host, "", 0},
      {{"--host", "--delay", "5"}, "--delay takes a number of frames from 0 to 4", NetworkRole::Host, "", 0},
      {{"--headless", "--host"}, "--host with --headless needs --cpu local or a --script", NetworkRole::Host, "", 0},
      {{"--headless", "--join", "h", "--cpu", "local"}, "", NetworkRole::Join, "h", 7777},
      {{"--headless", "--watch", "h"}, "", NetworkRole::Watch, "h", 7777},
      {{"--no-draw", "--host"}, "--no-draw in a network match needs --headless", NetworkRole::Host, "", 0},
      // Outside a network run the network's options have no meaning.
      {{"--cpu", "local"}, "--cpu local is for a network match: --host or --join", NetworkRole::Host, "", 0},
      {{"--delay", "2"}, "--delay is for a network match: --host or --join", NetworkRole::Host, "", 0},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    const ProgramOptions o = ParseProgramOptions(c.args);
    EXPECT_EQ(o.error, c.error) << line;
    if (!c.error.empty()) continue;
    ASSERT_TRUE(o.network) << line;
    EXPECT_EQ(o.network->role, c.role) << line;
    EXPECT_EQ(o.network->host, c.host) << line;
    EXPECT_EQ(o.network->port, c.port) << line;
  }
  const ProgramOptions delayed =
      ParseProgramOptions(Args{"--join", "h", "--delay=0", "--cpu=local", "--difficulty", "7"});
  EXPECT_EQ(delayed.error, "");
  EXPECT_EQ(delayed.network->inputDelay, 0);
  EXPECT_TRUE(delayed.network->computerPlaysLocal);
  EXPECT_EQ(delayed.network->computerLevel, 7);
  const std::string oneLevel = "--difficulty in a network match takes one level, for --cpu local";
  EXPECT_EQ(ParseProgramOptions(Args{"--host", "--difficulty", "7"}).error, oneLevel);
  EXPECT_EQ(ParseProgramOptions(Args{"--host", "--cpu", "local", "--difficulty", "7,2"}).error, oneLevel);
  EXPECT_EQ(ParseProgramOptions(Args{"--host", "1", "DEBUG"}).commandLine, "1 DEBUG");
}

}  // namespace
}  // namespace vdx
