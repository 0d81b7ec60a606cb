#include "game/game.h"

namespace vdx {

Game::Game(platform::Platform& platformRef, std::filesystem::path gameDir)
    : platform(platformRef), paths(std::move(gameDir)) {
  log.path = paths.forWriting("\\log.txt").value_or(paths.gameDir() / "log.txt");
}

}  // namespace vdx
