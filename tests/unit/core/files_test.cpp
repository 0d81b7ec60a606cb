#include "core/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "unit/fifo.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

struct stat Stat(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

// The call that fails: the one after `skip` calls of its kind, and every one
// from then on when `always`. The replacements below record the calls in
// `trace`, a run of writes as one.
// Plain pointers, not strings: GCC 12 at -O3 mistakes the strings of the case
// table below for uninitialised ones.
struct Fault {
  const char* call = "";
  int skip = 0;
  int error = 0;
  bool always = false;
};
Fault fault;
std::vector<std::string> trace;

bool Fails(std::string_view call) {
  if (call != "write" || trace.empty() || trace.back() != "write") trace.emplace_back(call);
  if (std::string_view(fault.call) != call || fault.skip < 0) return false;
  if (fault.skip > 0) {
    --fault.skip;
    return false;
  }
  if (!fault.always) fault.skip = -1;  // fired
  errno = fault.error;
  return true;
}

FileSystemCalls Injected() {
  FileSystemCalls calls;
  calls.open = [](const char* path, int flags, mode_t mode) {
    return Fails("open") ? -1 : FileSystemCalls::RealOpen(path, flags, mode);
  };
  // At most half of what is asked (at least one byte): every write is a short one.
  calls.write = [](int fd, const void* bytes, std::size_t count) -> ssize_t {
    return Fails("write") ? -1 : FileSystemCalls::RealWrite(fd, bytes, (count + 1) / 2);
  };
  calls.fsync = [](int fd) { return Fails("fsync") ? -1 : FileSystemCalls::RealFsync(fd); };
  calls.fchmod = [](int fd, mode_t mode) {
    return Fails("chmod") ? -1 : FileSystemCalls::RealFchmod(fd, mode);
  };
  calls.fchown = [](int fd, uid_t owner, gid_t group) {
    return Fails("chown") ? -1 : FileSystemCalls::RealFchown(fd, owner, group);
  };
  calls.close = [](int fd) {  // closes for real either way, as Linux does
    const int closed = FileSystemCalls::RealClose(fd);
    return Fails("close") ? -1 : closed;
  };
  calls.rename = [](const char* from, const char* to) {
    return Fails("rename") ? -1 : FileSystemCalls::RealRename(from, to);
  };
  return calls;
}

TEST(WriteWholeFile, AFailedStepLeavesTheOldFileAndNamesTheStep) {
  struct Case {
    Fault fault;
    bool ok, replaced;
    const char* reason;  // how the error starts
  };
  const std::vector<Case> cases = {
      {{"open", 0, EACCES}, false, false, "open "},
      {{"open", 0, EEXIST}, true, true, ""},  // a name left by someone else: the next one
      {{"open", 0, EEXIST, true}, false, false, "open "},  // gives up in the end
      {{"chown", 0, EPERM}, false, false, "chown "},
      {{"chmod", 0, EPERM}, false, false, "chmod "},
      {{"write", 1, ENOSPC}, false, false, "write "},  // half the bytes are written
      {{"write", 1, EINTR}, true, true, ""},
      {{"fsync", 0, EIO}, false, false, "fsync "},
      {{"fsync", 0, EINTR}, true, true, ""},
      {{"close", 0, EIO}, false, false, "close "},
      {{"rename", 0, EXDEV}, false, false, "rename "},
      {{"open", 1, EACCES}, false, true, "open folder "},
      {{"fsync", 1, EIO}, false, true, "fsync folder "},
      {{"fsync", 1, EINVAL}, true, true, ""},  // a file system that cannot flush folders
      {{"close", 1, EIO}, false, true, "close folder "},
  };
  const std::string newBytes(1000, 'n');
  for (const Case& c : cases) {
    if (std::string_view(c.fault.call) == "chown" && ::geteuid() != 0)
      continue;  // only root keeps owners
    SCOPED_TRACE(std::string(c.fault.call) + " fails with " +
                 std::generic_category().message(c.fault.error) + " after " +
                 std::to_string(c.fault.skip));
    testing::TestFolder folder;
    const fs::path file = folder.write("save.dat", "old bytes");
    fs::permissions(file, fs::perms(0640));
    const ino_t oldInode = Stat(file).st_ino;
    fault = c.fault;
    trace.clear();

    const WriteResult result = WriteWholeFile(file, newBytes, Injected());
    EXPECT_EQ(result.ok, c.ok) << result.error;
    EXPECT_EQ(static_cast<bool>(result), c.ok);
    EXPECT_EQ(result.replaced, c.replaced);
    if (c.ok) {
      EXPECT_EQ(result.error, "");
    } else {
      EXPECT_TRUE(result.error.starts_with(c.reason)) << result.error;
      EXPECT_NE(result.error.find(std::generic_category().message(c.fault.error)),
                std::string::npos)
          << result.error;
    }
    EXPECT_EQ(folder.read("save.dat"), c.replaced ? newBytes : "old bytes");
    if (!c.replaced) {
      EXPECT_EQ(Stat(file).st_ino, oldInode) << "the old file itself is kept";
    }
    EXPECT_EQ(Stat(file).st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(folder.path()), std::set<std::string>{"save.dat"}) << "no temporary left";
  }
}

TEST(WriteWholeFile, FlushesTheFileBeforeTheRenameAndTheFolderAfterIt) {
  testing::TestFolder folder;
  const fs::path file = folder.write("save.dat", "old");
  fault = {};
  trace.clear();
  ASSERT_TRUE(WriteWholeFile(file, "new bytes", Injected()));
  std::vector<std::string> expected = {"open",  "chown",  "chmod", "write", "fsync",
                                       "close", "rename", "open",  "fsync", "close"};
  if (::geteuid() != 0) expected.erase(expected.begin() + 1);
  EXPECT_EQ(trace, expected);
}

TEST(WriteWholeFile, ReplacesTheWholeFileAndLeavesNothingElse) {
  testing::TestFolder folder;
  const fs::path file = folder.path() / "save.dat";
  ASSERT_TRUE(WriteWholeFile(file, "a longer first version"));
  ASSERT_TRUE(WriteWholeFile(file, "second"));
  EXPECT_EQ(folder.read("save.dat"), "second");
  ASSERT_TRUE(WriteWholeFile(file, ""));
  EXPECT_EQ(folder.read("save.dat"), "");
  EXPECT_EQ(Entries(folder.path()), std::set<std::string>{"save.dat"});

  const WriteResult missing = WriteWholeFile(folder.path() / "no" / "save.dat", "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.error.starts_with("open ")) << missing.error;
}

TEST(WriteWholeFile, KeepsTheOldModeAndANewFileFollowsTheUmask) {
  testing::TestFolder folder;
  const fs::path file = folder.write("save.dat", "old");
  for (mode_t mode : {0640u, 0604u, 0777u}) {
    fs::permissions(file, fs::perms(mode));
    ASSERT_TRUE(WriteWholeFile(file, "new"));
    EXPECT_EQ(Stat(file).st_mode & 07777, mode);
  }
  const mode_t saved = ::umask(027);
  EXPECT_TRUE(WriteWholeFile(folder.path() / "a.dat", "x"));
  ::umask(0);
  EXPECT_TRUE(WriteWholeFile(folder.path() / "b.dat", "x"));
  ::umask(saved);
  EXPECT_EQ(Stat(folder.path() / "a.dat").st_mode & 07777, 0640u);
  EXPECT_EQ(Stat(folder.path() / "b.dat").st_mode & 07777, 0666u);
}

TEST(WriteWholeFile, KeepsTheOwnerWhenRunAsRoot) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give files away";
  testing::TestFolder folder;
  const fs::path file = folder.write("save.dat", "old");
  ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
  ASSERT_TRUE(WriteWholeFile(file, "new"));
  EXPECT_EQ(Stat(file).st_uid, 1234u);
  EXPECT_EQ(Stat(file).st_gid, 5678u);
}

// A link that stays in the folder the file is written in (a subfolder
// included) is written through, and stays a link.
TEST(WriteWholeFile, WritesThroughLinksThatStayInTheFolder) {
  testing::TestFolder folder;
  const fs::path real = folder.write("elsewhere/save.dat", "old");
  fs::permissions(real, fs::perms(0600));
  const fs::path link = folder.path() / "save.dat";
  fs::create_symlink("elsewhere/save.dat", link);
  fs::create_symlink("save.dat", folder.path() / "chained.dat");
  ASSERT_TRUE(WriteWholeFile(folder.path() / "chained.dat", "new"));
  EXPECT_EQ(folder.read("elsewhere/save.dat"), "new");
  EXPECT_EQ(Stat(real).st_mode & 07777, 0600u);
  EXPECT_EQ(fs::read_symlink(link), "elsewhere/save.dat") << "the link stays";
  EXPECT_EQ(Entries(folder.path()),
            (std::set<std::string>{"chained.dat", "elsewhere", "save.dat"}));
  EXPECT_EQ(Entries(folder.path() / "elsewhere"), std::set<std::string>{"save.dat"});

  fs::create_symlink("elsewhere/new.dat", folder.path() / "dangling.dat");
  ASSERT_TRUE(WriteWholeFile(folder.path() / "dangling.dat", "made"));
  EXPECT_EQ(folder.read("elsewhere/new.dat"), "made");
  EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.dat"));

  fs::create_symlink("loop.b", folder.path() / "loop.a");
  fs::create_symlink("loop.a", folder.path() / "loop.b");
  const WriteResult loop = WriteWholeFile(folder.path() / "loop.a", "x");
  EXPECT_FALSE(loop.ok);
  EXPECT_NE(loop.error.find(std::generic_category().message(ELOOP)), std::string::npos)
      << loop.error;
}

// A link (or a chain of them) that leads out of the folder the file is
// written in is refused, named, and its target is left as it was: a game
// folder from anyone must not make the game replace a file elsewhere.
TEST(WriteWholeFile, RefusesLinksThatLeadOutOfTheFolder) {
  testing::TestFolder folder;
  const fs::path victim = folder.write("outside/victim.txt", "the player's own file");
  const fs::path outside = folder.path() / "outside";
  fs::create_directory(outside / "room");
  const fs::path game = folder.path() / "game";
  fs::create_directory(game);
  fs::create_symlink(victim, game / "save.dat");                    // absolute
  fs::create_symlink("../outside/victim.txt", game / "log.txt");    // relative, climbing out
  fs::create_symlink("save.dat", game / "chained.dat");             // a chain that ends outside
  fs::create_symlink(outside / "room", game / "sub");               // a subfolder that is a link
  fs::create_symlink("sub/new.png", game / "shot.png");             // ... and a link into it
  fs::create_symlink(outside / "made.txt", game / "dangling.dat");  // would create it
  for (const char* name : {"save.dat", "log.txt", "chained.dat", "shot.png", "dangling.dat"}) {
    SCOPED_TRACE(name);
    const WriteResult result = WriteWholeFile(game / name, "4 by");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.replaced);
    EXPECT_TRUE(result.error.starts_with("refuse " + (game / name).string() +
                                         ": it is a link that leads out of " + game.string()))
        << result.error;
    EXPECT_TRUE(fs::is_symlink(game / name)) << "the link stays";
  }
  EXPECT_EQ(folder.read("outside/victim.txt"), "the player's own file");
  EXPECT_EQ(Entries(outside), (std::set<std::string>{"room", "victim.txt"}));
  EXPECT_TRUE(Entries(outside / "room").empty());
  EXPECT_EQ(Entries(game), (std::set<std::string>{"chained.dat", "dangling.dat", "log.txt",
                                                  "save.dat", "shot.png", "sub"}))
      << "no temporary file is left anywhere";

  // A link to a file in the folder above is out of the folder too.
  folder.write("above.txt", "above");
  fs::create_symlink("../above.txt", game / "up.txt");
  EXPECT_FALSE(WriteWholeFile(game / "up.txt", "x").ok);
  EXPECT_EQ(folder.read("above.txt"), "above");
}

