#include "graphics/sprite_renderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vdx {
namespace {

constexpr float kPi = 3.14159265f;

// A texture whose texel (x, y) is 0x10 * (x + 1) red, 0x10 * (y + 1) green,
// 0x80 blue: every texel told apart, none black.
Surface Numbered(int w, int h) {
  Surface s = MakeSurface(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.at(x, y) =
          (std::uint32_t(0x10 * (x + 1)) << 16) | (std::uint32_t(0x10 * (y + 1)) << 8) | 0x80;
  return s;
}

SpriteArgs At(float x, float y, int w, int h) {
  SpriteArgs a;
  a.X = x;
  a.Y = y;
  a.Width = static_cast<std::int16_t>(w);
  a.Height = static_cast<std::int16_t>(h);
  return a;
}

// The bounding box of the pixels that differ from `background`.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box Touched(const Surface& s, std::uint32_t background) {
  Box b;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (s.at(x, y) != background) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

TEST(DrawSprite, WritesBackTheDrawnSizeAndTheUntintedColour) {
  Surface screen = MakeSurface(64, 64);
  const Surface tex = Numbered(8, 4);
  float x = 1, y = 2, alpha = 1, angle = 0, red = 0, green = 0, blue = 0, sx = 0, sy = 0;
  std::int16_t w = 8, h = 4, dw = 0, dh = 0, mode = 0, flip = 0;
  DrawSprite(screen, tex, x, y, w, h, alpha, dw, dh, angle, red, green, blue, mode, sx, sy, flip);
  EXPECT_EQ(dw, 8);
  EXPECT_EQ(dh, 4);
  EXPECT_EQ(red, 255.0f);
  EXPECT_EQ(green, 255.0f);
  EXPECT_EQ(blue, 255.0f);
  EXPECT_EQ(screen.at(1, 2), tex.at(0, 0)) << "no tint: the texel as it is";

  SpriteArgs tinted = At(0, 0, 8, 4);
  tinted.Red = 1;
  tinted.Green = 0;
  tinted.Blue = 0;
  DrawSprite(screen, tex, tinted);
  EXPECT_EQ(tinted.Green, 0.0f) << "a real tint is left alone";
  EXPECT_EQ(screen.at(0, 0), tex.at(0, 0) & 0xFF0000) << "(1, 0, 0) keeps only red";
}

TEST(DrawSprite, RoundsItsRectanglesHalvesToEven) {
  SpriteArgs a = At(10.5f, 11.5f, 4, 4);
  a.DestWidth = 4;
  a.DestHeight = 4;
  EXPECT_EQ(DestinationRect(a).left, 10);
  EXPECT_EQ(DestinationRect(a).top, 12);
  EXPECT_EQ(DestinationRect(a).right, 14) << "4 + 10.5 - 1 = 13.5 rounds to 14";
  EXPECT_EQ(DestinationRect(a).bottom, 14) << "4 + 11.5 - 1 = 14.5 rounds to 14";
  a.SrcX = 2.5f;
  EXPECT_EQ(SourceRect(a).left, 2);
  EXPECT_EQ(SourceRect(a).right, 6) << "4 + 2.5 - 1 = 5.5 rounds to 6";
}

TEST(DrawSprite, CoversPixelCentresWithTheTopLeftRule) {
  // A 4 x 4 piece drawn at (10, 20) has corners at 10 and 13: the pixel centres
  // 10, 11 and 12 are inside, 13 lies on the right edge and is not.
  Surface screen = MakeSurface(64, 64);
  const Surface tex = Numbered(4, 4);
  SpriteArgs a = At(10, 20, 4, 4);
  DrawSprite(screen, tex, a);
  const Box b = Touched(screen, 0);
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.top, 20);
  EXPECT_EQ(b.right, 12);
  EXPECT_EQ(b.bottom, 22);
  // u runs from 0 to 4/3 over the three pixels: texels 0, 1 and 3.
  EXPECT_EQ(screen.at(10, 20), tex.at(0, 0));
  EXPECT_EQ(screen.at(11, 20), tex.at(1, 0));
  EXPECT_EQ(screen.at(12, 20), tex.at(3, 0));
  EXPECT_EQ(screen.at(12, 22), tex.at(3, 3));
}

TEST(DrawSprite, ScalesToTheDrawnSize) {
  Surface screen = MakeSurface(64, 64);
  const Surface tex = Numbered(4, 4);
  SpriteArgs a = At(0, 0, 4, 4);
  a.DestWidth = 9;
  a.DestHeight = 5;
  DrawSprite(screen, tex, a);
  const Box b = Touched(screen, 0);
  EXPECT_EQ(b.right, 7);
  EXPECT_EQ(b.bottom, 3);
  EXPECT_EQ(screen.at(0, 0), tex.at(0, 0));
  EXPECT_EQ(screen.at(4, 1), tex.at(2, 1));
  EXPECT_EQ(screen.at(7, 3), tex.at(3, 3)) << "past the edge the edge texel, not the other side";
}

TEST(DrawSprite, KeyTexelsAreNeverDrawn) {
  Surface tex = Numbered(4, 4);
  tex.colorKey = 0x000000;
  tex.at(1, 1) = 0x000000;
  tex.at(0, 1) = 0x050305;  // the same in 5-6-5
  for (std::int16_t mode : {0, 1, 2, 3, 7}) {
    Surface screen = MakeSurface(16, 16, 0x336699);
    SpriteArgs a = At(0, 0, 4, 4);
    a.DestWidth = 5;
    a.DestHeight = 5;
    a.BlendMode = mode;
    DrawSprite(screen, tex, a);
    EXPECT_EQ(screen.at(1, 1), 0x336699u) << "mode " << mode;
    EXPECT_EQ(screen.at(0, 1), 0x336699u) << "mode " << mode;
    EXPECT_NE(screen.at(2, 2), 0x336699u) << "mode " << mode;
  }
}

TEST(DrawSprite, BlendsByMode) {
  Surface tex = MakeSurface(2, 2, 0x804020);
  auto draw = [&](std::uint32_t below, std::int16_t mode, float alpha) {
    Surface screen = MakeSurface(4, 4, below);
    SpriteArgs a = At(0, 0, 2, 2);
    a.DestWidth = 3;
    a.DestHeight = 3;
    a.BlendMode = mode;
    a.Alpha = alpha;
    DrawSprite(screen, tex, a);
    return screen.at(0, 0);
  };
  EXPECT_EQ(draw(0x102030, 2, 1), 0u) << "mode 2: black whatever alpha and tint";
  EXPECT_EQ(draw(0x102030, 2, 0), 0u);
  EXPECT_EQ(draw(0x000000, 1, 0.2f), 0x804020u) << "mode 1 over black: the sprite itself";
  EXPECT_EQ(draw(0x90F000, 1, 1), 0xFFFF20u) << "mode 1 adds and saturates";
  EXPECT_EQ(draw(0x000000, 0, 1), 0x804020u);
  EXPECT_EQ(draw(0xFFFFFF, 0, 0), 0xFFFFFFu) << "alpha 0 draws nothing visible";
  EXPECT_EQ(draw(0x000000, 0, 0.5f), 0x402010u) << "alpha 0.5 lets half through";
  EXPECT_EQ(draw(0x000000, 5, 0.5f), 0x402010u) << "any other mode is the alpha blend";
  // Mode 3: s * s + d * (1 - s) per channel; 0x80 * 0x80 / 255 = 0x40, ...
  EXPECT_EQ(draw(0x000000, 3, 1), 0x401004u);
  EXPECT_EQ(draw(0xFFFFFF, 3, 0), 0xBFCFE3u) << "bright texels cover, dark ones let through";
}

TEST(DrawSprite, MirrorsInTheSameRectangle) {
  const Surface tex = Numbered(5, 2);
  Surface plain = MakeSurface(16, 16), mirrored = MakeSurface(16, 16);
  SpriteArgs a = At(2, 3, 5, 2);
  a.DestWidth = 6;  // 5 pixels wide, one per texel
  a.DestHeight = 3;
  DrawSprite(plain, tex, a);
  a.Flip = 1;
  DrawSprite(mirrored, tex, a);
  const Box p = Touched(plain, 0), m = Touched(mirrored, 0);
  EXPECT_EQ(p.left, m.left);
  EXPECT_EQ(p.right, m.right);
  // The mirrored quad runs its texture from the right corner, which is not a
  // covered pixel centre: the picture reads backwards from its last texel.
  const int plainTexels[] = {0, 1, 2, 3, 4}, mirroredTexels[] = {4, 4, 3, 2, 1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(plain.at(2 + i, 3), tex.at(plainTexels[i], 0)) << "column " << i;
    EXPECT_EQ(mirrored.at(2 + i, 3), tex.at(mirroredTexels[i], 0)) << "column " << i;
  }
}

TEST(DrawSprite, TurnsByTheSpriteConvention) {
  // A 9 x 9 picture drawn at 10 x 10 (one texel a pixel) whose top three rows
  // are red. (Turned, the texture's edge row can fall on an edge of the quad
  // that covers no pixel centre, so one row would not be enough to see.)
  Surface tex = MakeSurface(9, 9, 0x202020);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 9; ++x)
      tex.at(x, y) = 0xFF0000;
  auto draw = [&](float angle) {
    Surface screen = MakeSurface(40, 40);
    SpriteArgs a = At(15, 15, 9, 9);
    a.DestWidth = 10;
    a.DestHeight = 10;
    a.Angle = angle;
    DrawSprite(screen, tex, a);
    return screen;
  };
  const Surface flat = draw(0), upright = draw(kPi / 2), half = draw(kPi), down = draw(4.71f);
  EXPECT_EQ(flat.pixels, upright.pixels) << "pi/2 draws like 0";
  // 4.71 turns it upside down: the red row is at the bottom.
  const Box b = Touched(down, 0);
  ASSERT_GE(b.bottom, b.top);
  int redAtTop = 0, redAtBottom = 0;
  for (int x = b.left; x <= b.right; ++x) {
    redAtTop += down.at(x, b.top) == 0xFF0000u;
    redAtBottom += down.at(x, b.bottom) == 0xFF0000u;
  }
  EXPECT_EQ(redAtTop, 0);
  EXPECT_GE(redAtBottom, 4) << "4.71 is a hair short of 3 pi / 2, so the picture leans a little";
  // pi turns it a quarter clockwise: the red row becomes the right column.
  const Box h = Touched(half, 0);
  int redRight = 0, redLeft = 0;
  for (int y = h.top; y <= h.bottom; ++y) {
    redRight += half.at(h.right, y) == 0xFF0000u;
    redLeft += half.at(h.left, y) == 0xFF0000u;
  }
  EXPECT_GT(redRight, 5);
  EXPECT_EQ(redLeft, 0);
}

TEST(DrawSprite, ClipsAtTheEdgesOfTheBuffer) {
  const Surface tex = Numbered(8, 8);
  Surface screen = MakeSurface(20, 20);
  SpriteArgs a = At(-4, 16, 8, 8);
  DrawSprite(screen, tex, a);
  EXPECT_EQ(screen.at(0, 16), tex.at(4, 0) == 0 ? 0u : screen.at(0, 16));
  const Box b = Touched(screen, 0);
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.bottom, 19);
  for (float x : {-100.0f, 500.0f, 1e9f, -1e30f, NAN}) {
    SpriteArgs far = At(x, x, 8, 8);
    far.Angle = 1.0f;
    DrawSprite(screen, tex, far);  // nothing, and no crash
  }
  SpriteArgs huge = At(-30000, -30000, 32000, 32000);
  huge.DestWidth = 32767;
  huge.DestHeight = 32767;
  huge.Angle = 0.3f;
  DrawSprite(screen, tex, huge);
  SUCCEED();
}

}  // namespace
}  // namespace vdx
