#include "game/screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <variant>

#include "game/do_events.h"
#include "platform/headless/headless_platform.h"
#include "platform/keycodes.h"
#include "platform/picture_files.h"
#include "startup/main_routine.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

std::vector<std::uint32_t> Pattern(std::uint32_t seed) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * seed) & 0xFFFFFF;
  return pixels;
}

std::vector<std::uint32_t> PixelsOf(const std::filesystem::path& png) {
  const auto image = platform::ReadPng(png.string());
  if (!image) return {};
  EXPECT_EQ(image->width, kScreenWidth);
  EXPECT_EQ(image->height, kScreenHeight);
  return image->pixels;
}

TEST(Screenshot, NamesTakeTheLowestFreeNumber) {
  EXPECT_EQ(FreeScreenshotName({}), "vdx0001.png");
  EXPECT_EQ(FreeScreenshotName({"vdx0002.png"}), "vdx0001.png") << "a gap is filled";
  EXPECT_EQ(FreeScreenshotName({"vdx0001.png", "VDX0002.PNG", "vdx3.png", "notes.txt",
                                "vdx0004.png.bak", "vdxabcd.png", "vdx.png", "vdx0000.png"}),
            "vdx0004.png")
      << "names are compared without letter case and by their number";
  std::vector<std::string> full;
  for (int n = 1; n <= 9999; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "vdx%04d.png", n);
    full.push_back(name);
  }
  EXPECT_EQ(FreeScreenshotName(full), "vdx10000.png") << "past four digits, five";
  full.erase(full.begin() + 41);
  EXPECT_EQ(FreeScreenshotName(full), "vdx0042.png");
}

TEST(Screenshot, F12TakesTheFrameOnScreenOncePerPress) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  const auto first = Pattern(7);
  platform.present(first);
  // Drawn but not presented: not on screen, so not in the picture.
  game.display.backBuffer.pixels.assign(game.display.backBuffer.pixels.size(), 0x123456);
  const std::uint64_t random = game.random.state();

  platform.setKey(key::F12, true);
  const FrameInput pressed = ReadFrame(game);
  EXPECT_EQ(pressed.keys[key::F12], 0x80);
  EXPECT_EQ(pressed.keys, platform.keyboardState()) << "the frame keeps F12 as it was read";
  EXPECT_EQ(PixelsOf(folder.path() / "screenshots" / "vdx0001.png"), first);
  ReadFrame(game);
  ReadFrameAndPoll(game);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "screenshots" / "vdx0002.png"))
      << "held down, it takes no more pictures";

  platform.setKey(key::F12, false);
  ReadFrame(game);
  const auto second = Pattern(13);
  platform.present(second);
  platform.setKey(key::F12, true);
  ReadFrameAndPoll(game);
  EXPECT_EQ(PixelsOf(folder.path() / "screenshots" / "vdx0002.png"), second);
  EXPECT_EQ(
      folder.read("log.txt"),
      "\"Screenshot screenshots\\vdx0001.png\"\r\n\"Screenshot screenshots\\vdx0002.png\"\r\n");
  EXPECT_EQ(game.random.state(), random) << "a picture changes nothing a fight reads";
}

TEST(Screenshot, TheFolderIsFoundWithoutLetterCaseAndAFailureIsSaidOnce) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  std::filesystem::create_directory(folder.path() / "Screenshots");
  TakeScreenshot(game);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Screenshots" / "vdx0001.png"));

  testing::TestFolder blocked;
  blocked.write("screenshots", "a file where the folder would go");
  Game other(platform, blocked.path());
  std::ostringstream errors;
  other.log.errors = &errors;
  TakeScreenshot(other);
  TakeScreenshot(other);
  EXPECT_EQ(blocked.read("screenshots"), "a file where the folder would go");
  EXPECT_EQ(blocked.read("log.txt"),
            "\"Screenshot folder screenshots cannot be used: Not a directory\"\r\n"
            "\"Screenshot folder screenshots cannot be used: Not a directory\"\r\n");
  EXPECT_EQ(errors.str(), "vdx: Screenshot folder screenshots cannot be used: Not a directory\n")
      << "said once on standard error, however often F12 is pressed";
}

