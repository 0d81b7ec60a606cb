// Every vector path of the renderer must give the scalar reference's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "graphics/sprite_renderer.h"
#include "graphics/sprite_span.h"

namespace vdx {
namespace {

Surface Noise(int w, int h, std::mt19937& rng, bool keyed) {
  Surface s = MakeSurface(w, h);
  for (std::uint32_t& p : s.pixels)
    p = rng() & 0xFFFFFF;
  if (keyed) {
    s.colorKey = 0;
    for (std::size_t i = 0; i < s.pixels.size(); i += 3)
      s.pixels[i] = (rng() & 1) ? 0 : 0x030203;
  }
  return s;
}

TEST(SpritePaths, EverySpanPathMatchesTheScalarOne) {
  std::mt19937 rng(7);
  const Surface texels = Noise(64, 1, rng, true);
  for (int trial = 0; trial < 400; ++trial) {
    SpanShading s = MakeSpanShading(texels, rng(), static_cast<SpriteBlend>(rng() % 4));
    if (trial % 5 == 0) s.red = s.green = s.blue = s.alpha = 255;  // the plain copy
    if (trial % 7 == 0) s.keyed = false;
    const int n = 1 + static_cast<int>(rng() % 61);
    std::vector<std::int32_t> columns(n);
    for (int i = 0; i < n; ++i)
      columns[i] = trial % 3 == 0 ? i : static_cast<std::int32_t>(rng() % 64);
    std::vector<std::uint32_t> below(n);
    for (std::uint32_t& p : below)
      p = rng() & 0xFFFFFF;
    std::vector<std::uint32_t> reference = below;
    ShadeSpan(reference.data(), texels.pixels.data(), columns.data(), n, s, RasterPath::Scalar);
    for (RasterPath path :
         {RasterPath::Sse2, RasterPath::Avx2, RasterPath::Avx512, RasterPath::Best}) {
      std::vector<std::uint32_t> out = below;
      ShadeSpan(out.data(), texels.pixels.data(), columns.data(), n, s, path);
      ASSERT_EQ(out, reference) << "trial " << trial << " path " << static_cast<int>(path);
    }
  }
}

// Several rows at once: texel rows by offset, drawn runs per row, and spans
// narrower than a vector group (whose rows the vector path packs together).
TEST(SpritePaths, RowsWithRunsAndNarrowSpansMatchTheScalarOne) {
  std::mt19937 rng(5);
  const Surface texels = Noise(40, 24, rng, true);
  for (int trial = 0; trial < 600; ++trial) {
    SpanShading s = MakeSpanShading(texels, rng(), static_cast<SpriteBlend>(rng() % 4));
    if (trial % 5 == 0) s.red = s.green = s.blue = s.alpha = 255;
    if (trial % 7 == 0) s.keyed = false;
    const int n = trial % 2 ? 1 + static_cast<int>(rng() % 7) : 1 + static_cast<int>(rng() % 40);
    const int rows = 1 + static_cast<int>(rng() % 20);
    // Columns as a scaled draw makes them: one way, at a step of 0.4 to 2.5.
    const double step = 0.4 + (rng() % 22) / 10.0;
    const bool mirrored = rng() % 2;
    std::vector<std::int32_t> columns(n), offsets(rows);
    for (int i = 0; i < n; ++i) {
      const int c = std::min(39, static_cast<int>(i * step));
      columns[i] = mirrored ? 39 - c : c;
    }
    for (int& o : offsets)
      o = static_cast<int>(rng() % 24) * 40;
    std::vector<RowRun> runs(rows);
    for (RowRun& r : runs) {
      r.from = static_cast<int>(rng() % (n + 1));
      r.to = r.from + static_cast<int>(rng() % (n - r.from + 1));
    }
    const int stride = n + static_cast<int>(rng() % 5);
    std::vector<std::uint32_t> below(static_cast<std::size_t>(stride) * rows);
    for (std::uint32_t& p : below)
      p = rng() & 0xFFFFFF;
    SpanRows r{nullptr,        stride, texels.pixels.data(),
               offsets.data(), rows,   static_cast<std::int32_t>(texels.pixels.size())};
    if (trial % 3 == 0) r.runs = runs.data();
    std::vector<std::uint32_t> reference = below;
    r.out = reference.data();
    ShadeRows(r, columns.data(), n, s, RasterPath::Scalar);
    for (RasterPath path :
         {RasterPath::Sse2, RasterPath::Avx2, RasterPath::Avx512, RasterPath::Best}) {
      std::vector<std::uint32_t> out = below;
      r.out = out.data();
      ShadeRows(r, columns.data(), n, s, path);
      ASSERT_EQ(out, reference) << "trial " << trial << " path " << static_cast<int>(path);
    }
  }
}

TEST(SpritePaths, WholeDrawsMatchTheScalarOne) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 400; ++trial) {
    // Some small sprites (a few pixels across), some at about their own size.
    const bool small = trial % 4 == 1;
    const int w = 1 + static_cast<int>(rng() % (small ? 12 : 90));
    const int h = 1 + static_cast<int>(rng() % (small ? 12 : 90));
    const Surface tex = Noise(w, h, rng, trial % 2 == 0);
    // Keyed margins on some rows, and the drawn columns worked out: passing
    // over the margins must not change a pixel.
    Surface marked = tex;
    for (int y = 0; y < h; y += 2)
      for (int x = 0; x < w / 3; ++x)
        marked.at(x, y) = marked.colorKey ? 0 : marked.at(x, y);
    Surface unmarked = marked;
    MarkDrawnColumns(marked);
    SpriteArgs a;
    a.X = static_cast<float>(static_cast<int>(rng() % 400) - 60) + (rng() % 4) * 0.25f;
    a.Y = static_cast<float>(static_cast<int>(rng() % 300) - 60);
    a.Width = static_cast<std::int16_t>(w);
    a.Height = static_cast<std::int16_t>(h);
    const auto size = [&](int own) {
      if (rng() % 3 == 0) return 0;
      if (trial % 4 == 2) return std::max(1, own * static_cast<int>(5 + rng() % 16) / 10);
      return static_cast<int>(1 + rng() % (small ? 16 : 200));
    };
    a.DestWidth = static_cast<std::int16_t>(size(w));
    a.DestHeight = static_cast<std::int16_t>(size(h));
    a.Angle = rng() % 2 ? 0.0f : (rng() % 700) / 100.0f;
    a.Red = (rng() % 101) / 100.0f;
    a.Green = (rng() % 101) / 100.0f;
    a.Blue = (rng() % 101) / 100.0f;
    a.Alpha = (rng() % 101) / 100.0f;
    a.BlendMode = static_cast<std::int16_t>(rng() % 5);
    a.Flip = static_cast<std::int16_t>(rng() % 2);
    Surface reference = Noise(320, 240, rng, false);
    SpriteArgs ra = a;
    const Surface below = reference;
    DrawSprite(reference, unmarked, ra, RasterPath::Scalar);
    for (RasterPath path :
         {RasterPath::Sse2, RasterPath::Avx2, RasterPath::Avx512, RasterPath::Best}) {
      Surface out = below;
      SpriteArgs pa = a;
      DrawSprite(out, marked, pa, path);
      ASSERT_EQ(out.pixels, reference.pixels)
          << "trial " << trial << " path " << static_cast<int>(path);
    }
  }
}

