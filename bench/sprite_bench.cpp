// Speed of the sprite renderer against the physical floor of a frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fastest.h"
#include "fight_frame_scene.h"
#include "graphics/sprite_renderer.h"
#include "graphics/vdp_frame.h"

namespace {

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<std::uint32_t> from(640 * 480, 0x123456), to(640 * 480);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), 640 * 480 * 4);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMemcpy)->ComputeStatistics("fastest", bench::Fastest);

void BM_FightFrame(benchmark::State& state) {
  const bench::FightScene scene = bench::MakeFightScene();
  vdx::Surface back = vdx::MakeSurface(640, 480);
  for (auto _ : state) {
    bench::DrawFightFrame(back, scene);
    benchmark::DoNotOptimize(back.pixels.data());
  }
}
BENCHMARK(BM_FightFrame)->ComputeStatistics("fastest", bench::Fastest);

void BM_FightFrameScalar(benchmark::State& state) {
  const bench::FightScene scene = bench::MakeFightScene();
  vdx::Surface back = vdx::MakeSurface(640, 480);
  for (auto _ : state) {
    bench::DrawFightFrame(back, scene, vdx::RasterPath::Scalar);
    benchmark::DoNotOptimize(back.pixels.data());
  }
}
BENCHMARK(BM_FightFrameScalar)->ComputeStatistics("fastest", bench::Fastest);

// The menu: five 512 x 512 strips over the background.
void BM_MenuFrame(benchmark::State& state) {
  vdx::Surface strips = vdx::MakeSurface(512, 512);
  strips.colorKey = 0;
  for (int y = 0; y < 42; ++y)
    for (int x = 0; x < 200; ++x)
      strips.at(x, y) = 0xFFFFFF;
  const vdx::Surface background = vdx::MakeSurface(640, 480, 0x302040);
  vdx::Surface back = vdx::MakeSurface(640, 480);
  for (auto _ : state) {
    back.pixels = background.pixels;
    for (int i = 0; i < 5; ++i) {
      vdx::SpriteArgs a;
      a.X = 220;
      a.Y = 200.0f + 45 * i;
      a.Width = a.Height = 512;
      a.Red = 1;
      a.Green = a.Blue = i == 0 ? 0.0f : 1.0f;
      vdx::DrawSprite(back, strips, a);
    }
    benchmark::DoNotOptimize(back.pixels.data());
  }
}
BENCHMARK(BM_MenuFrame)->ComputeStatistics("fastest", bench::Fastest);

// One 256 x 256 keyed fighter at (100, 100), drawn over and over on a path (a
// path the processor lacks falls back to the next narrower one).
void DrawFighter(benchmark::State& state, vdx::SpriteArgs args, vdx::RasterPath path) {
  const bench::FightScene scene = bench::MakeFightScene();
  vdx::Surface back = vdx::MakeSurface(640, 480);
  for (auto _ : state) {
    vdx::SpriteArgs a = args;
    vdx::DrawSprite(back, scene.fighter, a, path);
    benchmark::DoNotOptimize(back.pixels.data());
  }
}

void BM_DrawSpriteUnrotated(benchmark::State& state, vdx::RasterPath path) {
  DrawFighter(state, vdx::SpriteAt(100, 100, 256, 256), path);
}
BENCHMARK_CAPTURE(BM_DrawSpriteUnrotated, scalar, vdx::RasterPath::Scalar);
BENCHMARK_CAPTURE(BM_DrawSpriteUnrotated, sse2, vdx::RasterPath::Sse2);
BENCHMARK_CAPTURE(BM_DrawSpriteUnrotated, avx2, vdx::RasterPath::Avx2);
BENCHMARK_CAPTURE(BM_DrawSpriteUnrotated, avx512, vdx::RasterPath::Avx512);

void BM_DrawSpriteRotated(benchmark::State& state, vdx::RasterPath path) {
  vdx::SpriteArgs a = vdx::SpriteAt(100, 100, 256, 256);
  a.Angle = 0.7f;
  a.Alpha = 0.5f;
  DrawFighter(state, a, path);
}
BENCHMARK_CAPTURE(BM_DrawSpriteRotated, scalar, vdx::RasterPath::Scalar);
BENCHMARK_CAPTURE(BM_DrawSpriteRotated, sse2, vdx::RasterPath::Sse2);
BENCHMARK_CAPTURE(BM_DrawSpriteRotated, avx2, vdx::RasterPath::Avx2);
BENCHMARK_CAPTURE(BM_DrawSpriteRotated, avx512, vdx::RasterPath::Avx512);

void BM_UnpackVDPFrame(benchmark::State& state) {
  const bench::FightScene scene = bench::MakeFightScene();
  std::vector<std::uint8_t> bytes;
  for (int y = 255; y >= 0; --y) {
    int x = 0;
    while (x < 256) {
      const std::uint32_t c = scene.fighter.at(x, y);
      int n = 1;
      while (x + n < 256 && n < 255 && scene.fighter.at(x + n, y) == c)
        ++n;
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(c >> 16),
                                 static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
      x += n;
    }
  }
  vdx::Surface frame = vdx::MakeSurface(256, 256);
  for (auto _ : state) {
    vdx::UnpackVDPFrame(bytes, frame, 256, 256);
    benchmark::DoNotOptimize(frame.pixels.data());
  }
}
BENCHMARK(BM_UnpackVDPFrame);

}  // namespace
