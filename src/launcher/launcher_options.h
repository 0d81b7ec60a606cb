// The command line of vdxlaunch.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vdxlaunch {

struct LauncherOptions {
  std::optional<std::filesystem::path> gameDir;  // --game-dir DIR
  bool headless = false;                         // --headless
  std::optional<std::string> script;             // --script FILE (with --headless)
  bool help = false;                             // --help
  bool version = false;                          // --version
  std::string error;                             // set when the options cannot be understood
};

// `args` are the arguments after the program name.
LauncherOptions ParseLauncherOptions(std::span<const std::string> args);

std::string LauncherUsage();

}  // namespace vdxlaunch
