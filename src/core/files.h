// Whole-file reads and writes. Files the game writes (log.txt, save.dat,
// replays, screenshots, the launcher's Game.xml) are written to a temporary file
// in the same folder, flushed to disk and renamed over the old one, so a crash,
// a power cut or a full disk never leaves half a file.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vdx {

// Reads never wait on a pipe or a device: a game folder may hold a FIFO named
// like a content file, and opening one for reading would block until someone
// writes to it. Only regular files are read (following links), and no larger
// than `mostBytes`, which is checked before anything is allocated.
inline constexpr std::size_t kMostBytesRead = std::size_t{1} << 28;  // 256 MiB
inline constexpr std::string_view kNotReadable = "is not a file the game can read";

// Opens a regular file for reading without ever blocking: the descriptor (to
// close), or -1 with `problem` set to words that follow the file's name ("is
// missing", "is not a file the game can read", "cannot be read: <reason>").
int OpenRegularFile(const std::filesystem::path& path, std::string& problem);

struct FileRead {
  std::optional<std::string> bytes;
  std::string problem;  // when there are no bytes, as for OpenRegularFile, or "is larger ..."
};
FileRead ReadFile(const std::filesystem::path& path, std::size_t mostBytes = kMostBytesRead);
// The bytes of ReadFile, for readers that report a missing file in their own words.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Whether `inner` is `folder` or lies below it, as the system finds them: links
// in either path are followed, and a part that does not exist yet is taken as written.
bool LiesWithin(const std::filesystem::path& inner, const std::filesystem::path& folder);

// What became of a write. On failure `error` names the step that failed, the
// file and the system's reason ("write /g/.save.dat.4242.1: No space left on
// device").
struct WriteResult {
  bool ok = false;
  // The new bytes are at the path. True when ok, and also when only the flush
  // of the folder after the rename failed: the file is complete, but a power
  // cut could still bring back the old one.
  bool replaced = false;
  std::string error;  // empty when ok

  explicit operator bool() const { return ok; }
};

// The system calls a write goes through, with the real ones as defaults. Tests
// replace single members to make one step fail; the Real* functions let a
// replacement pass on to the real call.
struct FileSystemCalls {
  static int RealOpen(const char* path, int flags, mode_t mode);
  static ssize_t RealWrite(int fd, const void* bytes, std::size_t count);
  static int RealFsync(int fd);
  static int RealFchmod(int fd, mode_t mode);
  static int RealFchown(int fd, uid_t owner, gid_t group);
  static int RealClose(int fd);
  static int RealRename(const char* from, const char* to);
  static int RealUnlink(const char* path);

  int (*open)(const char* path, int flags, mode_t mode) = &RealOpen;  // files and the folder
  ssize_t (*write)(int fd, const void* bytes, std::size_t count) = &RealWrite;
  int (*fsync)(int fd) = &RealFsync;  // the file, then the folder
  int (*fchmod)(int fd, mode_t mode) = &RealFchmod;
  int (*fchown)(int fd, uid_t owner, gid_t group) = &RealFchown;
  int (*close)(int fd) = &RealClose;  // the file, then the folder
  int (*rename)(const char* from, const char* to) = &RealRename;
  int (*unlink)(const char* path) = &RealUnlink;  // removes the temporary file on failure
};

// Replaces the file at `path` with `bytes`, or leaves it byte for byte as it
// was and says why not.
// - The temporary file is ".<name>.<pid>.<n>" beside the target, created
//   exclusively, so two writers (threads or programs) never share one; the last
//   rename wins and the file always holds one writer's bytes whole.
// - Order: write all the bytes, fsync, close, rename over the target, fsync the
//   folder so the rename itself survives a power cut (where the file system
//   can flush folders at all: EINVAL or ENOTSUP there is not a failure).
// - An existing file keeps its permission bits, and its owner and group when we
//   run as root; a new file gets 0666 less the umask, like any other.
// - A symbolic link (or a chain of them) is written through only while it stays
//   inside the folder the path names: the file it points at is replaced (a
//   dangling link creates its target) and the link stays. A link whose target
//   lies outside that folder (really: its folders are followed too) is refused,
//   naming the link, and its target is left untouched, so a game folder from
//   anyone cannot make the game replace a file elsewhere.
// - Only regular files are replaced: a folder, a device or a pipe at the path
//   (say log.txt linked to /dev/null) is refused and left alone.
WriteResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
WriteResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes,
                           const FileSystemCalls& calls);

}  // namespace vdx
