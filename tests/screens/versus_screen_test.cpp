// The versus screen on the demo folder: the select screen's picture, both
// portraits and "VERSUS", with the wait message over them.
#include <gtest/gtest.h>

#include "content/get_xml.h"
#include "match/versus_screen.h"
#include "graphics/sprite_loading.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(VersusScreen, ShowsBothPortraitsAndTheWordBetweenThem) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log.txt";
  GetXML(game.paths, game.settings, game.content, game.loadReport);
  const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
  ASSERT_TRUE(LoadFontSheet(ctx, game.content.FontChars, game.font));
  FightSlots slots;
  slots.players[1].character = *game.content.Characters.find("Kira");
  slots.players[2].character = *game.content.Characters.find("Kira");
  DisplayVsScreen(game, slots);
  const std::vector<std::uint32_t>& shown = platform.lastFrame();
  ASSERT_EQ(shown.size(), 640u * 480u);
  LoadBackground(game.platform, game.paths, game.display,
                 "\\" + game.settings.SelectScreenBackground);
  const Surface& background = game.display.background;
  // Pixels that differ from the screen's picture inside a rectangle.
  const auto changed = [&](int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        n += shown[static_cast<std::size_t>(y) * 640 + x] != background.at(x, y);
    return n;
  };
  const int w = game.settings.PortraitWidth, h = game.settings.PortraitHeight;
  const int left = changed(20, 160, 20 + w, std::min(479, 160 + h));
  const int right = changed(440, 160, std::min(640, 440 + w), std::min(479, 160 + h));
  EXPECT_GT(left, w * h / 10) << "player 1's portrait";
  EXPECT_EQ(left, right) << "the same character shows the same portrait on both sides";
  EXPECT_GT(changed(230, 220, 420, 250), 200) << "VERSUS";
  EXPECT_EQ(changed(0, 0, 640, 150), 0) << "nothing above the portraits";
}

}  // namespace
}  // namespace vdx
