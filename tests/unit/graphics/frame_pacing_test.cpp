#include "graphics/frame_pacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace vdx {
namespace {

TEST(FrameDue, FirstCallArmsThenFiresEveryInterval) {
  std::uint32_t deadline = 0;
  EXPECT_FALSE(FrameDue(deadline, 1000, 50)) << "the first call only arms the deadline";
  EXPECT_EQ(deadline, 1050u);
  EXPECT_FALSE(FrameDue(deadline, 1050, 50)) << "at the deadline it is not yet due";
  EXPECT_TRUE(FrameDue(deadline, 1051, 50));
  EXPECT_EQ(deadline, 1101u);

  // A tight loop ticking 1 ms at a time fires about every 50 ms.
  int fired = 0;
  for (std::uint32_t now = 1052; now < 1052 + 1000; ++now)
    fired += FrameDue(deadline, now, 50);
  EXPECT_GE(fired, 19);
  EXPECT_LE(fired, 20);
}

TEST(FrameDue, SurvivesTheTickCounterWrapping) {
  std::uint32_t deadline = 0;
  const std::uint32_t nearEnd = 0xFFFFFFF0u;
  EXPECT_FALSE(FrameDue(deadline, nearEnd, 50));
  EXPECT_FALSE(FrameDue(deadline, nearEnd + 20, 50));
  EXPECT_TRUE(FrameDue(deadline, nearEnd + 51, 50)) << "the deadline lies past the wrap";
}

TEST(FrameDue, AFrameLoopKeepsItsPaceThroughTheWrap) {
  // A 16 ms loop whose clock passes 2^32 - 1. It starts so that one of its
  // deadlines would fall exactly on 0, which reads as "not armed".
  const std::uint32_t start = 0u - 16u - 17u * 5u;
  std::uint32_t deadline = 0;
  std::vector<std::uint32_t> fired;  // ms after the start
  for (std::uint32_t step = 0; step < 400; ++step)
    if (FrameDue(deadline, start + step, 16)) fired.push_back(step);
  ASSERT_GE(fired.size(), 20u);
  EXPECT_EQ(fired.front(), 17u);
  int late = 0;
  for (std::size_t i = 1; i < fired.size(); ++i) {
    const std::uint32_t gap = fired[i] - fired[i - 1];
    EXPECT_TRUE(gap == 17 || gap == 18) << "gap " << gap << " at frame " << i;
    late += gap == 18;
  }
  EXPECT_EQ(late, 1) << "only the deadline on 0 moves, by one millisecond";
}

}  // namespace
}  // namespace vdx
