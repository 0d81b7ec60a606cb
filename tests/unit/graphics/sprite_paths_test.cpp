// Every vector path of the renderer must give the scalar reference's pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

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
    for (RasterPath path : {RasterPath::Sse2, RasterPath::Avx2, RasterPath::Best}) {
      std::vector<std::uint32_t> out = below;
      ShadeSpan(out.data(), texels.pixels.data(), columns.data(), n, s, path);
      ASSERT_EQ(out, reference) << "trial " << trial << " path " << static_cast<int>(path);
    }
  }
}

TEST(SpritePaths, WholeDrawsMatchTheScalarOne) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 120; ++trial) {
    const int w = 1 + static_cast<int>(rng() % 90), h = 1 + static_cast<int>(rng() % 90);
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
    a.DestWidth = static_cast<std::int16_t>(rng() % 3 == 0 ? 0 : 1 + rng() % 200);
    a.DestHeight = static_cast<std::int16_t>(rng() % 3 == 0 ? 0 : 1 + rng() % 200);
    a.Angle = rng() % 2 ? 0.0f : (rng() % 700) / 100.0f;
    a.Red = (rng() % 101) / 100.0f;
    a.Green = (rng() % 101) / 100.0f;
    a.Blue = (rng() % 101) / 100.0f;
    a.Alpha = (rng() % 101) / 100.0f;
    a.BlendMode = static_cast<std::int16_t>(rng() % 5);
    a.Flip = static_cast<std::int16_t>(rng() % 2);
    Surface reference = Noise(320, 240, rng, false);
    Surface best = reference, sse2 = reference;
    SpriteArgs ra = a, ba = a, sa = a;
    DrawSprite(reference, unmarked, ra, RasterPath::Scalar);
    DrawSprite(best, marked, ba, RasterPath::Best);
    DrawSprite(sse2, marked, sa, RasterPath::Sse2);
    ASSERT_EQ(best.pixels, reference.pixels) << "trial " << trial;
    ASSERT_EQ(sse2.pixels, reference.pixels) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vdx
