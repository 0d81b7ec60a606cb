#include "core/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace vdx {
namespace {

std::vector<double> Draws(RandomGenerator& random, int n) {
  std::vector<double> values;
  for (int i = 0; i < n; ++i)
    values.push_back(random.Uniform());
  return values;
}

TEST(Random, DrawsInOneMillisecondDiffer) {
  // The game stirs the frame's tick count in before each particle of a burst;
  // fifty particles launched in the same millisecond must still differ.
  RandomGenerator random;
  std::set<double> values;
  for (int i = 0; i < 50; ++i) {
    random.MixTicks(123456);
    values.insert(random.Uniform());
  }
  EXPECT_EQ(values.size(), 50u);

  // Two rolls in a row after one stir (the pick-up's spawn and kind) are apart.
  random.MixTicks(777);
  const double spawn = random.Uniform();
  const double kind = random.Uniform();
  EXPECT_NE(spawn, kind);
  // Stirring the same tick twice does not undo the first stir.
  RandomGenerator once(9), twice(9);
  once.MixTicks(5);
  twice.MixTicks(5);
  twice.MixTicks(5);
  EXPECT_NE(once.state(), twice.state());
  EXPECT_NE(RandomGenerator(9).state(), twice.state());
}

TEST(Random, TheSameSeedAndTicksGiveTheSameSequence) {
  RandomGenerator a(42), b(42), c(43);
  for (std::uint32_t tick : {1000u, 1016u, 1016u, 4294967290u, 3u}) {
    a.MixTicks(tick);
    b.MixTicks(tick);
    c.MixTicks(tick);
    EXPECT_EQ(Draws(a, 3), Draws(b, 3));
    EXPECT_EQ(a.Range(20, 1260), b.Range(20, 1260));
  }
  EXPECT_NE(a.state(), c.state()) << "another seed, another sequence";
  // Other ticks, another sequence.
  RandomGenerator d(42), e(42);
  d.MixTicks(1000);
  e.MixTicks(1001);
  EXPECT_NE(Draws(d, 3), Draws(e, 3));
  // Seed starts the sequence again.
  a.Seed(42);
  RandomGenerator fresh(42);
  EXPECT_EQ(Draws(a, 5), Draws(fresh, 5));
  // A replay's match starts from the state saved when it was played, whatever
  // the generator did since.
  a.MixTicks(77);
  const std::uint64_t saved = a.state();
  const std::vector<double> played = Draws(a, 5);
  RandomGenerator replayed(7);
  replayed.Restore(saved);
  EXPECT_EQ(Draws(replayed, 5), played);
}

TEST(Random, UniformStaysInItsRangeAndConvertsToSingleExactly) {
  RandomGenerator random(7);
  double sum = 0;
  int low = 0, high = 0;
  for (int i = 0; i < 100000; ++i) {
    const double r = random.Uniform();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    ASSERT_EQ(static_cast<double>(static_cast<float>(r)), r) << "a single-precision value";
    ASSERT_LT(static_cast<float>(r), 1.0f);
    sum += r;
    low += r < 0.01;
    high += r >= 0.99;
  }
  EXPECT_NEAR(sum / 100000, 0.5, 0.01);
  EXPECT_GT(low, 800);
  EXPECT_GT(high, 800);
}

TEST(Random, RangeCoversEveryValueEvenly) {
  RandomGenerator random(11);
  std::vector<int> counts(6, 0);
  for (int i = 0; i < 60000; ++i) {
    const int v = random.Range(1, 6);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 6);
    ++counts[static_cast<std::size_t>(v - 1)];
  }
  for (int count : counts)
    EXPECT_NEAR(count, 10000, 500);
  EXPECT_EQ(random.Range(5, 5), 5);
  EXPECT_EQ(random.Range(5, 2), 5) << "an empty range gives its low end";
  // The widest range does not overflow: both halves come up.
  int belowZero = 0;
  for (int i = 0; i < 1000; ++i)
    belowZero += random.Range(INT32_MIN, INT32_MAX) < 0;
  EXPECT_GT(belowZero, 400);
  EXPECT_LT(belowZero, 600);
  std::set<std::int32_t> negatives;
  for (int i = 0; i < 200; ++i)
    negatives.insert(random.Range(-3, -1));
  EXPECT_EQ(negatives, (std::set<std::int32_t>{-3, -2, -1}));
}

}  // namespace
}  // namespace vdx
