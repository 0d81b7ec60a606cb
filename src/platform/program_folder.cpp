#include "platform/program_folder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#ifndef VDX_DATA_DIR
#define VDX_DATA_DIR "/usr/local/share/games/vdx"
#endif

namespace vdx::platform {

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  const auto fromArgs = std::filesystem::absolute(argv0, ec);
  return ec ? std::filesystem::current_path() : fromArgs.parent_path();
}

std::filesystem::path InstalledGameFolder() {
  return VDX_DATA_DIR;
}

bool HoldsGameXml(const std::filesystem::path& folder) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::error_code kind;
    if (name == "game.xml" && std::filesystem::is_regular_file(it->path(), kind)) return true;
  }
  return false;
}

GameFolderSearch FindGameFolder(const std::filesystem::path& programDir,
                                const std::filesystem::path& installed) {
  GameFolderSearch search;
  const std::filesystem::path candidates[] = {
      programDir, installed, (programDir / ".." / "share" / "games" / "vdx").lexically_normal()};
  for (const std::filesystem::path& folder : candidates) {
    if (std::find(search.tried.begin(), search.tried.end(), folder) != search.tried.end())
      continue;
    search.tried.push_back(folder);
    if (HoldsGameXml(folder)) {
      search.found = folder;
      break;
    }
  }
  return search;
}

std::string NoGameFolderMessage(const GameFolderSearch& search, std::string_view program) {
  std::string message = "no game folder found (looked for Game.xml in ";
  for (std::size_t i = 0; i < search.tried.size(); ++i)
    message += (i == 0 ? "" : i + 1 == search.tried.size() ? " and " : ", ") +
               search.tried[i].string();
  return message + "); name the game's folder with " + std::string(program) +
         " --game-dir DIR";
}

}  // namespace vdx::platform
