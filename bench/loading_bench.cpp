// How long a fighter's whole set of frames takes to load (with its hit boxes).
#include <benchmark/benchmark.h>

#include "content/get_xml.h"
#include "graphics/sprite_loading.h"
#include "platform/headless/headless_platform.h"

namespace {

void BM_LoadCharacterActions(benchmark::State& state) {
  const char* names[] = {"Kira", "Vex"};  // bitmaps, packed frames
  vdx::platform::HeadlessPlatform platform;
  const vdx::PathResolver paths(VDX_DEMO_DIR);
  vdx::Settings settings;
  vdx::Content content;
  vdx::LoadReport report;
  vdx::GetXML(paths, settings, content, report);
  vdx::cCharacter* c = content.Characters.find(names[state.range(0)]);
  if (c == nullptr) {
    state.SkipWithError("the demo folder is missing");
    return;
  }
  // Nowhere to log: the refused log is said once on standard error.
  vdx::LogFile log("/dev/null");
  const vdx::LoadContext ctx{platform, paths, log, nullptr};
  for (auto _ : state) {
    vdx::FighterFrames frames;
    vdx::loadcharacteractions(ctx, *c, frames, "brann", false);
    benchmark::DoNotOptimize(frames.frames.data());
  }
}
BENCHMARK(BM_LoadCharacterActions)->Arg(0)->Arg(1)->ArgName("vdp")->Unit(benchmark::kMillisecond);

}  // namespace
