#include "graphics/keyed_copy.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

// A picture whose pixel (x, y) is 0x100 * (y + 1) + (x + 1), so every texel is
// told apart and none is black.
Surface Numbered(int width, int height) {
  Surface s = MakeSurface(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s.at(x, y) = 0x010000u * 0x10 + 0x100u * (y + 1) + (x + 1) * 8;
  return s;
}

TEST(DrawKeyedCopy, CopiesUnscaledAndSkipsTheKey) {
  Surface screen = MakeSurface(640, 480, 0x123456);
  Surface picture = Numbered(4, 3);
  picture.at(1, 1) = 0x000000;  // the key
  picture.at(2, 1) = 0x030303;  // near black: the same in 5-6-5
  picture.at(3, 1) = 0x080000;  // not the same in 5-6-5
  const DrawnRect r = DrawKeyedCopy(screen, 10, 20, picture, /*keyColour=*/0, false);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 14);
  EXPECT_EQ(r.bottom, 23);
  EXPECT_EQ(screen.at(10, 20), picture.at(0, 0));
  EXPECT_EQ(screen.at(13, 22), picture.at(3, 2));
  EXPECT_EQ(screen.at(11, 21), 0x123456u) << "the key colour is not drawn";
  EXPECT_EQ(screen.at(12, 21), 0x123456u) << "keys compare in the 5-6-5 space";
  EXPECT_EQ(screen.at(13, 21), 0x080000u);
  EXPECT_EQ(screen.at(9, 20), 0x123456u);
  EXPECT_EQ(screen.at(14, 20), 0x123456u);
}

TEST(DrawKeyedCopy, KeyColoursAreContentColours) {
  Surface screen = MakeSurface(640, 480, 0);
  Surface picture = MakeSurface(2, 1);
  picture.at(0, 0) = 0xFF0000;  // red
  picture.at(1, 0) = 0x0000FF;  // blue
  // H0000FF in the content is red (0x00BBGGRR).
  DrawKeyedCopy(screen, 0, 0, picture, 0x0000FF, false);
  EXPECT_EQ(screen.at(0, 0), 0u);
  EXPECT_EQ(screen.at(1, 0), 0x0000FFu);
}

TEST(DrawKeyedCopy, ClipsAtTheEdgesAndNeverDrawsTheLastRow) {
  const Surface picture = Numbered(10, 10);
  Surface screen = MakeSurface(640, 480, 0);
  DrawnRect r = DrawKeyedCopy(screen, -3, -4, picture, 0, false);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 7);
  EXPECT_EQ(r.bottom, 6);
  EXPECT_EQ(screen.at(0, 0), picture.at(3, 4));

  screen = MakeSurface(640, 480, 0);
  r = DrawKeyedCopy(screen, 635, 475, picture, 0, false);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, 479) << "the lowest row drawn is 478";
  EXPECT_EQ(screen.at(639, 478), picture.at(4, 3));
  EXPECT_EQ(screen.at(639, 479), 0u);

  screen = MakeSurface(640, 480, 0);
  r = DrawKeyedCopy(screen, 630, 470, picture, 0, false);
  EXPECT_EQ(r.bottom, 479) << "a picture just touching the bottom also loses its last row";
  EXPECT_EQ(screen.at(630, 478), picture.at(0, 8));
  EXPECT_EQ(screen.at(630, 479), 0u);

  EXPECT_TRUE(DrawKeyedCopy(screen, 700, 0, picture, 0, false).empty());
  EXPECT_TRUE(DrawKeyedCopy(screen, -10, 0, picture, 0, false).empty());
  EXPECT_TRUE(DrawKeyedCopy(screen, 0, 479, picture, 0, false).empty());
  EXPECT_TRUE(DrawKeyedCopy(screen, -2000000000, 2000000000, picture, 0, false).empty());
}

TEST(DrawKeyedCopy, MirrorsLeftToRightAlsoWhenClipped) {
  const Surface picture = Numbered(4, 2);
  Surface screen = MakeSurface(640, 480, 0);
  DrawKeyedCopy(screen, 0, 0, picture, 0, true);
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(screen.at(x, 1), picture.at(3 - x, 1)) << "column " << x;

  // Mirrored and cut at the left edge: what stays on screen is the same as in
  // the whole mirrored picture.
  screen = MakeSurface(640, 480, 0);
  DrawKeyedCopy(screen, -1, 0, picture, 0, true);
  EXPECT_EQ(screen.at(0, 0), picture.at(2, 0));
  EXPECT_EQ(screen.at(2, 0), picture.at(0, 0));
  EXPECT_EQ(screen.at(3, 0), 0u);
}

}  // namespace
}  // namespace vdx
