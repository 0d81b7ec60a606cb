#include "graphics/collision_boxes.h"

#include <gtest/gtest.h>

#include <random>

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

// The scan pixel by pixel, as the boxes are defined: what the faster scan must give.
std::vector<cCol> BoxesOneByOne(const Surface& frame, bool large) {
  const int last = large ? 363 : 255;
  const auto pixel = [&frame](int x, int y) -> std::uint32_t {
    return x < frame.width && y < frame.height ? frame.at(x, y) : 0;
  };
  const std::uint32_t background = pixel(1, 1);
  const cCol empty{static_cast<Integer>(last + 1), 0, 256, 0};
  std::vector<cCol> boxes;
  cCol box = empty;
  for (int y = 0; y <= 255; ++y) {
    if (y > 0 && y % 15 == 0) {
      boxes.push_back(box);
      box = empty;
    }
    for (int x = 0; x <= last; ++x) {
      if (pixel(x, y) == background) continue;
      box.xLeft = static_cast<Integer>(std::min<int>(box.xLeft, x));
      box.xRight = static_cast<Integer>(std::max<int>(box.xRight, x));
      box.yTop = static_cast<Integer>(std::min<int>(box.yTop, y));
      box.yBottom = static_cast<Integer>(std::max<int>(box.yBottom, y));
    }
  }
  return boxes;
}

TEST(BuildFrameCollisionBoxes, AgreesWithThePixelByPixelScanOnAnyPicture) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 300; ++trial) {
    // Pictures of the frame's size and others, smaller or larger (the zeros
    // read beyond a small one count against a background that is not black).
    const int sizes[] = {256, 364, 1, 2, 7, 100, 255, 300, 400};
    const int w = sizes[rng() % std::size(sizes)];
    const int h = sizes[rng() % std::size(sizes)];
    const std::uint32_t background = rng() % 2 ? 0u : 0x00FF00FFu;
    Surface frame = MakeSurface(w, h, background);
    const int blobs = static_cast<int>(rng() % 4);
    for (int b = 0; b < blobs; ++b) {
      const int x0 = static_cast<int>(rng() % w), y0 = static_cast<int>(rng() % h);
      const int x1 = std::min(w - 1, x0 + static_cast<int>(rng() % 40));
      const int y1 = std::min(h - 1, y0 + static_cast<int>(rng() % 40));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
          if (rng() % 3) frame.at(x, y) = rng() % 2 ? 0x123456u : background ^ 1u;
    }
    if (w > 1 && h > 1) frame.at(1, 1) = background;
    for (bool large : {false, true}) {
      std::vector<cCol> boxes;
      BuildFrameCollisionBoxes(frame, large, boxes);
      const std::vector<cCol> expected = BoxesOneByOne(frame, large);
      ASSERT_EQ(boxes.size(), expected.size());
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE("trial " + std::to_string(trial) + " " + std::to_string(w) + "x" +
                     std::to_string(h) + " band " + std::to_string(i));
        EXPECT_EQ(boxes[i].xLeft, expected[i].xLeft);
        EXPECT_EQ(boxes[i].xRight, expected[i].xRight);
        EXPECT_EQ(boxes[i].yTop, expected[i].yTop);
        EXPECT_EQ(boxes[i].yBottom, expected[i].yBottom);
      }
    }
  }
}

TEST(FindDrawnSpan, FindsTheFirstAndLastDrawnPixelInRowsOfAnyLength) {
  std::mt19937 rng(9);
  for (int trial = 0; trial < 2000; ++trial) {
    const int width = static_cast<int>(rng() % 40);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width), 0x00FF00FFu);
    const int drawn = width == 0 ? 0 : static_cast<int>(rng() % 4);
    for (int i = 0; i < drawn; ++i)
      // Near the key: only what the 5-6-5 form keeps counts.
      row[rng() % static_cast<std::size_t>(width)] = rng() % 2 ? 0x00FF00FEu : 0x00FF08FFu;
    int first = 0, last = width - 1;
    while (first < width && ((row[static_cast<std::size_t>(first)] ^ 0x00FF00FFu) & k565Bits) == 0)
      ++first;
    while (last >= first && ((row[static_cast<std::size_t>(last)] ^ 0x00FF00FFu) & k565Bits) == 0)
      --last;
    const auto span = FindDrawnSpan(row, 0x00FF00FFu, k565Bits);
    ASSERT_EQ(span.first, first) << "trial " << trial;
    ASSERT_EQ(span.last, last) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vdx
