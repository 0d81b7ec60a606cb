#include "core/player_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace vdx {

fs::path PlayerFolders::userGameXml() const {
  return inGameFolder ? fs::path() : config / "Game.xml";
}

PlayerFolders FoldersInGameFolder(const fs::path& gameDir) {
  PlayerFolders folders;
  folders.gameDir = gameDir;
  folders.state = folders.data = folders.config = gameDir;
  return folders;
}

std::optional<std::string> FolderSystem::RealEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> FolderSystem::RealAccountHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr)
    return std::nullopt;
  return std::string(found->pw_dir);
}

bool FolderSystem::CanCreateFilesIn(const fs::path& folder) {
  // An unnamed file leaves nothing behind, whatever happens to the run.
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  // File systems without unnamed files: a named one, removed at once.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path probe = folder / (".vdx-write-test." + std::to_string(::getpid()) + "." +
                                     std::to_string(++counter));
    fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(probe.c_str());
      return true;
    }
    if (errno != EEXIST && errno != EINTR) return false;
  }
  return false;
}

std::optional<fs::path> XdgBaseFolder(const FolderSystem& system, const char* variable,
                                      std::string_view fallback) {
  // The rules: a value that is empty or not an absolute path is ignored.
  if (const auto value = system.environment(variable);
      value && !value->empty() && fs::path(*value).is_absolute())
    return fs::path(*value);
  std::optional<std::string> home = system.environment("HOME");
  if (!home || home->empty() || !fs::path(*home).is_absolute()) home = system.accountHome();
  if (!home || home->empty() || !fs::path(*home).is_absolute()) return std::nullopt;
  return fs::path(*home) / fallback;
}

std::string GameFolderName(const fs::path& gameDir) {
  fs::path folder = gameDir.lexically_normal();
  // "/games/vdx/" names its last part with an empty file name.
  if (folder.has_relative_path() && folder.filename().empty()) folder = folder.parent_path();
  std::string name = folder.filename().string();
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '/' || c == '\\') c = '_';
  if (name.empty() || name == "." || name == "..") return "game";
  return name;
}

PlayerFolders DecidePlayerFolders(const fs::path& gameDir, const FolderSystem& system) {
  PlayerFolders folders = FoldersInGameFolder(gameDir);
  std::error_code ec;
  if (!fs::is_directory(gameDir, ec) || system.writable(gameDir)) return folders;
  const auto state = XdgBaseFolder(system, "XDG_STATE_HOME", ".local/state");
  const auto data = XdgBaseFolder(system, "XDG_DATA_HOME", ".local/share");
  const auto config = XdgBaseFolder(system, "XDG_CONFIG_HOME", ".config");
  if (!state || !data || !config) {
    folders.problem = "the game folder " + gameDir.string() +
                      " cannot be written, and there is no home folder (HOME) to keep your "
                      "files in";
    return folders;
  }
  const fs::path sub = fs::path("vdx") / GameFolderName(gameDir);
  folders.inGameFolder = false;
  folders.state = *state / sub;
  folders.data = *data / sub;
  folders.config = *config / sub;
  return folders;
}

FolderMade MakePrivateFolder(const fs::path& folder) {
  FolderMade made;
  // From the top down, each missing folder made private as the rules ask.
  fs::path current;
  for (const fs::path& part : folder) {
    current /= part;
    if (::mkdir(current.c_str(), S_IRWXU) == 0) {
      made.created = true;
      continue;
    }
    const int error = errno;
    struct stat status {};
    if (error == EEXIST && ::stat(current.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
      continue;
    made.error = "make the folder " + current.string() + ": " +
                 (error == EEXIST ? std::string("it is not a folder")
                                  : std::generic_category().message(error));
    return made;
  }
  made.ok = true;
  return made;
}

std::string PlayerFoldersNotice(const PlayerFolders& folders) {
  return "the game folder " + folders.gameDir.string() + " cannot be written; your log goes to " +
         folders.state.string() + ", your save, screenshots and replays to " +
         folders.data.string();
}

}  // namespace vdx
