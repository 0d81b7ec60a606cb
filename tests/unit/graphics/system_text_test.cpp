#include "graphics/system_text.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace vdx {
namespace {

TEST(SystemText, DrawsInTheStylesColourAtItsPlace) {
  platform::HeadlessPlatform platform;
  Surface screen = MakeSurface(200, 60, 0x000000);
  cFont font;
  font.Name = "Arial";
  font.Size = 14;
  font.Bold = true;
  font.FontColor = 0x0000FF;  // red, as the content writes it
  ASSERT_TRUE(DrawSystemText(platform, screen, font, "Please wait", 10, 20));
  int red = 0, elsewhere = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      const std::uint32_t p = screen.at(x, y);
      if (p == 0xFF0000) ++red;
      if (p != 0 && (y < 18 || x < 9)) ++elsewhere;
    }
  EXPECT_GT(red, 40) << "solid red strokes";
  EXPECT_EQ(elsewhere, 0) << "nothing above or left of (10, 20)";
}

TEST(SystemText, ThePleaseWaitMessageGoesOverTheShownPicture) {
  platform::HeadlessPlatform platform;
  Display display;
  std::fill(display.backBuffer.pixels.begin(), display.backBuffer.pixels.end(), 0x204060u);
  cFont font;
  font.Name = "MS Sans Serif";
  font.Size = 12;
  font.FontColor = 0xFFFFFF;
  font.Text = "Please wait";
  font.xOffset = 300;
  font.yOffset = 400;
  ShowPleaseWait(platform, display, font);
  EXPECT_EQ(platform.framesPresented(), 1);
  int white = 0;
  for (int y = 400; y < 430; ++y)
    for (int x = 300; x < 400; ++x)
      white += platform.lastFrame()[y * 640 + x] == 0xFFFFFFu;
  EXPECT_GT(white, 20);
  EXPECT_EQ(display.backBuffer.at(305, 410), 0x204060u) << "the back buffer is not touched";
}

}  // namespace
}  // namespace vdx
