// A run beside a read-only game folder: the log, save.dat, screenshots and
// replays in the player's folders, said once where; the player's Game.xml read
// in place of the game folder's, by the settings and a replay's fingerprint alike.
#include "game/player_files.h"

#include <gtest/gtest.h>

#include <sstream>

#include "content/get_xml.h"
#include "core/files.h"
#include "fight/replay.h"
#include "frontend/story_progress.h"
#include "game/screenshot.h"
#include "platform/headless/headless_platform.h"
#include "startup/replay_run.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInstalledXml =
    "<Vandrel Name=\"Installed\"><Player1Keys Punch=\"30\"/></Vandrel>";
constexpr const char* kPlayersXml = "<Vandrel Name=\"Mine\"><Player1Keys Punch=\"44\"/></Vandrel>";

// A game folder taken as read-only (the decision's seam, since tests run as
// root), its player's folders in the test folder.
struct ReadOnlyGame {
  ReadOnlyGame() {
    folder.write("vdx/Game.xml", kInstalledXml);
    folders.gameDir = folder.path() / "vdx";
    folders.inGameFolder = false;
    folders.state = folder.path() / "state" / "vdx" / "vdx";
    folders.data = folder.path() / "data" / "vdx" / "vdx";
    folders.config = folder.path() / "config" / "vdx" / "vdx";
  }
  testing::TestFolder folder;
  PlayerFolders folders;
  platform::HeadlessPlatform platform;
};

TEST(PlayerFiles, TheLogSaveAndScreenshotsGoToThePlayersFoldersSaidOnce) {
  ReadOnlyGame r;
  Game game(r.platform, r.folders);
  std::ostringstream errors;
  game.log.errors = &errors;
  EXPECT_EQ(game.log.path, r.folders.state / "log.txt");

  ReadyPlayerFiles(game);
  EXPECT_TRUE(fs::is_directory(r.folders.state));
  ASSERT_TRUE(WriteLog(game.log, LogOpening::New, {"Red mask"}));
  const std::string log = *ReadWholeFile(game.log.path);
  EXPECT_EQ(log.find(LogRecord(PlayerFoldersNotice(r.folders))), 0u)
      << "the log opens with where it is: " << log;

  cCharacter vex;
  vex.Name = "Vex";
  vex.CharCount = 2;
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(ReadWholeFile(r.folders.data / "save.dat"), std::string("\0\x02\0\0", 4));
  EXPECT_TRUE(LadderFinished(LoadStoryProgress(game), 2)) << "read back from the player's copy";

  r.platform.present(std::vector<std::uint32_t>(640 * 480, 0x336699));
  TakeScreenshot(game);
  EXPECT_TRUE(fs::exists(r.folders.data / "screenshots" / "vdx0001.png"));
  EXPECT_NE(ReadWholeFile(game.log.path)
                ->find("Screenshot " + (r.folders.data / "screenshots" / "vdx0001.png").string()),
            std::string::npos);

  EXPECT_EQ(ReplayFileForWriting(game, "fight.vdr"), r.folders.data / "fight.vdr");
  EXPECT_EQ(ReplayFileForWriting(game, "/abs/fight.vdr"), fs::path("/abs/fight.vdr"));

  const std::string said = errors.str();
  EXPECT_EQ(said, "vdx: " + PlayerFoldersNotice(r.folders) + "\n")
      << "one line, the first time a folder is made";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(r.folders.gameDir))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"Game.xml"}) << "nothing written in the game folder";

  // The next run finds the folders made: nothing said on the terminal.
  Game next(r.platform, r.folders);
  std::ostringstream quiet;
  next.log.errors = &quiet;
  ReadyPlayerFiles(next);
  RecordFinishedLadder(next, vex);
  EXPECT_EQ(quiet.str(), "");
}

TEST(PlayerFiles, ProgressMadeInTheGameFolderIsCarriedOverIntoThePlayersSave) {
  ReadOnlyGame r;
  r.folder.write("vdx/save.dat", std::string("\x2a\x01\0\0", 4));
  Game game(r.platform, r.folders);
  std::ostringstream errors;
  game.log.errors = &errors;
  EXPECT_TRUE(LadderFinished(LoadStoryProgress(game), 1));
  cCharacter kira;
  kira.Name = "Kira";
  kira.CharCount = 2;
  RecordFinishedLadder(game, kira);
  EXPECT_EQ(ReadWholeFile(r.folders.data / "save.dat"), std::string("\x2a\x03\0\0", 4));
  EXPECT_EQ(r.folder.read("vdx/save.dat"), std::string("\x2a\x01\0\0", 4)) << "left alone";
}

TEST(PlayerFiles, FoldersThatCannotBeMadeAreReportedAndTheRunGoesOn) {
  ReadOnlyGame r;
  r.folder.write("blocked", "a file where the folders would go");
  r.folders.state = r.folder.path() / "blocked" / "state";
  r.folders.data = r.folder.path() / "blocked" / "data";
  Game game(r.platform, r.folders);
  std::ostringstream errors;
  game.log.errors = &errors;
  ReadyPlayerFiles(game);
  cCharacter vex;
  vex.Name = "Vex";
  vex.CharCount = 1;
  RecordFinishedLadder(game, vex);
  TakeScreenshot(game);
  const std::string said = errors.str();
  for (const std::string& expected :
       {"cannot make the folder for your files: make the folder " +
            (r.folder.path() / "blocked").string() + ": it is not a folder",
        std::string("cannot write the log"),
        std::string("The finished story of Vex is not recorded")})
    EXPECT_NE(said.find(expected), std::string::npos) << expected << " in " << said;
}

TEST(PlayerFiles, ThePlayersGameXmlIsReadInPlaceOfTheGameFolders) {
  ReadOnlyGame r;
  {
    Game game(r.platform, r.folders);
    ASSERT_TRUE(GetXML(game.paths, game.settings, game.content, game.loadReport));
    EXPECT_EQ(game.settings.GameTitle, "Installed") << "no copy yet: the game folder's";
  }
  const fs::path copy = r.folder.write("config/vdx/vdx/Game.xml", kPlayersXml);
  ASSERT_EQ(copy, r.folders.userGameXml());
  Game game(r.platform, r.folders);
  std::ostringstream errors;
  game.log.errors = &errors;
  ASSERT_TRUE(GetXML(game.paths, game.settings, game.content, game.loadReport));
  EXPECT_EQ(game.settings.GameTitle, "Mine");
  EXPECT_EQ(game.settings.Player1Keys.Punch, 44);
  EXPECT_EQ(game.paths.find("\\GAME.XML"), copy) << "in any letter case";
  EXPECT_EQ(game.paths.find("\\Characters\\Game.xml"), std::nullopt) << "only at the top";
  // A replay's fingerprint reads the bytes the game read.
  EXPECT_EQ(MatchFingerprint(game.paths, game.content, MatchSetup{}),
            ContentFingerprint(kPlayersXml, "", ""));
  ReadyPlayerFiles(game);
  WriteLog(game.log, LogOpening::New, {"start"});
  EXPECT_NE(
      ReadWholeFile(game.log.path).value_or("").find("your copy of Game.xml, " + copy.string()),
      std::string::npos);

  // A game folder that is writable has one Game.xml: a stray copy is not read.
  PlayerFolders writable = FoldersInGameFolder(r.folders.gameDir);
  Game own(r.platform, writable);
  ASSERT_TRUE(GetXML(own.paths, own.settings, own.content, own.loadReport));
  EXPECT_EQ(own.settings.GameTitle, "Installed");
}

}  // namespace
}  // namespace vdx
