// Content paths are written Windows-style ("\Characters\" + Path + "\" ...). This
// turns them into real paths under the game folder: backslashes become separators,
// each component is matched without letter case against the folder's entries
// (listings are cached; a name not found looks again, since the game creates
// files), and a path that would leave the game folder is refused.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vdx {

class PathResolver {
 public:
  explicit PathResolver(std::filesystem::path gameDir);

  const std::filesystem::path& gameDir() const { return gameDir_; }

  // The components of a content path, or nullopt when it climbs out with ".." or
  // names a drive ("C:"). Empty components and "." are dropped.
  static std::optional<std::vector<std::string>> Split(std::string_view contentPath);

  // The real path of an existing file or folder.
  std::optional<std::filesystem::path> find(std::string_view contentPath) const;
  // Where to write a file: its folders must exist (matched as above); the file
  // itself is matched to an existing one or else named as given.
  std::optional<std::filesystem::path> forWriting(std::string_view contentPath) const;
  // The names of a folder's entries, sorted; empty when the folder is missing.
  std::vector<std::string> list(std::string_view contentPath) const;

  // A file of the player's own that stands in for the game folder's file of
  // that name (at the top, any letter case) while it exists: the launcher's
  // copy of Game.xml beside a read-only game folder. find() hands it out in
  // place of the game folder's, so whatever reads the file (the settings, the
  // content check, a replay's fingerprint) reads the same bytes.
  void replaceFile(std::string_view name, std::filesystem::path file);

  // Forgets the cached listings (after the game created or removed files).
  void forget() const { listings_.clear(); }

  // Told of every file (not folder) that find() hands out, which is how the
  // game reaches every content file: a test records what a run opens. None by
  // default.
  using FileObserver = std::function<void(const std::filesystem::path&)>;
  void observeFiles(FileObserver observer) { observer_ = std::move(observer); }

 private:
  std::optional<std::filesystem::path> findQuietly(std::string_view contentPath) const;
  const std::vector<std::string>& listing(const std::filesystem::path& folder) const;
  std::optional<std::filesystem::path> match(const std::filesystem::path& folder,
                                             const std::string& name) const;

  std::filesystem::path gameDir_;
  std::unordered_map<std::string, std::filesystem::path> replacements_;  // by folded name
  mutable std::unordered_map<std::string, std::vector<std::string>> listings_;
  FileObserver observer_;
};

}  // namespace vdx
