#include "content/paths.h"

#include <gtest/gtest.h>

#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(PathResolver, MatchesEachComponentWithoutLetterCase) {
  testing::TestFolder folder;
  folder.write("Characters/Kira/Select/Portrait.BMP", "x");
  folder.write("Stages/Music/menu.ogg", "x");
  const PathResolver paths(folder.path());

  const auto portrait = paths.find("\\characters\\KIRA\\select\\portrait.bmp");
  ASSERT_TRUE(portrait.has_value());
  EXPECT_EQ(*portrait, folder.path() / "Characters/Kira/Select/Portrait.BMP");
  EXPECT_EQ(paths.find("/Stages/Music/MENU.OGG"), folder.path() / "Stages/Music/menu.ogg")
      << "forward slashes work too";
  EXPECT_EQ(paths.find("\\Stages\\\\Music\\.\\menu.ogg"), folder.path() / "Stages/Music/menu.ogg");
  EXPECT_EQ(paths.find("\\Stages"), folder.path() / "Stages");
  EXPECT_FALSE(paths.find("\\Stages\\Music\\none.ogg"));
  EXPECT_FALSE(paths.find("\\Nothing\\menu.ogg"));
}

TEST(PathResolver, RefusesPathsThatLeaveTheGameFolder) {
  testing::TestFolder folder;
  folder.write("game/Game.xml", "x");
  folder.write("secret.txt", "x");
  const PathResolver paths(folder.path() / "game");
  EXPECT_FALSE(paths.find("\\..\\secret.txt"));
  EXPECT_FALSE(paths.find("\\Characters\\..\\..\\secret.txt"));
  EXPECT_FALSE(paths.find("C:\\secret.txt"));
  EXPECT_FALSE(paths.forWriting("\\..\\log.txt"));
  EXPECT_FALSE(PathResolver::Split(std::string("a\0b", 3)));
  EXPECT_EQ(paths.find("/etc/passwd"), std::nullopt)
      << "a leading slash still means the game folder";
  EXPECT_TRUE(paths.find("\\Game.xml"));
}

TEST(PathResolver, WritesBesideExistingFilesOfAnyCase) {
  testing::TestFolder folder;
  folder.write("Save.DAT", "old");
  const PathResolver paths(folder.path());
  EXPECT_EQ(paths.forWriting("\\save.dat"), folder.path() / "Save.DAT");
  EXPECT_EQ(paths.forWriting("\\log.txt"), folder.path() / "log.txt");
  EXPECT_FALSE(paths.forWriting("\\NoFolder\\log.txt"));
}

TEST(PathResolver, ListsFoldersAndCachesUntilTold) {
  testing::TestFolder folder;
  folder.write("Kira/walk02.bmp", "x");
  folder.write("Kira/walk01.bmp", "x");
  const PathResolver paths(folder.path());
  EXPECT_EQ(paths.list("\\kira"), (std::vector<std::string>{"walk01.bmp", "walk02.bmp"}));
  folder.write("Kira/WALK03.bmp", "x");
  EXPECT_EQ(paths.list("\\kira").size(), 2u) << "the listing is cached";
  EXPECT_TRUE(paths.find("\\Kira\\WALK03.bmp")) << "an exact name is found all the same";
  paths.forget();
  EXPECT_EQ(paths.list("\\kira").size(), 3u);
  EXPECT_TRUE(paths.list("\\missing").empty());
}

}  // namespace
}  // namespace vdx
