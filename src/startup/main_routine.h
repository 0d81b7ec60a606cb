// Start-up: reads the switches and the content, brings up the display, input,
// sound and presentation in a fixed order, then hands over to the screens. A
// failure on the way shows one message and ends the program.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fight/fight_state.h"
#include "game/game.h"
#include "startup/command_line.h"

namespace vdx {

// What the command line asks of the run beyond the game's own switches.
struct RunRequest {
  std::optional<std::string> versus;  // "P1,P2": a match at once, without title or menus
  std::optional<std::string> training;  // "P1,P2": training at once
  std::optional<std::string> stage;   // the match's or the training's stage
  std::optional<std::filesystem::path> frameHashes;  // a line per fight frame
  std::optional<std::filesystem::path> record;       // the run's matches as a replay
  std::optional<std::filesystem::path> replay;       // a replay to play instead
  ComputerPlays cpu = ComputerPlays::None;           // who the computer plays in --versus
  std::optional<std::array<Integer, 2>> levels;      // its levels; none: Game.xml's Difficulty
  std::optional<int> rounds;                         // the Rounds setting for the run
  std::optional<std::uint64_t> seed;                 // where the random numbers start
  int matches = 1;                                   // --versus matches back to back
  bool draw = true;  // false: the fights run without pictures, sounds, movies or pacing
  int syncTest = 0;  // 1 to 8: the replay's frames are checked that many frames ahead
  std::optional<NetworkOptions> network;  // a match over the network instead
  bool matchesGiven = false;  // --matches was on the command line (a network series)
};

// Exit statuses of a run besides 0.
inline constexpr int kStatusNotWritten = 1;  // the replay or the frame hashes could not be written
inline constexpr int kStatusSyncFailed = 1;  // a replay's frame stepped again came out otherwise
inline constexpr int kStatusRefused = 2;     // the request names what the game folder lacks
inline constexpr int kStatusNetwork = 3;     // no match over the network: refused, unreachable, lost

// Runs the game; returns the program's exit status (0 after a normal close,
// else one of the above or a start-up failure's).
int Main(Game& game, std::string_view commandLine, const RunRequest& request = {});

}  // namespace vdx
