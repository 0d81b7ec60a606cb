// Where a run writes the player's files: the XDG rules, the subfolder's name,
// writable or read-only game folders, and private folders made on demand.
#include "core/player_folders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

// An environment of our own; `writable` says whether the game folder takes files.
FolderSystem System(std::map<std::string, std::string> variables, bool writable = false,
                    std::optional<std::string> accountHome = std::nullopt) {
  FolderSystem system;
  system.environment = [variables](const char* name) -> std::optional<std::string> {
    const auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
  system.writable = [writable](const fs::path&) { return writable; };
  system.accountHome = [accountHome] { return accountHome; };
  return system;
}

TEST(PlayerFolders, XdgVariablesThatAreEmptyOrRelativeAreIgnored) {
  const auto base = [](std::map<std::string, std::string> env,
                       std::optional<std::string> account = std::nullopt) {
    return XdgBaseFolder(System(std::move(env), false, std::move(account)), "XDG_DATA_HOME",
                         ".local/share");
  };
  EXPECT_EQ(base({{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}), fs::path("/d"));
  EXPECT_EQ(base({{"XDG_DATA_HOME", ""}, {"HOME", "/h"}}), fs::path("/h/.local/share"));
  EXPECT_EQ(base({{"XDG_DATA_HOME", "rel/data"}, {"HOME", "/h"}}), fs::path("/h/.local/share"));
  EXPECT_EQ(base({{"HOME", "/h"}}), fs::path("/h/.local/share"));
  EXPECT_EQ(base({{"HOME", "relative"}}, "/from/passwd"), fs::path("/from/passwd/.local/share"))
      << "a HOME that is not absolute gives way to the account's home";
  EXPECT_EQ(base({}, "/from/passwd"), fs::path("/from/passwd/.local/share"));
  EXPECT_EQ(base({{"HOME", ""}}), std::nullopt) << "no home anywhere: no folder";
  EXPECT_EQ(base({{"XDG_DATA_HOME", "/d"}}), fs::path("/d")) << "the variable needs no home";
}

TEST(PlayerFolders, TheSubfolderIsTheGameFoldersOwnNameMadeSafe) {
  EXPECT_EQ(GameFolderName("/usr/share/games/vdx"), "vdx");
  EXPECT_EQ(GameFolderName("/usr/share/games/vdx/"), "vdx");
  EXPECT_EQ(GameFolderName("/opt/games/my game/."), "my game");
  EXPECT_EQ(GameFolderName("/"), "game");
  EXPECT_EQ(GameFolderName("/srv/.."), "game");
  EXPECT_EQ(GameFolderName(""), "game");
  EXPECT_EQ(GameFolderName("/g/a\nb\\c"), "a_b_c");
  EXPECT_EQ(GameFolderName("/g/..."), "...") << "only . and .. climb";
}

TEST(PlayerFolders, AWritableGameFolderKeepsEverythingAndAReadOnlyOneUsesTheXdgFolders) {
  testing::TestFolder folder;
  const fs::path game = folder.path() / "vdx";
  fs::create_directories(game);
  const std::map<std::string, std::string> env = {
      {"HOME", "/home/p"}, {"XDG_STATE_HOME", "/st"}, {"XDG_CONFIG_HOME", "not/absolute"}};

  const PlayerFolders writable = DecidePlayerFolders(game, System(env, true));
  EXPECT_TRUE(writable.inGameFolder);
  EXPECT_EQ(writable.state, game);
  EXPECT_EQ(writable.data, game);
  EXPECT_EQ(writable.config, game);
  EXPECT_TRUE(writable.userGameXml().empty()) << "the game folder's Game.xml is the only one";

  const PlayerFolders readOnly = DecidePlayerFolders(game, System(env, false));
  EXPECT_FALSE(readOnly.inGameFolder);
  EXPECT_EQ(readOnly.state, fs::path("/st/vdx/vdx"));
  EXPECT_EQ(readOnly.data, fs::path("/home/p/.local/share/vdx/vdx"));
  EXPECT_EQ(readOnly.config, fs::path("/home/p/.config/vdx/vdx"));
  EXPECT_EQ(readOnly.userGameXml(), fs::path("/home/p/.config/vdx/vdx/Game.xml"));
  EXPECT_TRUE(readOnly.problem.empty());
  const std::string notice = PlayerFoldersNotice(readOnly);
  EXPECT_NE(notice.find("the game folder " + game.string() + " cannot be written"),
            std::string::npos)
      << notice;
  EXPECT_NE(notice.find("/st/vdx/vdx"), std::string::npos) << notice;
  EXPECT_NE(notice.find("/home/p/.local/share/vdx/vdx"), std::string::npos) << notice;

  // Another installed game keeps its own save.
  const fs::path other = folder.path() / "vdx-extra";
  fs::create_directories(other);
  EXPECT_NE(DecidePlayerFolders(other, System(env)).data, readOnly.data);

  // No game folder at all: nothing to play, nothing moved.
  EXPECT_TRUE(DecidePlayerFolders(folder.path() / "gone", System(env)).inGameFolder);
  // No home folder: the files stay with the game folder, and why is kept to say.
  const PlayerFolders homeless = DecidePlayerFolders(game, System({}));
  EXPECT_TRUE(homeless.inGameFolder);
  EXPECT_NE(homeless.problem.find("no home folder"), std::string::npos) << homeless.problem;
}

TEST(PlayerFolders, WritabilityIsTriedAndLeavesNothingBehind) {
  testing::TestFolder folder;
  EXPECT_TRUE(FolderSystem::CanCreateFilesIn(folder.path()));
  EXPECT_TRUE(fs::is_empty(folder.path())) << "the probe is gone";
  EXPECT_FALSE(FolderSystem::CanCreateFilesIn(folder.path() / "missing"));
  const fs::path file = folder.write("plain", "x");
  EXPECT_FALSE(FolderSystem::CanCreateFilesIn(file));
  // /proc takes no files, whoever asks (root included).
  EXPECT_FALSE(FolderSystem::CanCreateFilesIn("/proc"));
}

TEST(PlayerFolders, MissingFoldersAreMadePrivateAndExistingOnesKept) {
  testing::TestFolder folder;
  ::chmod(folder.path().c_str(), 0755);
  const fs::path deep = folder.path() / "state" / "vdx" / "game";
  const FolderMade made = MakePrivateFolder(deep);
  ASSERT_TRUE(made.ok) << made.error;
  EXPECT_TRUE(made.created);
  for (const fs::path& each : {folder.path() / "state", folder.path() / "state" / "vdx", deep}) {
    struct stat status {};
    ASSERT_EQ(::stat(each.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << each;
  }
  struct stat top {};
  ::stat(folder.path().c_str(), &top);
  EXPECT_EQ(top.st_mode & 0777, 0755u) << "a folder that was there is left as it was";

  const FolderMade again = MakePrivateFolder(deep);
  EXPECT_TRUE(again.ok);
  EXPECT_FALSE(again.created);

  folder.write("taken", "a file");
  const FolderMade blocked = MakePrivateFolder(folder.path() / "taken" / "vdx");
  EXPECT_FALSE(blocked.ok);
  EXPECT_NE(blocked.error.find((folder.path() / "taken").string() + ": it is not a folder"),
            std::string::npos)
      << blocked.error;
  const FolderMade unreachable = MakePrivateFolder("/proc/vdx-test");
  EXPECT_FALSE(unreachable.ok);
  EXPECT_NE(unreachable.error.find("make the folder /proc/vdx-test: "), std::string::npos)
      << unreachable.error;
}

}  // namespace
}  // namespace vdx
