#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace vdx {

namespace {

std::string CannotRead(int error) {
  if (error == ENOENT || error == ENOTDIR) return "is missing";
  return "cannot be read: " + std::generic_category().message(error);
}

}  // namespace

int OpenRegularFile(const std::filesystem::path& path, std::string& problem) {
  // Looked at before it is opened, so that a device is never opened at all;
  // and opened without waiting, so that a pipe put there in between cannot block.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    problem = CannotRead(errno);
    return -1;
  }
  if (!S_ISREG(status.st_mode)) {
    problem = kNotReadable;
    return -1;
  }
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  while (fd < 0 && errno == EINTR)
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    problem = CannotRead(errno);
    return -1;
  }
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = kNotReadable;
    ::close(fd);
    return -1;
  }
  // Reads of a regular file never wait anyway; later readers get an ordinary descriptor.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

FileRead ReadFile(const std::filesystem::path& path, std::size_t mostBytes) {
  FileRead read;
  const int fd = OpenRegularFile(path, read.problem);
  if (fd < 0) return read;
  auto tooLarge = [&](std::uint64_t size) {
    read.problem = "is larger than the game reads (" + std::to_string(size) + " bytes; at most " +
                   std::to_string(mostBytes) + ")";
    ::close(fd);
    return read;
  };
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    read.problem = CannotRead(errno);
    ::close(fd);
    return read;
  }
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > mostBytes) return tooLarge(size);
  std::string bytes;
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t have = 0;
  // The size is only a first guess: the file may grow or shrink while it is read.
  while (true) {
    char more[4096];
    const bool expected = have < bytes.size();
    const ssize_t got = expected ? ::read(fd, bytes.data() + have, bytes.size() - have)
                                 : ::read(fd, more, sizeof more);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      read.problem = CannotRead(errno);
      ::close(fd);
      return read;
    }
    const auto count = static_cast<std::size_t>(got);
    if (!expected) {
      if (have + count > mostBytes) return tooLarge(have + count);
      bytes.append(more, count);
    }
    have += count;
  }
  ::close(fd);
  bytes.resize(have);
  read.bytes = std::move(bytes);
  return read;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  return ReadFile(path).bytes;
}

int FileSystemCalls::RealOpen(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}
ssize_t FileSystemCalls::RealWrite(int fd, const void* bytes, std::size_t count) {
  return ::write(fd, bytes, count);
}
int FileSystemCalls::RealFsync(int fd) {
  return ::fsync(fd);
}
int FileSystemCalls::RealFchmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}
int FileSystemCalls::RealFchown(int fd, uid_t owner, gid_t group) {
  return ::fchown(fd, owner, group);
}
int FileSystemCalls::RealClose(int fd) {
  return ::close(fd);
}
int FileSystemCalls::RealRename(const char* from, const char* to) {
  return ::rename(from, to);
}
int FileSystemCalls::RealUnlink(const char* path) {
  return ::unlink(path);
}

namespace {

// Linux gives up on a path after 40 links; so do we.
constexpr int kMaxLinks = 40;
// Temporary names already taken (left by a crashed writer whose process id has
// come round again) are skipped; this many in a row means something else is wrong.
constexpr int kNameAttempts = 100;

std::string Reason(std::string_view step, const std::string& what, int error) {
  return std::string(step) + " " + what + ": " + std::generic_category().message(error);
}

WriteResult Failed(std::string error) {
  return WriteResult{false, false, std::move(error)};
}

int FsyncRetrying(const FileSystemCalls& calls, int fd) {
  int result = calls.fsync(fd);
  while (result != 0 && errno == EINTR)
    result = calls.fsync(fd);
  return result;
}

// The file a write replaces: the path itself, or the end of its chain of links.
struct Target {
  std::filesystem::path path;
  bool exists = false;
  struct stat status {};  // of the existing file
};

// Returns the reason when the path cannot be followed, or leads where the game
// must not write.
std::optional<std::string> FindTarget(const std::filesystem::path& path, Target& target) {
  target.path = path;
  int links = 0;
  for (;; ++links) {
    if (::lstat(target.path.c_str(), &target.status) != 0) {
      const int error = errno;
      if (error == ENOENT) break;  // new (a missing folder is left to open)
      return Reason("stat", target.path.string(), error);
    }
    if (!S_ISLNK(target.status.st_mode)) {
      target.exists = true;
      break;
    }
    if (links == kMaxLinks) return Reason("stat", path.string(), ELOOP);
    std::error_code ec;
    const std::filesystem::path next = std::filesystem::read_symlink(target.path, ec);
    if (ec) return Reason("readlink", target.path.string(), ec.value());
    target.path = next.is_absolute() ? next : target.path.parent_path() / next;
  }
  if (links > 0) {
    const std::filesystem::path folder = path.parent_path();
    if (!LiesWithin(target.path.parent_path(), folder))
      return "refuse " + path.string() + ": it is a link that leads out of " +
             (folder.empty() ? std::string(".") : folder.string()) + " (to " +
             target.path.string() + "); the file there is left alone";
  }
  if (target.exists && !S_ISREG(target.status.st_mode))
    return "replace " + target.path.string() + ": not a regular file";
  return std::nullopt;
}

// Makes a rename in the folder survive a power cut.
std::optional<std::string> FlushFolder(const FileSystemCalls& calls,
                                       const std::filesystem::path& folder) {
  const std::string name = folder.empty() ? "." : folder.string();
  int fd = calls.open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  while (fd < 0 && errno == EINTR)
    fd = calls.open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) {
    const int error = errno;
    return Reason("open folder", name, error);
  }
  if (FsyncRetrying(calls, fd) != 0) {
    const int error = errno;
    calls.close(fd);
    // Some file systems cannot flush a folder at all; there is nothing more to do there.
    if (error != EINVAL && error != ENOTSUP) return Reason("fsync folder", name, error);
    return std::nullopt;
  }
  if (calls.close(fd) != 0) {
    const int error = errno;
    return Reason("close folder", name, error);
  }
  return std::nullopt;
}

}  // namespace

