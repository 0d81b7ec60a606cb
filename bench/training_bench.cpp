// A frame of training as a player sees it, against the fight loop's frame
// (fight_loop_bench.cpp): the step, the fight's picture, and over it every
// read-out (both input displays, the frame data, the damage, the hit boxes);
// and a frame of training's pause menu with both move lists. The read-outs'
// text is rendered every frame, so this is what it costs.
#include <benchmark/benchmark.h>

#include "demo_game.h"
#include "fastest.h"
#include "match/training_mode.h"

namespace {

using bench::DemoGame;
using bench::KiraAndBrannOnTheHarbour;

// Player 1 keeps busy: in, punch, kick, back; the dummy blocks.
vdx::FightInputs Keys(std::uint64_t n) {
  constexpr std::uint8_t cycle[] = {vdx::kButtonRight, vdx::kButtonRight, vdx::kButtonPunch, 0,
                                    vdx::kButtonKick,  0,                 vdx::kButtonLeft,  0};
  return {vdx::PlayerInput{cycle[(n / 6) % 8]}, vdx::PlayerInput{}};
}

void BM_TrainingFrame(benchmark::State& state) {
  DemoGame demo;
  vdx::TrainingSession session(demo.game, KiraAndBrannOnTheHarbour(), true);
  session.options.guard = vdx::DummyGuard::All;
  session.options.showHitBoxes = true;
  std::uint64_t n = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(vdx::StepTraining(session, Keys(++n), {}));
}
BENCHMARK(BM_TrainingFrame)->ComputeStatistics("fastest", bench::Fastest);

void BM_TrainingPausedFrame(benchmark::State& state) {
  DemoGame demo;
  vdx::TrainingSession session(demo.game, KiraAndBrannOnTheHarbour(), true);
  session.pause.open = true;
  for (auto _ : state) benchmark::DoNotOptimize(vdx::StepTraining(session, {}, {}));
}
BENCHMARK(BM_TrainingPausedFrame)->ComputeStatistics("fastest", bench::Fastest);

}  // namespace
