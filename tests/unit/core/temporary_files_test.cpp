#include "core/temporary_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "core/files.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

TEST(TemporaryFiles, OnlyTheWritersOwnNamesAreKnown) {
  struct Case {
    const char* name;
    pid_t pid;  // 0: not a temporary file's name
  };
  const Case cases[] = {
      {".save.dat.4242.1", 4242},
      {".log.txt.7.12", 7},
      {".a.1.1", 1},
      {".Game.xml.99999.3", 99999},
      {"save.dat.4242.1", 0},
      {"..4242.1", 0},
      {".save.dat.4242.", 0},
      {".save.dat..1", 0},
      {".save.dat.0.1", 0},
      {".save.dat.42a.1", 0},
      {".save.dat.4242.1x", 0},
      {".save.dat.-4.1", 0},
      {".x.99999999999.1", 0},
      {".4242.1", 0},
      {".save.dat", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto pid = TemporaryFileWriter(c.name);
    if (c.pid == 0) {
      EXPECT_FALSE(pid);
    } else {
      ASSERT_TRUE(pid);
      EXPECT_EQ(*pid, c.pid);
    }
  }
}

// A pid that has come and gone: a child that has ended and been waited for.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(TemporaryFiles, RemovesOnlyWhatEndedWritersLeft) {
  testing::TestFolder folder;
  const std::string gone = std::to_string(EndedProcess());
  const std::string alive = std::to_string(::getpid());
  folder.write(".save.dat." + gone + ".1", "a whole save");  // removed
  folder.write(".log.txt." + gone + ".7", "a whole log");    // removed
  folder.write(".save.dat." + alive + ".2", "still being written");
  folder.write("save.dat." + gone + ".1", "not hidden: the player's");
  folder.write(".notes." + gone, "not the form");
  folder.write(".bashrc." + gone + ".1", "another program's, in a folder named by mistake");
  folder.write(".SAVE.DAT." + gone + ".4", "the game's, in another letter case");  // removed
  folder.write("elsewhere/.x.txt." + gone + ".1", "below the folder: not looked at");
  // Named like the game's own, but a folder and a link: never removed.
  fs::create_directory(folder.path() / (".save.dat." + gone + ".5"));
  fs::create_symlink("elsewhere/.x.txt." + gone + ".1", folder.path() / (".log.txt." + gone + ".6"));

  EXPECT_EQ(RemoveLeftTemporaryFiles(folder.path(), {"save.dat", "log.txt"}), 3);
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder.path()))
    left.insert(entry.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{".save.dat." + alive + ".2", "save.dat." + gone + ".1",
                                         ".notes." + gone, ".bashrc." + gone + ".1",
                                         "elsewhere", ".save.dat." + gone + ".5",
                                         ".log.txt." + gone + ".6"}));
  EXPECT_EQ(folder.read("elsewhere/.x.txt." + gone + ".1"), "below the folder: not looked at");
  EXPECT_EQ(RemoveLeftTemporaryFiles(folder.path() / "none", {"save.dat"}), 0)
      << "a missing folder is no fault";
  EXPECT_EQ(TemporaryFileTarget(".Game.xml.12.3"), "Game.xml");
  EXPECT_EQ(TemporaryFileTarget("Game.xml.12.3"), std::nullopt);
}

}  // namespace
}  // namespace vdx