bool LiesWithin(const std::filesystem::path& inner, const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::path realFolder =
      std::filesystem::weakly_canonical(folder.empty() ? "." : folder, ec);
  if (ec) return false;
  const std::filesystem::path realInner =
      std::filesystem::weakly_canonical(inner.empty() ? "." : inner, ec);
  if (ec) return false;
  return std::mismatch(realFolder.begin(), realFolder.end(), realInner.begin(), realInner.end())
             .first == realFolder.end();
}

WriteResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  return WriteWholeFile(path, bytes, FileSystemCalls{});
}

WriteResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes,
                           const FileSystemCalls& calls) {
  Target target;
  if (auto error = FindTarget(path, target)) return Failed(std::move(*error));

  // A name of our own beside the target. Created exclusively: an existing file
  // (or a link planted there) is never opened. A new file asks for 0666 and the
  // kernel takes off the umask; a replacement starts private and gets the old
  // file's mode below, so its bytes are never readable by more than the old ones.
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path folder = target.path.parent_path();
  const std::string prefix =
      "." + target.path.filename().string() + "." + std::to_string(::getpid()) + ".";
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 1;; ++attempt) {
    temporary = folder / (prefix + std::to_string(++counter));
    fd = calls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    target.exists ? S_IRUSR | S_IWUSR : 0666);
    if (fd >= 0) break;
    const int error = errno;
    if ((error != EEXIST && error != EINTR) || attempt == kNameAttempts)
      return Failed(Reason("open", temporary.string(), error));
  }

  // Takes errno as read straight after the failed call, before anything else
  // can change it.
  auto fail = [&](std::string_view step, int error) {
    std::string what = temporary.string();
    if (step == "rename") what += " over " + target.path.string();
    std::string reason = Reason(step, what, error);
    if (fd >= 0) calls.close(fd);  // already failing; its result adds nothing
    if (calls.unlink(temporary.c_str()) != 0)
      reason += " (and " + temporary.string() + " could not be removed)";
    return Failed(std::move(reason));
  };

  if (target.exists) {
    // Owner first: changing it clears the set-user and set-group bits.
    if (::geteuid() == 0 && calls.fchown(fd, target.status.st_uid, target.status.st_gid) != 0)
      return fail("chown", errno);
    if (calls.fchmod(fd, target.status.st_mode & 07777) != 0) return fail("chmod", errno);
  }

  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = calls.write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail("write", errno);
    }
    // No progress and no error would loop for ever; a full disk is the likely cause.
    if (written == 0) return fail("write", ENOSPC);
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  if (FsyncRetrying(calls, fd) != 0) return fail("fsync", errno);
  // Never retried: on Linux the descriptor is gone whatever close returns.
  const int closed = calls.close(fd);
  fd = -1;
  if (closed != 0) return fail("close", errno);
  if (calls.rename(temporary.c_str(), target.path.c_str()) != 0) return fail("rename", errno);

  // The new file is in place from here on: a folder that cannot be flushed is
  // reported with `replaced` set, as a power cut might still bring back the old file.
  if (auto error = FlushFolder(calls, folder)) return WriteResult{false, true, std::move(*error)};
  return WriteResult{true, true, {}};
}

}  // namespace vdx
