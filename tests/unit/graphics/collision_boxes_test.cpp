#include "graphics/collision_boxes.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

TEST(BuildFrameCollisionBoxes, GivesOneBoxPerBandOf15Rows) {
  Surface frame = MakeSurface(256, 256);
  // A body from row 20 to 200, columns 100 to 140; a fist at row 40, column 180.
  for (int y = 20; y <= 200; ++y)
    for (int x = 100; x <= 140; ++x)
      frame.at(x, y) = 0xC04030;
  frame.at(180, 40) = 0xFFFFFF;
  std::vector<cCol> boxes;
  BuildFrameCollisionBoxes(frame, false, boxes);
  ASSERT_EQ(boxes.size(), 17u);
  EXPECT_EQ(boxes[0].xLeft, 256) << "the empty top band";
  EXPECT_EQ(boxes[0].xRight, 0);
  EXPECT_EQ(boxes[0].yTop, 256);
  EXPECT_EQ(boxes[1].xLeft, 100);
  EXPECT_EQ(boxes[1].yTop, 20);
  EXPECT_EQ(boxes[1].yBottom, 29);
  EXPECT_EQ(boxes[2].xRight, 180) << "rows 30 to 44 hold the fist";
  EXPECT_EQ(boxes[13].yBottom, 200);
  EXPECT_GT(boxes[14].xLeft, boxes[14].xRight);
}

TEST(BuildFrameCollisionBoxes, LargeFramesScan364Columns) {
  Surface frame = MakeSurface(364, 256);
  frame.at(300, 5) = 0xFFFFFF;
  std::vector<cCol> narrow, wide;
  BuildFrameCollisionBoxes(frame, false, narrow);
  BuildFrameCollisionBoxes(frame, true, wide);
  EXPECT_EQ(narrow[0].xLeft, 256) << "column 300 is not scanned for a normal frame";
  EXPECT_EQ(wide[0].xLeft, 300);
  EXPECT_EQ(wide[1].xLeft, 364);
  // The background is the pixel at (1, 1), whatever it is.
  Surface grey = MakeSurface(256, 256, 0x404040);
  std::vector<cCol> g;
  BuildFrameCollisionBoxes(grey, false, g);
  EXPECT_GT(g[3].xLeft, g[3].xRight);
}

}  // namespace
}  // namespace vdx
