#include "launcher/launcher_run.h"

#include <optional>
#include <system_error>
#include <string>
#include <vector>

#include "content/paths.h"
#include "core/files.h"
#include "launcher/form_state.h"
#include "launcher/form_view.h"
#include "launcher/imgui_canvas.h"
#include "launcher/key_names.h"
#include "launcher/save_settings.h"

namespace vdxlaunch {
namespace {

using vdx::platform::MessageBoxIcon;
using vdx::platform::Platform;
using vdx::platform::PlatformError;

// keys.txt, and the line the form shows when it is missing or partly unreadable.
KeyNames LoadKeyNames(const vdx::PathResolver& paths, std::string& note, std::ostream& errors) {
  const auto path = paths.find("\\keys.txt");
  const auto text = path ? vdx::ReadWholeFile(*path) : std::nullopt;
  if (!text) {
    note = "keys.txt is missing: the key boxes show key codes.";
    errors << "vdxlaunch: keys.txt is missing from " << paths.gameDir().string()
           << "; the key boxes show key codes\n";
    return {};
  }
  KeyNames names = ReadKeysTxt(*text);
  for (const std::string& problem : names.problems)
    errors << "vdxlaunch: " << problem << "\n";
  if (!names.problems.empty())
    note = names.problems.size() == 1
               ? names.problems.front()
               : std::to_string(names.problems.size()) + " lines of keys.txt cannot be read.";
  return names;
}

GameXmlSettings LoadGameXml(const std::optional<std::filesystem::path>& path) {
  const auto bytes = path ? vdx::ReadWholeFile(*path) : std::nullopt;
  if (!bytes) return {false, "Game.xml is missing or cannot be read", {}};
  return ReadFormSettings(*bytes);
}

std::optional<vdx::platform::Image> LoadBackground(Platform& platform,
                                                   const vdx::PathResolver& paths) {
  const auto path = paths.find("\\launcher.bmp");
  const auto bytes = path ? vdx::ReadWholeFile(*path) : std::nullopt;
  if (!bytes) return std::nullopt;
  return platform.decodeBmp(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

// The keys down now, and those that went down since the last frame and are up
// again already: a tap shorter than a frame still reaches the focused box.
vdx::platform::KeyboardState KeysForCapture(Platform& platform) {
  vdx::platform::KeyboardState keys = platform.takeKeyPresses();
  const vdx::platform::KeyboardState& held = platform.keyboardState();
  for (std::size_t code = 0; code < keys.size(); ++code)
    keys[code] |= held[code];
  return keys;
}

// Beside a read-only game folder the settings go into the player's copy of
// Game.xml, made from that copy when there is one, else from the game
// folder's; its folder is made the first time, and the launcher says where.
SaveResult SaveToPlayerCopy(const Launcher& launcher, std::ostream& errors) {
  const std::filesystem::path copy = launcher.folders.userGameXml();
  if (HasDuplicateBinding(launcher.form) || !launcher.loaded.readable ||
      ChangedAttributes(launcher.loaded.settings, launcher.form.settings).empty())
    return SaveForm(launcher.form, launcher.loaded, launcher.gameXml, copy);
  const vdx::FolderMade made = vdx::MakePrivateFolder(launcher.folders.config);
  if (!made.ok)
    return {SaveOutcome::Refused,
            "The settings are not saved, and Game.xml is kept as it was: " + made.error};
  if (made.created)
    errors << "vdxlaunch: the game folder " << launcher.gameDir.string()
           << " cannot be written; your settings are saved in " << copy.string() << "\n";
  std::error_code ec;
  const std::optional<std::filesystem::path> from =
      std::filesystem::exists(copy, ec) ? copy : launcher.gameXml;
  return SaveForm(launcher.form, launcher.loaded, from, copy);
}

// Saves; when that cannot be done, says why. True when saved.
bool Save(Platform& platform, const Launcher& launcher, std::ostream& errors) {
  const SaveResult result = launcher.folders.inGameFolder
                                ? SaveForm(launcher.form, launcher.loaded, launcher.gameXml)
                                : SaveToPlayerCopy(launcher, errors);
  if (result.outcome == SaveOutcome::Saved) return true;
  // Also on the terminal: a desktop without the fonts of SDL's message box
  // shows none.
  errors << "vdxlaunch: " << result.message << "\n";
  platform.showMessageBox(kCannotSaveTitle, result.message, MessageBoxIcon::Critical);
  return false;
}

// The game beside the launcher, full screen, with SHOWFPS when the box is
// ticked; told the game folder unless it is the program's own.
void StartGame(Platform& platform, const Launcher& launcher, bool showFps, std::ostream& errors) {
  const std::string program = (launcher.programDir / "vdx").string();
  std::vector<std::string> args;
  if (launcher.programDir != launcher.gameDir) args = {"--game-dir", launcher.gameDir.string()};
  if (showFps) args.push_back("SHOWFPS");
  if (platform.startProgram(program, args)) return;
  errors << "vdxlaunch: cannot start " << program << "\n";
  platform.showMessageBox("Cannot start the game", "The game could not be started: " + program,
                          MessageBoxIcon::Critical);
}

}  // namespace

Launcher LoadLauncher(const std::filesystem::path& gameDir, std::ostream& errors) {
  return LoadLauncher(vdx::FoldersInGameFolder(gameDir), errors);
}

Launcher LoadLauncher(const vdx::PlayerFolders& folders, std::ostream& errors,
                      const std::filesystem::path& programDir) {
  const std::filesystem::path& gameDir = folders.gameDir;
  vdx::PathResolver paths(gameDir);
  if (!folders.inGameFolder) paths.replaceFile("Game.xml", folders.userGameXml());
  Launcher launcher;
  launcher.gameDir = gameDir;
  launcher.folders = folders;
  launcher.programDir = programDir.empty() ? gameDir : programDir;
  if (!folders.problem.empty()) errors << "vdxlaunch: " << folders.problem << "\n";
  launcher.keyNames = LoadKeyNames(paths, launcher.note, errors);
  launcher.gameXml = paths.find("\\Game.xml");
  launcher.loaded = LoadGameXml(launcher.gameXml);
  if (!launcher.loaded.readable) errors << "vdxlaunch: " << launcher.loaded.problem << "\n";
  launcher.form = LoadForm(launcher.loaded.settings, launcher.keyNames);
  return launcher;
}

int RunLauncher(Platform& platform, Launcher& launcher, std::ostream& errors) {
  platform.setWindowCaption(kFormCaption);
  try {
    platform.openDisplay(false);
  } catch (const PlatformError& e) {
    errors << "vdxlaunch: " << e.what() << "\n";
    return 1;
  }
  try {
    platform.initInput();
  } catch (const PlatformError& e) {
    errors << "vdxlaunch: " << e.what() << "\n";
    platform.showMessageBox(kFormCaption, kInputErrorMessage, MessageBoxIcon::Critical);
    platform.closeDisplay();
    return 1;
  }

  int status = 0;
  try {
    ImGuiCanvas canvas;
    FormLook look;
    look.note = launcher.note;
    if (const auto picture = LoadBackground(platform, vdx::PathResolver(launcher.gameDir)))
      look.background = canvas.addPicture(*picture);
    platform.showWindow();
    if (!launcher.loaded.readable) {
      platform.showMessageBox("Cannot read Game.xml",
                              launcher.loaded.problem +
                                  "\nThe form shows default settings, and Game.xml is kept as "
                                  "it is: nothing will be saved into it.",
                              MessageBoxIcon::Critical);
    }

    // The form is drawn once before it reads the mouse: ImGui finds what lies
    // under the mouse among what the frame before drew, so a click that is
    // already down when the window opens lands too.
    canvas.beginFrame({}, kFrameMs / 1000.0);
    DrawForm(canvas, launcher.form, look, {});
    platform.present(canvas.render());

    std::uint32_t lastFrame = platform.ticks();
    while (!platform.pumpEvents()) {
      const std::uint32_t now = platform.ticks();
      if (now - lastFrame < kFrameMs) continue;
      const double seconds = (now - lastFrame) / 1000.0;
      lastFrame = now;

      const vdx::platform::MouseState mouse = platform.mouseState();
      canvas.beginFrame(mouse, seconds);
      FormState& form = launcher.form;
      const FormAction action = DrawForm(canvas, form, look, mouse);
      CaptureKey(form, KeysForCapture(platform), platform.hasInputFocus(), launcher.keyNames);
      platform.present(canvas.render());

      if (action == FormAction::Exit && Save(platform, launcher, errors)) break;
      if (action == FormAction::Start) {
        // With a key bound twice the game still starts, on the file as it was.
        Save(platform, launcher, errors);
        StartGame(platform, launcher, form.ShowFpsOn, errors);
        break;
      }
    }
  } catch (const PlatformError& e) {
    errors << "vdxlaunch: " << e.what() << "\n";
    status = 1;
  }
  platform.releaseInput();
  platform.closeDisplay();
  return status;
}

}  // namespace vdxlaunch
