#include "content/paths.h"

#include <algorithm>
#include <system_error>

#include "content/collection.h"

namespace fs = std::filesystem;

namespace vdx {

PathResolver::PathResolver(fs::path gameDir) : gameDir_(std::move(gameDir)) {}

std::optional<std::vector<std::string>> PathResolver::Split(std::string_view contentPath) {
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&]() -> bool {
    if (current.empty() || current == ".") {
      current.clear();
      return true;
    }
    if (current == ".." || current.find(':') != std::string::npos) return false;
    parts.push_back(std::move(current));
    current.clear();
    return true;
  };
  for (const char c : contentPath) {
    if (c == '\0') return std::nullopt;
    if (c == '\\' || c == '/') {
      if (!flush()) return std::nullopt;
    } else {
      current.push_back(c);
    }
  }
  if (!flush()) return std::nullopt;
  return parts;
}

const std::vector<std::string>& PathResolver::listing(const fs::path& folder) const {
  const std::string key = folder.string();
  if (auto it = listings_.find(key); it != listings_.end()) return it->second;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return listings_.emplace(key, std::move(names)).first->second;
}

std::optional<fs::path> PathResolver::match(const fs::path& folder, const std::string& name) const {
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return folder / name;
  const std::string folded = FoldKey(name);
  auto search = [&]() -> std::optional<fs::path> {
    for (const std::string& entry : listing(folder))
      if (FoldKey(entry) == folded) return folder / entry;
    return std::nullopt;
  };
  if (auto found = search()) return found;
  // The listing may predate the file (the game writes its log and saves), so a
  // miss looks once more before giving up.
  listings_.erase(folder.string());
  return search();
}

std::optional<fs::path> PathResolver::find(std::string_view contentPath) const {
  auto found = findQuietly(contentPath);
  std::error_code ec;
  if (found && observer_ && !fs::is_directory(*found, ec)) observer_(*found);
  return found;
}

void PathResolver::replaceFile(std::string_view name, fs::path file) {
  replacements_[FoldKey(name)] = std::move(file);
}

std::optional<fs::path> PathResolver::findQuietly(std::string_view contentPath) const {
  const auto parts = Split(contentPath);
  if (!parts) return std::nullopt;
  if (parts->size() == 1 && !replacements_.empty()) {
    const auto replaced = replacements_.find(FoldKey(parts->front()));
    std::error_code ec;
    if (replaced != replacements_.end() && fs::exists(replaced->second, ec))
      return replaced->second;
  }
  fs::path current = gameDir_;
  for (const std::string& part : *parts) {
    auto next = match(current, part);
    if (!next) return std::nullopt;
    current = std::move(*next);
  }
  return current;
}

std::optional<fs::path> PathResolver::forWriting(std::string_view contentPath) const {
  auto parts = Split(contentPath);
  if (!parts || parts->empty()) return std::nullopt;
  const std::string fileName = parts->back();
  parts->pop_back();
  fs::path folder = gameDir_;
  for (const std::string& part : *parts) {
    auto next = match(folder, part);
    if (!next) return std::nullopt;
    folder = std::move(*next);
  }
  if (auto existing = match(folder, fileName)) return existing;
  return folder / fileName;
}

std::vector<std::string> PathResolver::list(std::string_view contentPath) const {
  const auto folder = findQuietly(contentPath);
  if (!folder) return {};
  return listing(*folder);
}

}  // namespace vdx
