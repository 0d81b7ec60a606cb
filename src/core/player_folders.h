// Where a run writes the player's own files. A game folder this user can write
// to (one unpacked or built) keeps them all, as it always has. An installed,
// read-only game folder cannot: then the files go to the player's folders by
// the XDG base-directory rules, each in a subfolder named after the game
// folder, so that two installed games never share a save:
//   $XDG_STATE_HOME/vdx/<name>/log.txt                      (~/.local/state)
//   $XDG_DATA_HOME/vdx/<name>/save.dat, screenshots/, replays (~/.local/share)
//   $XDG_CONFIG_HOME/vdx/<name>/Game.xml, the launcher's settings (~/.config)
// The decision is taken once, at start-up.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vdx {

struct PlayerFolders {
  std::filesystem::path gameDir;
  // The game folder takes the player's files: log, save and screenshots are
  // written there, and its Game.xml is the only one. The folders below are
  // then the game folder itself.
  bool inGameFolder = true;
  std::filesystem::path state;   // log.txt
  std::filesystem::path data;    // save.dat, screenshots, replays named without a folder
  std::filesystem::path config;  // the launcher's copy of Game.xml
  // Why the player's folders could not be named (no home folder): the files
  // are then written to the game folder, and those writes fail and are said.
  std::string problem;

  // The player's copy of Game.xml, which stands in for the game folder's when
  // it exists; empty while the game folder takes the player's files.
  std::filesystem::path userGameXml() const;
};

// Everything in the game folder: what tests and writable folders get.
PlayerFolders FoldersInGameFolder(const std::filesystem::path& gameDir);

// What the decision looks at, with the real ones as defaults: tests pass their
// own environment, and say which folders count as writable.
struct FolderSystem {
  std::function<std::optional<std::string>(const char* name)> environment = RealEnvironment;
  std::function<bool(const std::filesystem::path& folder)> writable = CanCreateFilesIn;
  // The home folder when HOME is unset or unusable (the password database's).
  std::function<std::optional<std::string>()> accountHome = RealAccountHome;

  static std::optional<std::string> RealEnvironment(const char* name);
  static std::optional<std::string> RealAccountHome();
  // Whether this user can create a file in the folder, found out by creating
  // one (and removing it at once): permission bits do not tell, since root
  // passes them on a read-only mount.
  static bool CanCreateFilesIn(const std::filesystem::path& folder);
};

// Decides where this run's files go. A game folder that does not exist (or is
// not a folder) is left as the place: there is no game there to play.
PlayerFolders DecidePlayerFolders(const std::filesystem::path& gameDir,
                                  const FolderSystem& system = {});

// One XDG base folder: the variable's value when it is an absolute path, else
// `fallback` under the home folder (HOME when absolute, else the account's);
// nothing when there is no home folder either.
std::optional<std::filesystem::path> XdgBaseFolder(const FolderSystem& system, const char* variable,
                                                   std::string_view fallback);

// The subfolder name of a game folder: its own folder's name, never empty,
// "." or "..", and with control characters and backslashes made '_'.
std::string GameFolderName(const std::filesystem::path& gameDir);

// Makes the folder and any missing folder above it, each with mode 0700.
struct FolderMade {
  bool ok = false;
  bool created = false;  // it did not exist before
  std::string error;     // the step, the folder and the system's reason
};
FolderMade MakePrivateFolder(const std::filesystem::path& folder);

// The line that says where a run in a read-only game folder writes.
std::string PlayerFoldersNotice(const PlayerFolders& folders);

}  // namespace vdx
