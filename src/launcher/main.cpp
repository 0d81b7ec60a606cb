// vdxlaunch: the program's entry. Picks the platform and runs the launcher.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "launcher/launcher_options.h"
#include "launcher/launcher_run.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "platform/program_folder.h"

namespace {

// A headless run prints what a player would have seen of the desktop: the
// message boxes, then the program it started.
int RunHeadless(vdx::platform::HeadlessPlatform& headless, vdxlaunch::Launcher& launcher) {
  const int status = vdxlaunch::RunLauncher(headless, launcher, std::cerr);
  for (const vdx::platform::MessageBoxCall& box : headless.messageBoxes())
    std::cout << "message box \"" << box.title << "\": " << box.text << "\n";
  for (const vdx::platform::ShellCall& call : headless.shellCalls()) {
    std::cout << "start " << call.path;
    for (const std::string& arg : call.args)
      std::cout << " " << arg;
    std::cout << "\n";
  }
  for (const std::string& failed : headless.screenshotFailures())
    std::cerr << "vdxlaunch: cannot write the screenshot " << failed << "\n";
  return headless.screenshotFailures().empty() ? status : (status == 0 ? 1 : status);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const vdxlaunch::LauncherOptions options = vdxlaunch::ParseLauncherOptions(args);
  if (!options.error.empty()) {
    std::cerr << "vdxlaunch: " << options.error << "\nTry vdxlaunch --help\n";
    return 2;
  }
  if (options.help) {
    std::cout << vdxlaunch::LauncherUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "vdxlaunch " << VDX_VERSION << "\n";
    return 0;
  }
  const std::filesystem::path programDir = vdx::platform::ProgramFolder(argv[0]);
  std::filesystem::path gameDir;
  if (options.gameDir) {
    gameDir = std::filesystem::absolute(*options.gameDir);
  } else {
    const auto search =
        vdx::platform::FindGameFolder(programDir, vdx::platform::InstalledGameFolder());
    if (!search.found) {
      std::cerr << "vdxlaunch: " << vdx::platform::NoGameFolderMessage(search, "vdxlaunch")
                << "\n";
      return 2;
    }
    gameDir = *search.found;
  }
  vdxlaunch::Launcher launcher =
      vdxlaunch::LoadLauncher(vdx::DecidePlayerFolders(gameDir), std::cerr, programDir);

  if (options.headless) {
    auto headless = vdx::platform::CreateHeadlessPlatform();
    headless->closeOnTerminalSignals();
    auto script = vdx::platform::ReadScriptFile(*options.script);
    if (auto* error = std::get_if<vdx::platform::ScriptError>(&script)) {
      std::cerr << "vdxlaunch: " << error->message << "\n";
      return 2;
    }
    headless->runScript(std::get<vdx::platform::Script>(std::move(script)));
    return RunHeadless(*headless, launcher);
  }

  std::unique_ptr<vdx::platform::Platform> platform;
  try {
    platform = vdx::platform::CreateSdlPlatform();
  } catch (const vdx::platform::PlatformError& e) {
    std::cerr << "vdxlaunch: " << e.what() << "\n";
    return 1;
  }
  return vdxlaunch::RunLauncher(*platform, launcher, std::cerr);
}
