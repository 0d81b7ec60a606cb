#include "graphics/vdp_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace vdx {
namespace {

void AddRun(std::vector<std::uint8_t>& bytes, int n, std::uint8_t r, std::uint8_t g,
            std::uint8_t b) {
  bytes.insert(bytes.end(), {static_cast<std::uint8_t>(n), r, g, b});
}

TEST(UnpackVDPFrame, OneRowOfSingleRunsPaintsTheBottomRow) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 256; ++i)
    AddRun(bytes, 1, i == 1 ? 0 : 200, static_cast<std::uint8_t>(i), 7);
  Surface s = MakeSurface(256, 256, 0x123456);
  const VdpReport r = UnpackVDPFrame(bytes, s, 256, 256);
  EXPECT_FALSE(r.ragged || r.overflow);
  EXPECT_EQ(r.uncovered, 255 * 256) << "one row of 256 painted";
  EXPECT_EQ(s.at(0, 255), 0xC80007u);
  EXPECT_EQ(s.at(255, 255), 0xC8FF07u);
  EXPECT_EQ(s.at(1, 255), 0x000107u) << "the second run's own colour";
  EXPECT_EQ(s.at(100, 254), 0x000107u) << "the rest of the frame is the transparent colour";
  EXPECT_EQ(s.at(5, 0), 0x000107u);
  EXPECT_EQ(s.colorKey, 0x000107u);
}

TEST(UnpackVDPFrame, ARunPastTheRowGoesOnInTheRowAbove) {
  std::vector<std::uint8_t> bytes;
  AddRun(bytes, 200, 0, 0, 0);
  AddRun(bytes, 50, 0, 0, 0);
  AddRun(bytes, 10, 255, 0, 0);  // columns 250..255 and then 0..3 of the row above
  AddRun(bytes, 1, 0, 255, 0);   // column 4 of the second row from the bottom
  Surface s = MakeSurface(256, 256);
  UnpackVDPFrame(bytes, s, 256, 256);
  for (int x = 250; x < 256; ++x)
    EXPECT_EQ(s.at(x, 255), 0xFF0000u) << x;
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(s.at(x, 254), 0xFF0000u) << x;
  EXPECT_EQ(s.at(4, 254), 0x00FF00u);
  EXPECT_EQ(s.at(5, 254), 0u);
}

TEST(UnpackVDPFrame, DamagedFilesPaintNothingOutsideTheFrame) {
  std::vector<std::uint8_t> bytes;
  AddRun(bytes, 255, 0, 0, 0);
  AddRun(bytes, 1, 0, 0, 0);
  bytes.push_back(9);  // half a run
  Surface s = MakeSurface(256, 256);
  EXPECT_TRUE(UnpackVDPFrame(bytes, s, 256, 256).ragged);

  std::vector<std::uint8_t> tooMany;
  for (int i = 0; i < 300; ++i)
    AddRun(tooMany, 255, 10, 20, 30);  // 76500 pixels into 64 x 64
  Surface small = MakeSurface(64, 64);
  const VdpReport over = UnpackVDPFrame(tooMany, small, 64, 64);
  EXPECT_TRUE(over.overflow);
  EXPECT_EQ(over.uncovered, 0);
  std::vector<std::uint8_t> exact;
  for (int i = 0; i < 64; ++i)
    AddRun(exact, 64, 1, 2, 3);
  EXPECT_EQ(UnpackVDPFrame(exact, small, 64, 64).uncovered, 0) << "a frame covered exactly";
  EXPECT_EQ(small.pixels.size(), 64u * 64u);

  Surface empty = MakeSurface(8, 8, 0xABCDEF);
  UnpackVDPFrame({}, empty, 8, 8);
  EXPECT_EQ(empty.at(3, 3), 0u) << "no runs: all transparent black";
}

TEST(VdpPixelValue, FollowsTheDisplayFormat) {
  const platform::PixelFormat rgb565{16, 0xF800, 0x07E0, 0x001F};
  EXPECT_EQ(VdpPixelValue(255, 0, 255, rgb565), 63519u);
  EXPECT_EQ(VdpPixelValue(255, 0, 255, platform::PixelFormat{}), 16711935u);
  const platform::PixelFormat rgb555{16, 0x7C00, 0x03E0, 0x001F};
  EXPECT_EQ(VdpPixelValue(255, 255, 255, rgb555), 0x7FFFu);
  // Fields round halves to even: 128 / 255 * 31 = 15.56 -> 16.
  EXPECT_EQ(VdpPixelValue(128, 0, 0, rgb555), 16u << 10);
}

}  // namespace
}  // namespace vdx
