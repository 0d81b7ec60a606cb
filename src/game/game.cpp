#include "game/game.h"

#include <system_error>

namespace vdx {

Game::Game(platform::Platform& platformRef, std::filesystem::path gameDir)
    : Game(platformRef, FoldersInGameFolder(gameDir)) {}

Game::Game(platform::Platform& platformRef, PlayerFolders playerFolders)
    : platform(platformRef), folders(std::move(playerFolders)), paths(folders.gameDir) {
  if (folders.inGameFolder) {
    log.path = paths.forWriting("\\log.txt").value_or(paths.gameDir() / "log.txt");
    if (!folders.problem.empty()) log.heading = {folders.problem};
    return;
  }
  paths.replaceFile("Game.xml", folders.userGameXml());
  log.path = folders.state / "log.txt";
  log.heading = {PlayerFoldersNotice(folders)};
  std::error_code ec;
  if (std::filesystem::exists(folders.userGameXml(), ec))
    log.heading.push_back("the settings come from your copy of Game.xml, " +
                          folders.userGameXml().string());
}

}  // namespace vdx