TEST(WriteWholeFile, RefusesWhatIsNotARegularFile) {
  testing::TestFolder folder;
  ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0644), 0);
  fs::create_symlink("pipe", folder.path() / "log.txt");  // like a log sent to /dev/null
  fs::create_directory(folder.path() / "saves");
  for (const char* name : {"log.txt", "saves"}) {
    const WriteResult result = WriteWholeFile(folder.path() / name, "x");
    EXPECT_FALSE(result.ok) << name;
    EXPECT_NE(result.error.find("not a regular file"), std::string::npos) << result.error;
  }
  EXPECT_TRUE(fs::is_fifo(folder.path() / "pipe"));
  EXPECT_TRUE(fs::is_directory(folder.path() / "saves"));
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"log.txt", "pipe", "saves"}));
}

TEST(WriteWholeFile, WritersAtTheSameTimeNeverMixTheirBytes) {
  testing::TestFolder folder;
  const fs::path file = folder.path() / "replay.dat";
  const std::string first(100000, 'a'), second(50000, 'b');
  auto writeMany = [&](const std::string& bytes, bool& allOk) {
    for (int i = 0; i < 20; ++i)
      allOk = WriteWholeFile(file, bytes).ok && allOk;
  };
  bool firstOk = true, secondOk = true;
  std::thread other(writeMany, std::cref(second), std::ref(secondOk));
  writeMany(first, firstOk);
  other.join();
  EXPECT_TRUE(firstOk);
  EXPECT_TRUE(secondOk);
  const std::string result = folder.read("replay.dat");
  EXPECT_TRUE(result == first || result == second) << result.size() << " bytes";
  EXPECT_EQ(Entries(folder.path()), std::set<std::string>{"replay.dat"});
}

