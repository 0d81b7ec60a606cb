// A frame of the fight's hit sparks: 50 particles of 16 x 16, turned by the
// running angle, drawn over the back buffer.
#include <benchmark/benchmark.h>

#include "effects/particle_drawing.h"
#include "effects/particle_engine.h"
#include "fastest.h"
#include "platform/headless/headless_platform.h"

namespace {

void BM_SparkBurstFrame(benchmark::State& state) {
  vdx::platform::HeadlessPlatform platform;
  const vdx::PathResolver paths(VDX_DEMO_DIR);
  // Nowhere to log: the refused log is said once on standard error.
  vdx::LogFile log("/dev/null");
  const vdx::LoadContext ctx{platform, paths, log, nullptr};
  const vdx::SharedSurface spark =
      vdx::LoadParticleTexture(ctx, vdx::kSparkPicture, vdx::kSparkSize, vdx::kSparkSize);
  if (!spark) {
    state.SkipWithError("the demo folder is missing");
    return;
  }
  vdx::RandomGenerator random;
  vdx::cParticle sparks;
  vdx::Surface back = vdx::MakeSurface(640, 480, 0x302040);
  const auto path = static_cast<vdx::RasterPath>(state.range(0));
  std::int64_t frames = 0;
  for (auto _ : state) {
    // A burst lives about 50 frames; a new one starts as soon as it ends.
    if (!sparks.Active) {
      vdx::ArmSparkBurst(sparks, random, 320, 300);
      sparks.Active = true;
    }
    // As a fight frame: the burst drawn as it is, then its step.
    vdx::DrawParticles(sparks, spark.get(), back, path);
    vdx::AdvanceParticles(sparks);
    benchmark::DoNotOptimize(back.pixels.data());
    ++frames;
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_SparkBurstFrame)
    ->Arg(static_cast<int>(vdx::RasterPath::Best))
    ->Arg(static_cast<int>(vdx::RasterPath::Scalar))
    ->ArgName("path")
    ->ComputeStatistics("fastest", bench::Fastest);

}  // namespace
