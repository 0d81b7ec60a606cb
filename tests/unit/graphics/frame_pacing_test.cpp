#include "graphics/frame_pacing.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vdx
