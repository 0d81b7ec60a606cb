#include "startup/command_line.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

namespace vdx {

CommandLineSwitches ReadSwitches(std::string_view commandLine) {
  CommandLineSwitches switches;
  if (commandLine.find('1') == std::string_view::npos) switches.FullScreen = 1;
  std::string upper(commandLine);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  switches.DebugMode = upper.find("DEBUG") != std::string::npos;
  switches.ShowFps = upper.find("SHOWFPS") != std::string::npos;
  return switches;
}

namespace {

// A whole number from `low` to `high`, written in digits only.
std::optional<int> PositiveNumber(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return std::nullopt;
  const int n = std::stoi(text);
  if (n < low || n > high) return std::nullopt;
  return n;
}

// A 64-bit seed in decimal.
std::optional<std::uint64_t> SeedNumber(const std::string& text) {
  if (text.empty() || text.size() > 20 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return std::nullopt;
  std::uint64_t n = 0;
  for (const char c : text) {
    const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (n > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    n = n * 10 + digit;
  }
  return n;
}

// The lowest port a host listens on.
constexpr int kLowestHostPort = 1024;

// "P1,P2": two names, neither empty.
bool TwoNames(const std::string& text) {
  return !text.empty() && std::count(text.begin(), text.end(), ',') == 1 && text.front() != ',' &&
         text.back() != ',';
}

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::optional<std::uint16_t> PortNumber(const std::string& text) {
  const std::optional<int> port = PositiveNumber(text, 1, 65535);
  if (!port) return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

}  // namespace

std::optional<NetworkOptions> ReadHostAndPort(const std::string& text) {
  NetworkOptions where;
  std::string host = text;
  std::string port;
  if (!text.empty() && text.front() == '[') {
    // An IPv6 address in brackets, its port after them.
    const auto close = text.find(']');
    if (close == std::string::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    const std::string after = text.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return std::nullopt;
      port = after.substr(1);
      if (port.empty()) return std::nullopt;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    const auto colon = text.find(':');
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (port.empty()) return std::nullopt;
  }
  if (host.empty()) return std::nullopt;
  where.host = host;
  if (!port.empty()) {
    const auto number = PortNumber(port);
    if (!number) return std::nullopt;
    where.port = *number;
  }
  return where;
}

namespace {

// The options of a network run: what the host, the joining side and a
// spectator may each be given.
ProgramOptions CheckNetworkOptions(ProgramOptions options, const std::string& rest) {
  NetworkOptions& net = *options.network;
  const bool player = net.role != NetworkRole::Watch;
  const char* const name = net.role == NetworkRole::Host   ? "--host"
                           : net.role == NetworkRole::Join ? "--join"
                                                           : "--watch";
  if (options.inputDelay) net.inputDelay = *options.inputDelay;
  net.computerPlaysLocal = options.cpuLocal;
  if (options.replay || options.syncTest || options.checkContent)
    options.error = std::string(name) + " plays over the network: it takes no --replay, --sync-test or --check-content";
  else if (options.cpu != ComputerPlays::None)
    options.error = "in a network match the computer plays this side's player: --cpu local";
  else if (!player && (options.cpuLocal || options.inputDelay || options.record))
    options.error = "--watch only watches: it takes no --cpu, --delay or --record";
  else if (net.role != NetworkRole::Host && (options.versus || options.matches || options.seed))
    options.error = std::string(name) +
                    " takes the match from the host: --versus, --matches and --seed are the host's";
  else if (options.noDraw && !options.headless)
    options.error = "--no-draw in a network match needs --headless";
  // Headless, only the computer can play this side; a spectator just watches.
  else if (options.headless && player && !options.cpuLocal && !options.script)
    options.error = std::string(name) + " with --headless needs --cpu local or a --script";
  options.commandLine = rest;
  return options;
}

// One level, or two apart by a comma, each from 1 to 8; empty when the text is not that.
std::vector<Integer> LevelNumbers(const std::string& text) {
  std::vector<Integer> levels;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const auto level = PositiveNumber(text.substr(start, comma - start),
                                      kLowestDifficulty, kHighestDifficulty);
    if (!level || levels.size() == 2) return {};
    levels.push_back(*level);
    if (comma == std::string::npos) return levels;
    start = comma + 1;
  }
}

}  // namespace

ProgramOptions ParseProgramOptions(std::span<const std::string> args) {
  ProgramOptions options;
  std::string rest;
  std::vector<Integer> levels;  // as --difficulty gives them
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A single dash is a mistyped option, never one of the game's switches
    // (those are plain words): "-x" is refused like "--x".
    if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
      options.error = "unknown option " + arg +
                      " (our options start with --; the game's switches 1, DEBUG and SHOWFPS "
                      "take no dash)";
      return options;
    }
    if (arg.rfind("--", 0) != 0) {
      if (!rest.empty()) rest += ' ';
      rest += arg;
      continue;
    }
    // An option that takes a value: "--name VALUE" or "--name=VALUE".
    auto value = [&](const char* name) -> std::optional<std::string> {
      const std::string prefix = std::string(name) + "=";
      if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
      if (arg != name) return std::nullopt;
      if (i + 1 >= args.size()) {
        options.error = std::string(name) + " needs a value";
        return std::string();
      }
      return args[++i];
    };
    if (auto dir = value("--game-dir")) {
      options.gameDir = *dir;
    } else if (auto script = value("--script")) {
      options.script = *script;
    } else if (auto versus = value("--versus")) {
      options.versus = *versus;
      if (!options.error.empty()) break;
      if (!TwoNames(*versus))
        options.error = "--versus takes two fighters: --versus P1,P2";
    } else if (auto training = value("--training")) {
      options.training = *training;
      if (!options.error.empty()) break;
      if (!TwoNames(*training)) options.error = "--training takes two fighters: --training P1,P2";
    } else if (auto stage = value("--stage")) {
      options.stage = *stage;
    } else if (auto hashes = value("--frame-hashes")) {
      options.frameHashes = *hashes;
    } else if (auto record = value("--record")) {
      options.record = *record;
    } else if (auto replay = value("--replay")) {
      options.replay = *replay;
    } else if (arg == "--host" || arg.rfind("--host=", 0) == 0) {
      // The port is optional: a number from 1024 right after --host is it
      // (a game never listens below, where the system's services are; and
      // "vdx --host 1" asks for a window).
      std::string port;
      if (arg != "--host")
        port = arg.substr(7);
      else if (i + 1 < args.size() && AllDigits(args[i + 1]) &&
               PositiveNumber(args[i + 1], kLowestHostPort, 65535))
        port = args[++i];
      NetworkOptions host;
      if (!port.empty()) {
        const auto number = PositiveNumber(port, kLowestHostPort, 65535);
        if (!number) {
          options.error = "--host takes a port from 1024 to 65535 (default 7777)";
          return options;
        }
        host.port = static_cast<std::uint16_t>(*number);
      }
      if (options.network) options.error = "--host, --join and --watch go one at a time";
      options.network = host;
    } else if (auto join = value("--join")) {
      if (!options.error.empty()) break;
      auto where = ReadHostAndPort(*join);
      if (!where) {
        options.error = "--join takes the host as HOST or HOST:PORT (port 1 to 65535)";
        return options;
      }
      where->role = NetworkRole::Join;
      if (options.network) options.error = "--host, --join and --watch go one at a time";
      options.network = *where;
    } else if (auto watch = value("--watch")) {
      if (!options.error.empty()) break;
      auto where = ReadHostAndPort(*watch);
      if (!where) {
        options.error = "--watch takes the host as HOST or HOST:PORT (port 1 to 65535)";
        return options;
      }
      where->role = NetworkRole::Watch;
      if (options.network) options.error = "--host, --join and --watch go one at a time";
      options.network = *where;
    } else if (auto delay = value("--delay")) {
      options.inputDelay = PositiveNumber(*delay, 0, 4);
      if (!options.inputDelay && options.error.empty())
        options.error = "--delay takes a number of frames from 0 to 4";
    } else if (auto cpu = value("--cpu")) {
      if (*cpu == "local")
        options.cpuLocal = true;
      else if (*cpu == "2")
        options.cpu = ComputerPlays::Player2;
      else if (*cpu == "both")
        options.cpu = ComputerPlays::Both;
      else if (options.error.empty())
        options.error =
            "--cpu takes 2 (the computer plays player 2), both, or local (in a network match)";
    } else if (auto difficulty = value("--difficulty")) {
      levels = LevelNumbers(*difficulty);
      if (levels.empty() && options.error.empty())
        options.error = "--difficulty takes a level from 1 to 8, or two apart by a comma (N1,N2)";
    } else if (auto rounds = value("--rounds")) {
      options.rounds = PositiveNumber(*rounds, 1, 7);
      if (!options.rounds && options.error.empty())
        options.error = "--rounds takes a number of rounds from 1 to 7";
    } else if (auto seed = value("--seed")) {
      options.seed = SeedNumber(*seed);
      if (!options.seed && options.error.empty())
        options.error = "--seed takes a whole number from 0 to 18446744073709551615";
    } else if (auto matches = value("--matches")) {
      options.matches = PositiveNumber(*matches, 1, 1000000);
      if (!options.matches && options.error.empty())
        options.error = "--matches takes a number of matches from 1";
    } else if (auto ahead = value("--sync-test")) {
      options.syncTest = PositiveNumber(*ahead, 1, 8);
      if (!options.syncTest && options.error.empty())
        options.error = "--sync-test takes a number of frames ahead from 1 to 8";
    } else if (arg == "--no-draw") {
      options.noDraw = true;
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--check-content") {
      options.checkContent = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else {
      options.error = "unknown option " + arg;
    }
    if (!options.error.empty()) return options;
  }
  if (options.script && !options.headless) options.error = "--script needs --headless";
  if (options.json && !options.checkContent) options.error = "--json needs --check-content";
  if (options.stage && !options.versus && !options.training)
    options.error = "--stage needs --versus or --training";
  if (options.training &&
      (options.versus || options.replay || options.record || options.network ||
       options.cpu != ComputerPlays::None || options.matches || !levels.empty() || options.noDraw ||
       options.frameHashes)) {
    options.error = "--training is a session of its own: besides the fighters it takes only --stage";
    return options;
  }
  // A network match's computer plays this side's player alone: one level.
  if (options.network && !levels.empty()) {
    if (!options.cpuLocal || levels.size() != 1) {
      options.error = "--difficulty in a network match takes one level, for --cpu local";
      return options;
    }
    options.network->computerLevel = levels[0];
  }
  if (options.network) return CheckNetworkOptions(std::move(options), rest);
  if (options.replay && (options.versus || options.record))
    options.error = "--replay plays a recorded run: it takes neither --versus nor --record";
  if (options.record && !options.versus)
    options.error = "--record needs a match to record: --versus P1,P2";
  if (options.cpuLocal)
    options.error = "--cpu local is for a network match: --host or --join";
  if (options.inputDelay)
    options.error = "--delay is for a network match: --host or --join";
  if (options.cpu != ComputerPlays::None && !options.versus)
    options.error = "--cpu needs a match: --versus P1,P2";
  if (!levels.empty()) {
    if (options.cpu == ComputerPlays::None)
      options.error = "--difficulty needs the computer in a match: --versus P1,P2 --cpu 2|both";
    else if (options.cpu == ComputerPlays::Player2 && levels.size() == 2)
      options.error = "--difficulty takes one level with --cpu 2: the computer plays player 2 alone";
    else if (options.cpu == ComputerPlays::Player2)
      options.levels = std::array<Integer, 2>{kProfileDifficulty, levels[0]};
    else
      options.levels = std::array<Integer, 2>{levels.front(), levels.back()};
  }
  if (options.matches && !options.versus)
    options.error = "--matches needs a match: --versus P1,P2";
  // A computer playing both sides ends its matches by itself.
  const bool endsByItself = options.versus && options.cpu == ComputerPlays::Both;
  // Only fights that play and end by themselves may run unseen.
  if (options.noDraw && !options.replay && !(options.versus && (endsByItself || options.script)))
    options.error =
        "--no-draw needs fights that play by themselves: --replay FILE, or --versus P1,P2 "
        "with --cpu both or a --script";
  if (options.syncTest && !options.replay)
    options.error = "--sync-test needs a replay to test: --replay FILE";
  // Without a window nobody can press a key or close it: only a script ends
  // such a run. (--check-content and the like end by themselves.)
  if (options.headless && !options.script && !options.replay && !endsByItself &&
      !options.checkContent && !options.help && !options.version)
    options.error = "--headless needs --script FILE: nothing else would end the run";
  options.commandLine = rest;
  return options;
}

bool DrawsFights(const ProgramOptions& options) {
  if (options.noDraw) return false;
  return !options.headless || options.script || options.frameHashes;
}

std::string UsageText() {
  return R"(Usage: vdx [1] [DEBUG] [SHOWFPS] [options]

The game's switches, found anywhere in the command line:
  1                 play in a window (without it the game runs full screen)
  DEBUG             keep the mouse cursor visible in full screen
  SHOWFPS           show the frame rate during fights

Options:
  --game-dir DIR    the game folder (Game.xml, Characters, Stages, ...);
                    default: the folder of the vdx program when it holds a
                    Game.xml, else the installed one (<prefix>/share/games/vdx,
                    or ../share/games/vdx from the program's folder)
  --check-content   read the game folder, list what was skipped and which
                    named files are missing; exit status 1 if anything is
  --json            with --check-content: the report as JSON
  --headless        run without a window, sound or real time (virtual clock)
  --script FILE     with --headless (which needs it): follow an automation
                    script; the run ends with it
  --versus P1,P2    start a two-player match at once, without the title movie
                    or menus (names in any letter case)
  --training P1,P2  practise at once: player 1 against a dummy (player 2) on
                    one stage, without rounds; Tab opens the training menu,
                    Backspace resets, F7 records the dummy, F8 plays it back
  --stage NAME      with --versus or --training: the stage (default: the
                    first one enabled)
  --frame-hashes FILE  write a line per fight frame: the frame's number, the
                    hash of the fight's state and the hash of its picture
                    ("-" for a frame not drawn); the fights are drawn for
                    it, also with --headless, unless --no-draw is given
  --cpu 2|both      with --versus: the computer plays player 2 (one player),
                    or both sides (the attract demo; it ends by itself, also
                    with --headless alone)
  --difficulty N|N1,N2  with --cpu: the computer's level, 1 (weakest) to 8;
                    4 plays the ai.xml profiles as written. With --cpu both,
                    N1,N2 gives player 1 and player 2 their own levels.
                    Default: Game.xml's Difficulty, else 4
  --rounds N        the Rounds setting for this run (1 to 7)
  --seed N          start the game's random numbers from N (a whole number):
                    the same seed and keys give the same fights
  --matches N       with --versus: play N matches back to back, then end;
                    one line per match on standard output, and the resident
                    memory at the first and the last
  --record FILE     with --versus: write the matches as a replay
  --replay FILE     play a recorded replay again, frame for frame (in the
                    window, or with --headless alone); the run ends with it
  --no-draw         with --replay, or --versus with --cpu
                    both or a --script: the fights run without pictures, sound, movies or
                    waiting, as fast as they can (the same fights); on by
                    itself with --headless unless --script or --frame-hashes
                    is given
  --sync-test K     with --replay: every frame, also step K frames ahead
                    (1 to 8) from a saved state, go back and step them
                    again; both passes must agree. A difference is named on
                    standard error and ends the run with exit status 1

Network play (UDP port 7777 unless given; open it on the host's router):
  --host [PORT]     wait for one player to join (PORT 1024 to 65535), then play: both pick their
                    fighters, the host picks the stage; with --versus P1,P2
                    [--stage NAME] the host sets the match and nobody picks
  --join HOST[:PORT]  join the match a host waits with
  --watch HOST[:PORT] watch a host's match, a few frames behind
  --delay N         with --host or --join: frames a key waits before it
                    counts (0 to 4, default 2); less delay, more rollback
  --cpu local       with --host or --join: this side's computer plays this
                    side's player (at --difficulty N, default 4)
  With --host, --matches N and --seed N set the series for both sides;
  --rounds N must be the same on both (it is one of the settings the sides
  compare); --record FILE and --frame-hashes FILE work on each side (the
  hashes of the frames both sides agree on, "-" for the picture, so both
  sides write the same file).

  --help            show this text
  --version         show the version

In the game: Alt+Enter switches between window and full screen; Alt+X, the
window's close button, Ctrl+C or SIGTERM close the game.
)";
}

}  // namespace vdx
