#include "fight/hit_tests.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

FrameOnScreen Frame(Rect rect, const std::vector<cCol>& boxes, bool mirrored = false,
                    int mirrorWidth = 255) {
  FrameOnScreen f;
  f.rect = rect;
  f.boxes = &boxes;
  f.mirrored = mirrored;
  f.mirrorWidth = mirrorWidth;
  return f;
}

TEST(TestBoxCollision, BoxesThatOnlyTouchDoNotHitAndTheOverlapIsTheHit) {
  const std::vector<cCol> fist{{100, 120, 50, 60}};   // xLeft, xRight, yTop, yBottom
  const std::vector<cCol> body{{20, 60, 0, 200}};
  // Player 2's frame starts at 100: its body from 120 to 160 on screen.
  const FrameOnScreen two = Frame({100, 0, 356, 256}, body);
  EXPECT_FALSE(TestBoxCollision(Frame({0, 0, 256, 256}, fist), two)) << "120 meets 120";
  const auto hit = TestBoxCollision(Frame({5, 0, 261, 256}, fist), two);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->Left, 120);
  EXPECT_EQ(hit->Right, 125);
  EXPECT_EQ(hit->Top, 50);
  EXPECT_EQ(hit->Bottom, 60);
  // Frames that do not overlap, or frames without boxes, never hit.
  EXPECT_FALSE(TestBoxCollision(Frame({-300, 0, -44, 256}, fist), two));
  FrameOnScreen none = two;
  none.boxes = nullptr;
  EXPECT_FALSE(TestBoxCollision(Frame({5, 0, 261, 256}, fist), none));
}

TEST(TestBoxCollision, MirroredBoxesTurnAboutTheFramesLastColumnAndEmptyBoxesArePassedOver) {
  // Unmirrored 100..120; mirrored about 255: 135..155; about 363: 243..263.
  const std::vector<cCol> fist{{256, 0, 256, 0}, {100, 120, 50, 60}};
  const std::vector<cCol> target{{0, 1, 0, 256}};
  EXPECT_TRUE(TestBoxCollision(Frame({0, 0, 256, 256}, fist, true),
                               Frame({154, 0, 410, 256}, target)));
  EXPECT_FALSE(TestBoxCollision(Frame({0, 0, 256, 256}, fist, true),
                                Frame({155, 0, 411, 256}, target)));
  EXPECT_TRUE(TestBoxCollision(Frame({0, 0, 364, 256}, fist, true, 363),
                               Frame({262, 0, 518, 256}, target)));
  EXPECT_FALSE(TestBoxCollision(Frame({0, 0, 364, 256}, fist, true, 363),
                                Frame({135, 0, 391, 256}, target)))
      << "a large frame is not mirrored about 255";
}

// A picture with one drawn block, transparent (pixel (1, 1)) elsewhere.
Surface Block(int width, int height, int x0, int y0, int x1, int y1) {
  Surface s = MakeSurface(width, height, 0x00FF00FF);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      s.at(x, y) = 0x00123456;
  return s;
}

TEST(TestPixelCollision, TouchesOnlyWhereBothPicturesAreDrawnMirroredOrNot) {
  const Surface left = Block(64, 64, 40, 0, 63, 63);  // drawn on its right part
  const Surface right = Block(64, 64, 2, 0, 10, 63);  // drawn on its left part
  PixelSide a{{0, 0, 64, 64}, &left, false, 0, 0};
  PixelSide b{{50, 0, 114, 64}, &right, false, 0, 0};
  EXPECT_TRUE(TestPixelCollision(a, b));
  b.mirrored = true;  // its drawn part now at 53..63 of its rectangle: beyond a's
  EXPECT_FALSE(TestPixelCollision(a, b));
  b.rect = {-40, 0, 24, 64};  // mirrored part now at 13..23 on screen
  a.mirrored = true;          // a's drawn part at 0..23
  EXPECT_TRUE(TestPixelCollision(a, b));
  // Pictures of nothing never touch.
  const Surface empty = MakeSurface(64, 64, 0x00FF00FF);
  EXPECT_FALSE(TestPixelCollision({{0, 0, 64, 64}, &empty}, {{0, 0, 64, 64}, &left}));
  EXPECT_FALSE(TestPixelCollision({{0, 0, 64, 64}, nullptr}, {{0, 0, 64, 64}, &left}));
}

TEST(TestPixelCollision, ARectangleLargerThanItsPictureIsNeverReadOutside) {
  // The ball: a 40 x 40 picture drawn 64 x 64. Beyond the picture nothing is
  // drawn, and nothing is read (the sanitizer build would see it).
  const Surface ball = Block(40, 40, 20, 20, 39, 39);
  const Surface fighter = Block(256, 256, 2, 2, 255, 255);
  EXPECT_TRUE(TestPixelCollision({{0, 0, 64, 64}, &ball}, {{0, 0, 256, 256}, &fighter}));
  EXPECT_FALSE(TestPixelCollision({{0, 0, 64, 64}, &ball}, {{40, 40, 296, 296}, &fighter}))
      << "the fighter only overlaps where the ball's rectangle is beyond its picture";
  // Offsets into the pictures far outside them read as transparent.
  EXPECT_FALSE(TestPixelCollision({{0, 0, 64, 64}, &ball, false, 1000, -1000},
                                  {{0, 0, 256, 256}, &fighter}));
  const Surface tiny = MakeSurface(1, 1, 0x00123456);  // no (1, 1): black is clear
  EXPECT_TRUE(TestPixelCollision({{0, 0, 64, 64}, &tiny}, {{-2, -2, 254, 254}, &fighter}));
}

}  // namespace
}  // namespace vdx
