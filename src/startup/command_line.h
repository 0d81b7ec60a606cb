// The command line of vdx. The game's own switches are substrings of the whole
// command line: "1" anywhere means windowed, "DEBUG" and "SHOWFPS" in any letter
// case turn on the cursor and the frame-rate counter. Our long options are taken
// out first, so they never trigger those tests.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fight/fight_state.h"

namespace vdx {

struct CommandLineSwitches {
  int FullScreen = 0;
  bool DebugMode = false;
  bool ShowFps = false;
};

CommandLineSwitches ReadSwitches(std::string_view commandLine);

// A network match: this side hosts it, joins it, or watches it.
enum class NetworkRole { Host, Join, Watch };

struct NetworkOptions {
  NetworkRole role = NetworkRole::Host;
  std::string host;            // --join / --watch: the host's name or address
  std::uint16_t port = 7777;   // the host's port
  int inputDelay = 2;          // --delay N (0 to 4)
  bool computerPlaysLocal = false;  // --cpu local: this side's computer plays its player
  Integer computerLevel = kProfileDifficulty;  // --difficulty N with --cpu local
};

// "HOST", "HOST:PORT" or "[IPv6]:PORT"; nothing when the port is not 1 to 65535
// or the name is empty.
std::optional<NetworkOptions> ReadHostAndPort(const std::string& text);

struct ProgramOptions {
  std::optional<std::filesystem::path> gameDir;  // --game-dir DIR
  bool headless = false;                         // --headless
  std::optional<std::string> script;             // --script FILE (with --headless)
  bool checkContent = false;                     // --check-content
  bool json = false;                             // --json (with --check-content)
  std::optional<std::string> versus;             // --versus P1,P2: a match at once
  std::optional<std::string> training;           // --training P1,P2: training at once
  std::optional<std::string> stage;              // --stage NAME (with --versus or --training)
  std::optional<std::string> frameHashes;        // --frame-hashes FILE
  std::optional<std::string> record;             // --record FILE
  std::optional<std::string> replay;             // --replay FILE
  ComputerPlays cpu = ComputerPlays::None;       // --cpu 2|both (with --versus)
  std::optional<NetworkOptions> network;         // --host [PORT], --join or --watch HOST[:PORT]
  std::optional<int> inputDelay;                 // --delay N (with --host or --join)
  bool cpuLocal = false;                         // --cpu local (with --host or --join)
  // --difficulty N or N1,N2 (with --cpu): the computer's level for player 1
  // and player 2; a player it does not play keeps kProfileDifficulty.
  std::optional<std::array<Integer, 2>> levels;
  std::optional<int> rounds;                     // --rounds N: the Rounds setting for the run
  std::optional<std::uint64_t> seed;             // --seed N: where the random numbers start
  std::optional<int> matches;                    // --matches N (with --versus)
  bool noDraw = false;                           // --no-draw: fights run without drawing
  std::optional<int> syncTest;                   // --sync-test K (with --replay)
  bool help = false;                             // --help
  bool version = false;                          // --version
  std::string commandLine;  // everything else, joined by blanks: what the switches test
  std::string error;        // set when the options cannot be understood
};

// `args` are the arguments after the program name.
ProgramOptions ParseProgramOptions(std::span<const std::string> args);

// Whether the run's fights are drawn (and sounded, and paced to real time).
// In a window they are, unless --no-draw says otherwise. Headless, only a
// script (its screenshots) or --frame-hashes (the pictures' hashes) looks at
// the pictures: without either a fight runs undrawn, and --no-draw alone
// turns drawing off for those two.
bool DrawsFights(const ProgramOptions& options);

std::string UsageText();

}  // namespace vdx
