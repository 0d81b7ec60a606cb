#include "game/player_files.h"

#include <iostream>
#include <system_error>

#include "core/log.h"

namespace fs = std::filesystem;

namespace vdx {

bool ReadyPlayerFolder(Game& game, const fs::path& folder) {
  if (game.folders.inGameFolder) return true;
  const FolderMade made = MakePrivateFolder(folder);
  if (!made.ok) {
    ReportFailedWrite(game.log, folder, "cannot make the folder for your files: " + made.error);
    return false;
  }
  if (made.created && !game.playerFoldersSaid) {
    game.playerFoldersSaid = true;
    (game.log.errors != nullptr ? *game.log.errors : std::cerr)
        << "vdx: " << PlayerFoldersNotice(game.folders) << "\n";
  }
  return true;
}

void ReadyPlayerFiles(Game& game) {
  if (!game.folders.problem.empty())
    (game.log.errors != nullptr ? *game.log.errors : std::cerr)
        << "vdx: " << game.folders.problem << "\n";
  ReadyPlayerFolder(game, game.folders.state);
}

namespace {

constexpr const char* kSaveFile = "save.dat";

fs::path GameFolderSave(const Game& game) {
  return game.paths.find("\\save.dat").value_or(game.paths.gameDir() / kSaveFile);
}

}  // namespace

fs::path SaveFileForWriting(const Game& game) {
  return game.folders.inGameFolder ? GameFolderSave(game) : game.folders.data / kSaveFile;
}

fs::path SaveFileForReading(const Game& game) {
  if (game.folders.inGameFolder) return GameFolderSave(game);
  const fs::path own = game.folders.data / kSaveFile;
  std::error_code ec;
  if (fs::exists(own, ec) || ec) return own;
  const auto installed = game.paths.find("\\save.dat");
  return installed ? *installed : own;
}

fs::path ReplayFileForWriting(Game& game, const fs::path& asGiven) {
  if (asGiven.is_absolute() || game.folders.inGameFolder) return asGiven;
  ReadyPlayerFolder(game, game.folders.data);
  return game.folders.data / asGiven;
}

}  // namespace vdx
