// vdxlaunch from start to end: reads keys.txt and Game.xml from the game
// folder, shows the form until the player saves with EXIT, starts the game with
// START, or closes the window (which saves nothing).
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "core/player_folders.h"
#include "launcher/form_settings.h"
#include "launcher/form_state.h"
#include "launcher/key_names.h"
#include "platform/platform.h"

namespace vdxlaunch {

inline constexpr const char* kInputErrorMessage =
    "Error starting DirectInput, please make sure you have the latest version of DirectX "
    "installed.";

// The form is drawn every this many milliseconds.
inline constexpr std::uint32_t kFrameMs = 16;

// What the launcher knows of the game folder, and the form it shows.
struct Launcher {
  std::filesystem::path gameDir;
  // Where the settings are saved: into the game folder's Game.xml, or the
  // player's copy beside a read-only game folder.
  vdx::PlayerFolders folders;
  // The folder of the game's program, which START runs: the launcher's own.
  std::filesystem::path programDir;
  KeyNames keyNames;
  // Where Game.xml was read: the player's copy while there is one, else the
  // game folder's; nullopt: there is none.
  std::optional<std::filesystem::path> gameXml;
  GameXmlSettings loaded;  // Game.xml as it was read at the start
  FormState form;
  std::string note;  // the form's foot line: what is wrong with keys.txt
};

// Reads keys.txt and Game.xml of the folder (the player's copy of Game.xml in
// its place when `folders` has one). Problems that do not stop the launcher go
// to `errors` (and onto the form). START runs the vdx of `programDir`, which
// is the game folder when not given.
Launcher LoadLauncher(const vdx::PlayerFolders& folders, std::ostream& errors,
                      const std::filesystem::path& programDir = {});
// Everything in the game folder.
Launcher LoadLauncher(const std::filesystem::path& gameDir, std::ostream& errors);

// Shows the form until the player saves with EXIT, starts the game with START,
// or closes the window (which saves nothing). Returns the exit status: 0, or 1
// when the window or the keyboard cannot be had.
int RunLauncher(vdx::platform::Platform& platform, Launcher& launcher, std::ostream& errors);

}  // namespace vdxlaunch
