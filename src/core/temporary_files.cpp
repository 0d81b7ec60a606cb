#include "core/temporary_files.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <limits>
#include <system_error>

namespace vdx {
namespace {

// The number a run of decimal digits spells, or nothing (none, or too many).
std::optional<unsigned long long> Digits(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  unsigned long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned long long>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<pid_t> TemporaryFileWriter(std::string_view name) {
  // "." name "." pid "." n, where the name itself may hold dots.
  if (name.size() < 6 || name[0] != '.') return std::nullopt;
  const auto lastDot = name.rfind('.');
  if (!Digits(name.substr(lastDot + 1))) return std::nullopt;
  const auto pidDot = name.rfind('.', lastDot - 1);
  if (pidDot == std::string_view::npos || pidDot < 2) return std::nullopt;  // an empty name
  const auto pid = Digits(name.substr(pidDot + 1, lastDot - pidDot - 1));
  // 0 and the largest numbers are no process (and kill() would take them for groups).
  if (!pid || *pid == 0 ||
      *pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max()))
    return std::nullopt;
  return static_cast<pid_t>(*pid);
}

std::optional<std::string_view> TemporaryFileTarget(std::string_view name) {
  if (!TemporaryFileWriter(name)) return std::nullopt;
  const auto lastDot = name.rfind('.');
  const auto pidDot = name.rfind('.', lastDot - 1);
  return name.substr(1, pidDot - 1);
}

int RemoveLeftTemporaryFiles(const std::filesystem::path& folder,
                             std::initializer_list<std::string_view> targets) {
  auto sameName = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
             return std::tolower(x) == std::tolower(y);
           });
  };
  int removed = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    const auto target = TemporaryFileTarget(name);
    if (!target || std::none_of(targets.begin(), targets.end(), [&](std::string_view t) {
          return sameName(*target, t);
        }))
      continue;
    const auto pid = TemporaryFileWriter(name);
    // A process that still runs (ours included) may still rename it into place.
    if (::kill(*pid, 0) == 0 || errno != ESRCH) continue;
    struct stat status {};
    if (::lstat(it->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace vdx