// A keyed picture wider than the renderer keeps its column table for on the
// stack (a stage drawn keyed, say): its margins are passed over just as well.
TEST(SpritePaths, WideKeyedPicturesMatchTheScalarOne) {
  std::mt19937 rng(13);
  Surface unmarked = Noise(1500, 6, rng, true);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 1500; ++x)
      if (x < 100 * (y + 1) || x > 1400 - 50 * y) unmarked.at(x, y) = 0;
  Surface marked = unmarked;
  MarkDrawnColumns(marked);
  for (int flip = 0; flip < 2; ++flip) {
    SpriteArgs a = SpriteAt(-200, 30, 1500, 6, 1100, 12);
    a.Flip = static_cast<std::int16_t>(flip);
    a.Alpha = 0.75f;
    Surface reference = Noise(640, 60, rng, false);
    Surface best = reference;
    SpriteArgs ra = a, ba = a;
    DrawSprite(reference, unmarked, ra, RasterPath::Scalar);
    DrawSprite(best, marked, ba, RasterPath::Best);
    EXPECT_EQ(best.pixels, reference.pixels) << "flip " << flip;
  }
}

// A picture so wide that its texture coordinates, as 16.16 fixed point, need
// more than 32 bits' worth of headroom: the vector paths step such rows like
// the reference, in 64 bits.
TEST(SpritePaths, VeryWideTurnedPicturesMatchTheScalarOne) {
  std::mt19937 rng(17);
  const Surface wide = Noise(20000, 3, rng, true);
  for (RasterPath path :
       {RasterPath::Sse2, RasterPath::Avx2, RasterPath::Avx512, RasterPath::Best}) {
    SpriteArgs a = SpriteAt(20, 200, 20000, 3, 600, 40);
    a.Angle = 1.9f;
    a.Alpha = 0.6f;
    Surface reference = Noise(640, 480, rng, false);
    Surface out = reference;
    SpriteArgs ra = a, pa = a;
    DrawSprite(reference, wide, ra, RasterPath::Scalar);
    DrawSprite(out, wide, pa, path);
    EXPECT_EQ(out.pixels, reference.pixels) << "path " << static_cast<int>(path);
  }
}

}  // namespace
}  // namespace vdx