// Only regular files are read; a pipe, a device or a folder is refused at
// once in the same words, and a size the game does not read is refused before
// anything is allocated.
TEST(ReadFile, ReadsOnlyRegularFilesAndSaysWhyNot) {
  testing::TestFolder folder;
  folder.write("music.ogg", "OggS bytes");
  fs::create_symlink("music.ogg", folder.path() / "linked.ogg");
  testing::MakeFifo(folder.path() / "title.avi");
  fs::create_symlink("title.avi", folder.path() / "to-pipe.avi");
  fs::create_directory(folder.path() / "folder.bmp");
  struct Case {
    fs::path path;
    const char* problem;
  };
  const std::vector<Case> cases = {
      {folder.path() / "title.avi", "is not a file the game can read"},
      {folder.path() / "to-pipe.avi", "is not a file the game can read"},
      {folder.path() / "folder.bmp", "is not a file the game can read"},
      {"/dev/zero", "is not a file the game can read"},
      {folder.path() / "none.wav", "is missing"},
      {folder.path() / "music.ogg" / "x", "is missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    testing::ExpectNoWaitOnPipe(
        folder.path() / "title.avi",
        [&] {
          const FileRead read = ReadFile(c.path);
          EXPECT_FALSE(read.bytes);
          EXPECT_EQ(read.problem, c.problem);
          EXPECT_FALSE(ReadWholeFile(c.path));
        },
        "ReadFile");
  }
  EXPECT_EQ(ReadFile(folder.path() / "linked.ogg").bytes, "OggS bytes");
  EXPECT_EQ(ReadFile(folder.path() / "music.ogg", 10).bytes, "OggS bytes") << "at the limit";
  const FileRead large = ReadFile(folder.path() / "music.ogg", 9);
  EXPECT_FALSE(large.bytes);
  EXPECT_EQ(large.problem, "is larger than the game reads (10 bytes; at most 9)");
  EXPECT_EQ(ReadFile(folder.write("empty", "")).bytes, "");
  const std::string big(100000, 'b');  // more than any one read
  EXPECT_EQ(ReadFile(folder.write("big", big)).bytes, big);
}

}  // namespace
}  // namespace vdx
