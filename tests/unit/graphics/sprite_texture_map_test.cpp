// The texture coordinates worked out four at a time must be the very numbers
// the one-at-a-time reference finds, edges and far-off positions included.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "graphics/sprite_texture_map.h"

namespace vdx {
namespace {

TextureMap RandomMap(std::mt19937& rng) {
  std::uniform_real_distribution<double> position(-3000.0, 3000.0), edge(-700.0, 700.0),
      coordinate(-0.5, 1.5);
  TextureMap m{};
  m.x1 = position(rng);
  m.y1 = position(rng);
  m.eux = edge(rng);
  m.euy = rng() % 3 == 0 ? 0.0 : edge(rng);
  m.evx = rng() % 3 == 0 ? 0.0 : edge(rng);
  m.evy = edge(rng);
  m.det = m.eux * m.evy - m.euy * m.evx;
  if (m.det == 0) m.det = 1;
  m.inverseDet = 1.0 / m.det;
  m.u0 = coordinate(rng);
  m.du = coordinate(rng) - m.u0;
  m.v0 = coordinate(rng);
  m.dv = coordinate(rng) - m.v0;
  m.texW = 1 + rng() % 600;
  m.texH = 1 + rng() % 600;
  return m;
}

TEST(SpriteTextureMap, FourAtATimeGivesTheReferenceNumbers) {
  if (!HasAvx2()) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 rng(3);
  for (int trial = 0; trial < 500; ++trial) {
    const TextureMap map = RandomMap(rng);
    const int width = static_cast<int>(map.texW), height = static_cast<int>(map.texH);
    const int n = 1 + static_cast<int>(rng() % 40);
    const std::int64_t first = static_cast<std::int64_t>(rng() % 5000) - 2500;

    std::vector<std::int32_t> reference(n), vector(n);
    TexelColumns(reference.data(), n, first, map, width, false);
    TexelColumns(vector.data(), n, first, map, width, true);
    ASSERT_EQ(vector, reference) << "columns, trial " << trial;
    TexelRows(reference.data(), n, first, map, width, height, false);
    TexelRows(vector.data(), n, first, map, width, height, true);
    ASSERT_EQ(vector, reference) << "rows, trial " << trial;

    std::vector<TurnedRow> rows(n), vectorRows(n);
    for (int r = 0; r < n; ++r)
      rows[r] = {static_cast<std::int32_t>(first + r),
                 static_cast<std::int32_t>(rng() % 4000) - 2000, 1, 0, 0};
    vectorRows = rows;
    TurnedRowStarts(rows.data(), n, map, false);
    TurnedRowStarts(vectorRows.data(), n, map, true);
    for (int r = 0; r < n; ++r) {
      ASSERT_EQ(vectorRows[r].u, rows[r].u) << "u, trial " << trial << " row " << r;
      ASSERT_EQ(vectorRows[r].v, rows[r].v) << "v, trial " << trial << " row " << r;
    }
  }
}

// Texel indices hold to the texture: below its first texel (or not a number)
// is texel 0, at or past its end is the last.
TEST(SpriteTextureMap, IndicesHoldToTheTexture) {
  EXPECT_EQ(TexelIndex(-0.25, 64, 64), 0);
  EXPECT_EQ(TexelIndex(0.0, 64, 64), 0);
  EXPECT_EQ(TexelIndex(0.5, 64, 64), 32);
  EXPECT_EQ(TexelIndex(63.99 / 64, 64, 64), 63);
  EXPECT_EQ(TexelIndex(1.0, 64, 64), 63);
  EXPECT_EQ(TexelIndex(1.0 + 1e-9, 64, 64), 63);
  EXPECT_EQ(TexelIndex(std::numeric_limits<double>::quiet_NaN(), 64, 64), 0);
}

}  // namespace
}  // namespace vdx