// A screenshots folder that is a link out of the game folder is not written
// into: the pictures would land wherever the folder's author chose.
TEST(Screenshot, NoPictureGoesThroughALinkOutOfTheGameFolder) {
  testing::TestFolder folder;
  std::filesystem::create_directories(folder.path() / "outside");
  std::filesystem::create_directories(folder.path() / "game");
  std::filesystem::create_directory_symlink(folder.path() / "outside",
                                            folder.path() / "game" / "Screenshots");
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path() / "game");
  std::ostringstream errors;
  game.log.errors = &errors;
  TakeScreenshot(game);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path() / "outside"));
  EXPECT_TRUE(
      errors.str().starts_with("vdx: Screenshot folder Screenshots cannot be used: it is "
                               "a link that leads out of the game folder (to " +
                               (folder.path() / "outside").string()))
      << errors.str();
  EXPECT_NE(folder.read("game/log.txt").find("cannot be used: it is a link"), std::string::npos);

  // A link that stays in the game folder is a folder like any other.
  std::filesystem::remove(folder.path() / "game" / "Screenshots");
  std::filesystem::create_directory(folder.path() / "game" / "pictures");
  std::filesystem::create_directory_symlink("pictures", folder.path() / "game" / "screenshots");
  TakeScreenshot(game);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "game" / "pictures" / "vdx0001.png"));
}

TEST(Screenshot, TapsInTheStartupPictureGiveNumberedPicturesOfTheScreen) {
  testing::TestFolder folder;
  folder.write("Game.xml", R"(<Game><SelectScreen MenuBack="menu.bmp"/></Game>)");
  // Red on the left half, blue on the right.
  ASSERT_TRUE(platform::WriteBmp((folder.path() / "menu.bmp").string(), 2, 1,
                                 std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));
  folder.write("screenshots/vdx0001.png", "the player's own");
  platform::HeadlessPlatform platform;
  auto script = platform::ParseScript("wait 300\ntap F12\nwait 300\ntap F12\nwait 100\n");
  platform.runScript(std::get<platform::Script>(script));
  Game game(platform, folder.path());
  ASSERT_EQ(Main(game, "1"), 0);

  const auto onScreen = platform.lastFrame();
  EXPECT_EQ(onScreen[0], 0xFF0000u);
  EXPECT_EQ(onScreen.back(), 0x0000FFu);
  EXPECT_EQ(folder.read("screenshots/vdx0001.png"), "the player's own");
  EXPECT_EQ(PixelsOf(folder.path() / "screenshots" / "vdx0002.png"), onScreen);
  EXPECT_EQ(PixelsOf(folder.path() / "screenshots" / "vdx0003.png"), onScreen);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "screenshots" / "vdx0004.png"));
  const std::string log = folder.read("log.txt");
  EXPECT_NE(log.find("\"Screenshot screenshots\\vdx0002.png\"\r\n\"Screenshot "
                     "screenshots\\vdx0003.png\"\r\n"),
            std::string::npos)
      << log;
}

// A fight played twice by one script, the second time with F12 pressed twice
// in it: the same frame hashes, and two pictures of two moments.
TEST(Screenshot, PicturesInAFightChangeNothingItPlays) {
  testing::TestFolder folder;
  // The demo folder, linked entry by entry, so the pictures land here.
  for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
    if (entry.path().filename() != "screenshots" && entry.path().filename() != "log.txt")
      std::filesystem::create_symlink(entry.path(), folder.path() / entry.path().filename());
  const auto play = [&folder](const std::string& script, const std::string& hashes) {
    platform::HeadlessPlatform platform;
    platform.runScript(std::get<platform::Script>(platform::ParseScript(script)));
    Game game(platform, folder.path());
    RunRequest request;
    request.versus = "Kira,Brann";
    request.frameHashes = folder.path() / hashes;
    EXPECT_EQ(Main(game, "1", request), 0);
    return folder.read(hashes);
  };
  const std::string plain =
      play("wait 300\ntap D\nwait 300\npress Right\nwait 700\nrelease Right\nwait 500\nquit\n",
           "plain.txt");
  const std::string pictured = play(
      "wait 300\ntap D\nwait 300\npress F12\npress Right\nwait 700\nrelease F12\n"
      "release Right\nwait 200\npress F12\nwait 300\nquit\n",
      "pictured.txt");
  EXPECT_GT(std::count(plain.begin(), plain.end(), '\n'), 60);
  EXPECT_EQ(pictured, plain);
  const auto first = PixelsOf(folder.path() / "screenshots" / "vdx0001.png");
  const auto second = PixelsOf(folder.path() / "screenshots" / "vdx0002.png");
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second) << "Kira walked between the two";
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "screenshots" / "vdx0003.png"));
}

}  // namespace
}  // namespace vdx
