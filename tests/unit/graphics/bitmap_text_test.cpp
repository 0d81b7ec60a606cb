#include "graphics/bitmap_text.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

class BitmapTextTest : public ::testing::Test {
 protected:
  BitmapTextTest() {
    font.sheet = MakeSurface(512, 512);
    font.sheet.colorKey = 0;
    // "A": 10 x 20 white at (0, 0); "B": 6 x 20 grey at (10, 0).
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 10; ++x)
        font.sheet.at(x, y) = 0xFFFFFF;
      for (int x = 10; x < 16; ++x)
        font.sheet.at(x, y) = 0x808080;
    }
    glyphs.add(cRect{0, 10, 0, 20}, "65");
    glyphs.add(cRect{10, 16, 0, 20}, "66");
    font.glyphs = &glyphs;
  }

  // Columns where something was drawn on row 5.
  std::vector<int> Columns(const Surface& s) {
    std::vector<int> xs;
    for (int x = 0; x < s.width; ++x)
      if (s.at(x, 5) != 0) xs.push_back(x);
    return xs;
  }

  Collection<cRect> glyphs;
  BitmapFont font;
};

TEST_F(BitmapTextTest, SpacesAndGlyphsMoveThePen) {
  Surface screen = MakeSurface(200, 64);
  DrawBitmapText(screen, font, "", 0, 0, 1, 1, 1, 0, 1, 1);
  EXPECT_TRUE(Columns(screen).empty()) << "an empty string draws nothing";

  DrawBitmapText(screen, font, "A A", 0, 0, 1, 1, 1, 0, 1, 1);
  const auto xs = Columns(screen);
  ASSERT_FALSE(xs.empty());
  EXPECT_EQ(xs.front(), 0);
  // The first A is 10 wide, the space 20: the second A starts at 30.
  EXPECT_NE(std::find(xs.begin(), xs.end(), 30), xs.end());
  EXPECT_EQ(std::find(xs.begin(), xs.end(), 29), xs.end());

  Surface half = MakeSurface(200, 64);
  DrawBitmapText(half, font, "A A", 0, 0, 1, 1, 1, 0, 0.5f, 1);
  const auto hs = Columns(half);
  EXPECT_NE(std::find(hs.begin(), hs.end(), 15), hs.end()) << "5 + 10 at scale 0.5";
  EXPECT_EQ(std::find(hs.begin(), hs.end(), 14), hs.end());

  Surface twice = MakeSurface(200, 64);
  DrawBitmapText(twice, font, "AB", 0, 0, 1, 1, 1, 0, 2, 1);
  const auto ts = Columns(twice);
  EXPECT_EQ(ts.front(), 0);
  EXPECT_EQ(twice.at(20, 5), 0x808080u) << "B starts at 2 x 10";
  EXPECT_EQ(twice.at(19, 5), 0xFFFFFFu);
}

TEST_F(BitmapTextTest, GlyphsAreTintedBlendedAndFaded) {
  Surface screen = MakeSurface(64, 64, 0x000040);
  DrawBitmapText(screen, font, "A", 0, 0, 1, 0, 0, 1, 1, 1);
  EXPECT_EQ(screen.at(3, 3), 0xFF0040u) << "additive red over dark blue";
  EXPECT_EQ(screen.at(30, 3), 0x000040u) << "the rest of the 128 piece is transparent";
  Surface faded = MakeSurface(64, 64, 0x123456);
  DrawBitmapText(faded, font, "A", 0, 0, 1, 1, 1, 0, 1, 0);
  EXPECT_EQ(faded.at(3, 3), 0x123456u) << "alpha 0 shows nothing";
}

TEST_F(BitmapTextTest, ACharacterWithoutGlyphDrawsNothing) {
  Surface screen = MakeSurface(100, 64);
  DrawBitmapText(screen, font, "A?A", 0, 0, 1, 1, 1, 0, 1, 1);
  const auto xs = Columns(screen);
  EXPECT_EQ(xs.back(), 19) << "the ? is passed over and moves nothing";
}

}  // namespace
}  // namespace vdx
