// save.dat: its bytes, its bits, and the safe write through the story's end.
#include "frontend/story_progress.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(StoryProgress, ReadsFourBytesAndCallsAnyOtherLengthDamaged) {
  EXPECT_EQ(ReadStoryProgress(std::nullopt).progress.bytes, (std::array<std::uint8_t, 4>{}));
  EXPECT_TRUE(ReadStoryProgress(std::nullopt).problem.empty()) << "no file is no ladder finished";
  const auto read = ReadStoryProgress(std::string_view("\x07\x01\x80\xff", 4));
  EXPECT_TRUE(read.problem.empty());
  EXPECT_EQ(read.progress.bytes, (std::array<std::uint8_t, 4>{7, 1, 0x80, 0xff}));
  for (const std::string_view damaged : {std::string_view(""), std::string_view("\x01\x02", 2),
                                         std::string_view("\x01\x02\x03\x04\x05", 5)}) {
    const auto bad = ReadStoryProgress(damaged);
    EXPECT_EQ(bad.progress.bytes, (std::array<std::uint8_t, 4>{}));
    EXPECT_NE(bad.problem.find("damaged"), std::string::npos) << damaged.size();
  }
}

TEST(StoryProgress, EachCharacterHasItsBit) {
  StoryProgress p;
  EXPECT_TRUE(MarkLadderFinished(p, 1));
  EXPECT_EQ(p.bytes[1], 0x01);
  EXPECT_TRUE(MarkLadderFinished(p, 9));
  EXPECT_EQ(p.bytes[2], 0x01) << "the 9th character is bit 0 of byte 2";
  EXPECT_TRUE(MarkLadderFinished(p, 24));
  EXPECT_EQ(p.bytes[3], 0x80);
  EXPECT_TRUE(MarkLadderFinished(p, 1));
  EXPECT_EQ(p.bytes[1], 0x01) << "set once, not counted up";
  EXPECT_FALSE(MarkLadderFinished(p, 25));
  EXPECT_FALSE(MarkLadderFinished(p, 0));
  EXPECT_EQ(p.bytes[0], 0) << "byte 0 is never written";
  EXPECT_TRUE(LadderFinished(p, 9));
  EXPECT_FALSE(LadderFinished(p, 2));
}

TEST(StoryProgress, AFinishedLadderIsAddedToSaveDatKeepingByteZero) {
  testing::TestFolder folder;
  folder.write("Game.xml", "<Game/>");
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  cCharacter vex;
  vex.Name = "Vex";
  vex.CharCount = 3;
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(folder.read("save.dat"), std::string("\0\x04\0\0", 4)) << "a missing file is made";
  folder.write("save.dat", std::string("\x2a\x01\0\0", 4));
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(folder.read("save.dat"), std::string("\x2a\x05\0\0", 4));
  folder.write("save.dat", "not a save");
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(folder.read("save.dat"), std::string("\0\x04\0\0", 4));
  EXPECT_NE(folder.read("log.txt").find("save.dat is damaged (10 bytes instead of 4)"),
            std::string::npos);
  vex.CharCount = 30;
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(folder.read("save.dat"), std::string("\0\x04\0\0", 4));
  EXPECT_NE(folder.read("log.txt").find("save.dat has no place for Vex"), std::string::npos);
}

// save.dat linked out of the game folder: the story's end is not recorded
// there, the file it leads to stays as it was, and the refusal is said on
// standard error (once) and in the log. The same for a save.dat that cannot be
// written at all (a folder in its place stops root too).
TEST(StoryProgress, ASaveThatCannotBeWrittenIsSaidAndNothingElseIsTouched) {
  testing::TestFolder folder;
  folder.write("game/Game.xml", "<Game/>");
  const auto outside = folder.write("outside/notes.txt", "the player's notes");
  std::filesystem::create_symlink(outside, folder.path() / "game" / "save.dat");
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path() / "game");
  std::ostringstream errors;
  game.log.errors = &errors;
  cCharacter vex;
  vex.Name = "Vex";
  vex.CharCount = 3;
  RecordFinishedLadder(game, vex);
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(folder.read("outside/notes.txt"), "the player's notes");
  const std::string link = (folder.path() / "game" / "save.dat").string();
  const std::string said = "The finished story of Vex is not recorded: refuse " + link +
                           ": it is a link that leads out of ";
  EXPECT_TRUE(errors.str().starts_with("vdx: " + said)) << errors.str();
  EXPECT_EQ(errors.str().find("vdx: ", 1), std::string::npos) << "said once: " << errors.str();
  EXPECT_NE(folder.read("game/log.txt").find(said), std::string::npos);

  std::filesystem::remove(folder.path() / "game" / "save.dat");
  std::filesystem::create_directory(folder.path() / "game" / "save.dat");
  errors.str("");
  RecordFinishedLadder(game, vex);
  EXPECT_EQ(errors.str(), "") << "the same file in the same run: said already";
  Game nextRun(platform, folder.path() / "game");
  nextRun.log.errors = &errors;
  RecordFinishedLadder(nextRun, vex);
  EXPECT_NE(errors.str().find("The finished story of Vex is not recorded: replace " + link +
                              ": not a regular file"),
            std::string::npos)
      << errors.str();
}

}  // namespace
}  // namespace vdx
