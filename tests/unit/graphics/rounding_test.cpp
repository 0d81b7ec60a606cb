#include "graphics/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace vdx {
namespace {

TEST(RoundEven, AgreesWithNearbyint) {
  for (float x : {0.5f, 1.5f, 2.5f, -0.5f, -2.5f, 10.5f, 11.5f, 0.49999997f, 8388607.5f, 8388608.0f,
                  1e20f, -1e20f, 0.0f, -0.0f}) {
    EXPECT_EQ(RoundEven(x), std::nearbyint(x)) << x;
    EXPECT_EQ(std::signbit(RoundEven(x)), std::signbit(std::nearbyint(x))) << x;
  }
  EXPECT_TRUE(std::isnan(RoundEven(std::numeric_limits<float>::quiet_NaN())));
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> spread(-70000.0, 70000.0);
  for (int i = 0; i < 200000; ++i) {
    const double d = spread(rng);
    const auto f = static_cast<float>(d);
    ASSERT_EQ(RoundEven(f), std::nearbyint(f)) << f;
    ASSERT_EQ(RoundEven(d * 256.0), std::nearbyint(d * 256.0)) << d;
  }
}

}  // namespace
}  // namespace vdx
