// vdx: the program's entry. Separates our long options from the game's own
// command line, picks the platform and runs start-up.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "platform/program_folder.h"
#include "startup/check_content.h"
#include "startup/command_line.h"
#include "startup/main_routine.h"

namespace {

vdx::RunRequest RequestOf(const vdx::ProgramOptions& options) {
  vdx::RunRequest request;
  request.versus = options.versus;
  request.training = options.training;
  request.stage = options.stage;
  if (options.frameHashes) request.frameHashes = *options.frameHashes;
  if (options.record) request.record = *options.record;
  if (options.replay) request.replay = *options.replay;
  request.cpu = options.cpu;
  request.levels = options.levels;
  request.rounds = options.rounds;
  request.seed = options.seed;
  if (options.matches) request.matches = *options.matches;
  request.draw = vdx::DrawsFights(options);
  request.syncTest = options.syncTest.value_or(0);
  request.network = options.network;
  request.matchesGiven = options.matches.has_value();
  // A network match draws what a player sees; headless, only a script looks.
  if (options.network) request.draw = !options.noDraw && (!options.headless || options.script);
  return request;
}

int RunHeadless(vdx::Game& game, vdx::platform::HeadlessPlatform& headless,
                const vdx::ProgramOptions& options) {
  const int status = vdx::Main(game, options.commandLine, RequestOf(options));
  // What a player would have seen of the desktop: the pages the game opened.
  for (const vdx::platform::ShellCall& call : headless.shellCalls())
    if (call.kind == vdx::platform::ShellCall::Kind::OpenDocument)
      std::cout << "open " << call.path << "\n";
  for (const std::string& failed : headless.screenshotFailures())
    std::cerr << "vdx: cannot write the screenshot " << failed << "\n";
  return headless.screenshotFailures().empty() ? status : (status == 0 ? 1 : status);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const vdx::ProgramOptions options = vdx::ParseProgramOptions(args);
  if (!options.error.empty()) {
    std::cerr << "vdx: " << options.error << "\nTry vdx --help\n";
    return 2;
  }
  if (options.help) {
    std::cout << vdx::UsageText();
    return 0;
  }
  if (options.version) {
    std::cout << "vdx " << VDX_VERSION << "\n";
    return 0;
  }
  std::filesystem::path gameDir;
  if (options.gameDir) {
    gameDir = std::filesystem::absolute(*options.gameDir);
  } else {
    const auto search = vdx::platform::FindGameFolder(vdx::platform::ProgramFolder(argv[0]),
                                                      vdx::platform::InstalledGameFolder());
    if (!search.found) {
      std::cerr << "vdx: " << vdx::platform::NoGameFolderMessage(search, "vdx") << "\n";
      return 2;
    }
    gameDir = *search.found;
  }
  // Decided once: where this run writes the player's files.
  const vdx::PlayerFolders folders = vdx::DecidePlayerFolders(gameDir);
  if (options.checkContent) return vdx::RunContentCheck(folders, std::cout, options.json);

  if (options.headless) {
    auto headless = vdx::platform::CreateHeadlessPlatform();
    headless->closeOnTerminalSignals();
    // Only tests read the record of audio calls; a long run would pile it up.
    headless->setRecordingAudioCalls(false);
    if (options.script) {
      auto script = vdx::platform::ReadScriptFile(*options.script);
      if (auto* error = std::get_if<vdx::platform::ScriptError>(&script)) {
        std::cerr << "vdx: " << error->message << "\n";
        return 2;
      }
      headless->runScript(std::get<vdx::platform::Script>(std::move(script)));
    }
    vdx::Game game(*headless, folders);
    return RunHeadless(game, *headless, options);
  }

  std::unique_ptr<vdx::platform::Platform> platform;
  try {
    platform = vdx::platform::CreateSdlPlatform();
  } catch (const vdx::platform::PlatformError& e) {
    std::cerr << "vdx: " << e.what() << "\n";
    return 1;
  }
  vdx::Game game(*platform, folders);
  return vdx::Main(game, options.commandLine, RequestOf(options));
}
