#include "launcher/launcher_options.h"

namespace vdxlaunch {

LauncherOptions ParseLauncherOptions(std::span<const std::string> args) {
  LauncherOptions options;
  for (std::size_t i = 0; i < args.size() && options.error.empty(); ++i) {
    const std::string& arg = args[i];
    // "--name VALUE" or "--name=VALUE".
    auto valueOf = [&](const std::string& name, std::optional<std::string>& into) {
      if (arg.starts_with(name + "=")) {
        into = arg.substr(name.size() + 1);
        return true;
      }
      if (arg != name) return false;
      if (i + 1 < args.size())
        into = args[++i];
      else
        options.error = name + " needs a value";
      return true;
    };
    std::optional<std::string> dir;
    if (valueOf("--game-dir", dir)) {
      if (dir) options.gameDir = *dir;
    } else if (valueOf("--script", options.script)) {
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else {
      options.error = "unknown option " + arg;
    }
  }
  if (!options.error.empty()) return options;
  if (options.script && !options.headless) options.error = "--script needs --headless";
  // Without a window only a script can end the run.
  if (options.headless && !options.script && !options.help && !options.version)
    options.error = "--headless needs --script FILE: nothing else would end the run";
  return options;
}

std::string LauncherUsage() {
  return R"(Usage: vdxlaunch [options]

The settings launcher of vdx: binds both players' keys, sets the music and
effects volumes, switches gamepad support and the frame-rate display, saves
them into Game.xml (EXIT) and starts the game (START).

Options:
  --game-dir DIR    the game folder; default: the folder of the vdxlaunch
                    program when it holds a Game.xml, else the installed one
  --headless        run without a window or real time (virtual clock); the
                    game is not started, its start is printed instead
  --script FILE     with --headless (which needs it): follow an automation
                    script (the game's commands, plus move, click and focus)
  --help            show this text
  --version         show the version
)";
}

}  // namespace vdxlaunch
