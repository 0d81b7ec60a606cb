// The fight's rules alone, one frame at a time, against the figures the other
// benchmarks of this program give (BM_FrameMemcpy, BM_FightLoopFrame):
//   BM_FightStep         one StepFight of the demo fight in the rain, both
//                        fighters in action and both specials flying;
//   BM_FightSaveRestore  a save and a restore of the whole state;
//   BM_RollbackFrame     what a displayed frame costs at worst under rollback:
//                        restore, 8 steps again, save, one step, the drawing;
//   BM_NetRollbackPass   a pass of a network match at the prediction limit,
//                        through the rollback session: the other player's
//                        input of the oldest guessed frame proves wrong every
//                        pass, so each goes back 8 frames (restore, 8 steps
//                        again with their hashes), then steps and hashes the
//                        new frame; /1 also draws it;
//   BM_ComputerFight     the computer against itself, undrawn, match after
//                        match: how many times faster than real time it steps.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

#include "demo_game.h"
#include "fastest.h"
#include "fight/fight_step.h"
#include "match/fight_drawing.h"
#include "match/fight_loop.h"
#include "match/rollback_fight.h"
#include "net/packets.h"
#include "net/rollback_session.h"

namespace {

using vdx::FightInputs;
using vdx::FightState;
using vdx::PlayerInput;

// The steps after the saved state that the benchmarks replay: both throwers
// finish their specials while the projectiles fly, then punch and kick at
// each other, letting go between blows so the next press counts.
constexpr int kWindow = 32;

FightInputs WindowInputs(int step) {
  FightInputs in{};
  switch (step / 8) {
    case 1:
      in[0].buttons = vdx::kButtonPunch;
      in[1].buttons = vdx::kButtonKick;
      break;
    case 3:
      in[0].buttons = vdx::kButtonKick;
      in[1].buttons = vdx::kButtonPunch;
      break;
    default:
      break;
  }
  return in;
}

bool AnyEffectFlying(const FightState& fight, int player) {
  const vdx::EffectRuns& runs = fight.effects[static_cast<std::size_t>(player)];
  for (std::size_t i = 0; i < runs.count; ++i)
    if (runs.runs[i].bActive) return true;
  return false;
}

// The demo fight on the harbour in the rain, drawn with the AVX2 path, stepped
// on the players' buttons to the moment both specials are in the air: `saved`.
class ActionScene {
 public:
  explicit ActionScene(bool draw) {
    demo.game.display.raster = vdx::RasterPath::Avx2;
    vdx::FightOutputs outputs;
    outputs.draw = draw;
    session = std::make_unique<vdx::FightSession>(demo.game, bench::KiraAndBrannOnTheHarbour(),
                                                  outputs);
    vdx::BeginRound(*session);
    session->slots.ball = nullptr;  // no pick-up falls by chance
    FightState& fight = session->fight;
    // The first key only starts the fight.
    Run({}, 2);
    Run({PlayerInput{vdx::kButtonBlock}, {}}, 2);
    Run({}, 20);
    // Both specials at once: Down, towards the opponent, Punch (Kira faces
    // right, Brann left), Punch held until the throws begin.
    Run({PlayerInput{vdx::kButtonDown}, PlayerInput{vdx::kButtonDown}}, 3);
    Run({PlayerInput{vdx::kButtonRight}, PlayerInput{vdx::kButtonLeft}}, 3);
    for (int i = 0; i < 16 && !(AnyEffectFlying(fight, 1) && AnyEffectFlying(fight, 2)); ++i)
      Run({PlayerInput{vdx::kButtonPunch}, PlayerInput{vdx::kButtonPunch}}, 1);
    Run({}, 2);
    saved = fight;
    // The window must stay a fight in action to its end.
    for (int step = 0; step < kWindow; ++step) {
      vdx::FightEvents events;
      if (vdx::StepFight(fight, session->slots, WindowInputs(step), events) !=
          vdx::FightOutcome::Running)
        problem = "the round ended within the window";
    }
    if (!AnyEffectFlying(fight, 1) && !AnyEffectFlying(fight, 2))
      problem = "no projectile flies at the window's end";
    if (!saved.raining) problem = "the harbour should rain (Weather on in Game.xml)";
    if (!saved.FightStarted) problem = "the fight did not start";
    if (!AnyEffectFlying(saved, 1) || !AnyEffectFlying(saved, 2))
      problem = "both specials should fly in the saved state";
    fight = saved;
  }

  FightState& fight() { return session->fight; }
  const vdx::FightSlots& slots() const { return session->slots; }
  vdx::Game& game() { return demo.game; }
  vdx::FightView& view() { return session->view; }

  bench::DemoGame demo;
  std::unique_ptr<vdx::FightSession> session;
  FightState saved;
  const char* problem = nullptr;

 private:
  void Run(const FightInputs& inputs, int frames) {
    for (int i = 0; i < frames; ++i) {
      vdx::FightEvents events;
      vdx::StepFight(session->fight, session->slots, inputs, events);
    }
  }
};

// One step. The state goes back to the saved one by assignment every kWindow
// steps, inside the timing (pausing the timer costs more than a step); that
// restore, a copy of the state spread over 32 steps, is part of the figure:
// BM_FightSaveRestore / 2 / 32 per step.
void BM_FightStep(benchmark::State& state) {
  ActionScene scene(false);
  if (scene.problem != nullptr) {
    state.SkipWithError(scene.problem);
    return;
  }
  FightState& fight = scene.fight();
  const vdx::FightSlots& slots = scene.slots();
  std::array<FightInputs, kWindow> inputs{};
  for (int i = 0; i < kWindow; ++i) inputs[static_cast<std::size_t>(i)] = WindowInputs(i);
  int step = 0;
  for (auto _ : state) {
    if (step == kWindow) {
      fight = scene.saved;
      step = 0;
    }
    vdx::FightEvents events;
    benchmark::DoNotOptimize(
        vdx::StepFight(fight, slots, inputs[static_cast<std::size_t>(step++)], events));
    benchmark::DoNotOptimize(events);
  }
  state.counters["bytes"] = static_cast<double>(sizeof(FightState));
}
BENCHMARK(BM_FightStep)->ComputeStatistics("fastest", bench::Fastest);

// A save (a copy into a state kept for it) and a restore (the assignment back).
void BM_FightSaveRestore(benchmark::State& state) {
  ActionScene scene(false);
  FightState& fight = scene.fight();
  auto snapshot = std::make_unique<FightState>();
  for (auto _ : state) {
    *snapshot = fight;
    benchmark::DoNotOptimize(snapshot.get());
    benchmark::ClobberMemory();
    fight = *snapshot;
    benchmark::DoNotOptimize(&fight);
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = static_cast<double>(sizeof(FightState));
}
BENCHMARK(BM_FightSaveRestore)->ComputeStatistics("fastest", bench::Fastest);

// A displayed frame under rollback at its worst: the last confirmed state
// restored, 8 frames stepped again, the newest state saved, the frame shown
// stepped and drawn into the back buffer (AVX2).
void BM_RollbackFrame(benchmark::State& state) {
  ActionScene scene(true);
  if (scene.problem != nullptr) {
    state.SkipWithError(scene.problem);
    return;
  }
  FightState& fight = scene.fight();
  const vdx::FightSlots& slots = scene.slots();
  auto snapshot = std::make_unique<FightState>();
  for (auto _ : state) {
    fight = scene.saved;
    for (int step = 0; step < 8; ++step) {
      vdx::FightEvents events;
      benchmark::DoNotOptimize(vdx::StepFight(fight, slots, WindowInputs(step), events));
    }
    *snapshot = fight;
    benchmark::DoNotOptimize(snapshot.get());
    vdx::FightEvents events;
    benchmark::DoNotOptimize(vdx::StepFight(fight, slots, WindowInputs(8), events));
    vdx::DrawFightScene(scene.game(), fight, slots, scene.view());
    benchmark::DoNotOptimize(scene.game().display.backBuffer.pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RollbackFrame)->ComputeStatistics("fastest", bench::Fastest);

// The other player's input for `frame` in the rollback benchmark: it changes
// every frame, so the guess (the last one held) is always wrong.
vdx::PlayerInput RemoteInput(std::uint64_t frame) {
  return vdx::PlayerInput{frame % 2 == 0 ? vdx::kButtonKick : vdx::kButtonBlock};
}

void BM_NetRollbackPass(benchmark::State& state) {
  const bool draw = state.range(0) != 0;
  ActionScene scene(draw);
  if (scene.problem != nullptr) {
    state.SkipWithError(scene.problem);
    return;
  }
  const vdx::FightSlots& slots = scene.slots();
  std::unique_ptr<vdx::RollbackFight> rf;
  std::unique_ptr<vdx::net::RollbackSession> session;
  std::uint32_t now = 0;
  int passes = 0;
  std::int64_t restepped = 0, steps = 0;
  // From the saved scene, steps to the prediction limit: 8 frames guessed.
  auto restart = [&] {
    rf = std::make_unique<vdx::RollbackFight>(scene.saved);
    session = std::make_unique<vdx::net::RollbackSession>(vdx::net::SessionOptions{}, now);
    passes = 0;
    while (session->lastStepped() < 2 + 8) {
      vdx::RunNetPass(*rf, slots, *session, WindowInputs(passes++ % kWindow)[0], now += 16);
      (void)session->takePackets(now);
    }
  };
  restart();
  for (auto _ : state) {
    // A run of passes is a few seconds of fight: then the scene starts again
    // (untimed) before the round could end.
    if (passes >= 600) {
      state.PauseTiming();
      restart();
      state.ResumeTiming();
    }
    now += 16;
    vdx::net::InputsMessage m;
    m.firstFrame = static_cast<std::uint32_t>(session->lastStepped() - 7);
    m.count = 1;
    m.inputs[0] = RemoteInput(m.firstFrame);
    m.ackFrame = static_cast<std::uint32_t>(session->lastStepped() + 2);
    m.frame = static_cast<std::uint32_t>(session->lastStepped());
    session->receive(vdx::net::Encode(m), now);
    const vdx::NetPass pass = vdx::RunNetPass(*rf, slots, *session,
                                              WindowInputs(passes++ % kWindow)[0], now);
    restepped += static_cast<std::int64_t>(pass.restepped);
    steps += pass.stepped ? 1 : 0;
    if (draw) {
      vdx::DrawFightScene(scene.game(), rf->fight, slots, scene.view());
      benchmark::DoNotOptimize(scene.game().display.backBuffer.pixels.data());
    }
    benchmark::DoNotOptimize(session->takePackets(now));
    benchmark::ClobberMemory();
  }
  state.counters["restepped"] =
      benchmark::Counter(static_cast<double>(restepped), benchmark::Counter::kAvgIterations);
  state.counters["stepped"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NetRollbackPass)->Arg(0)->Arg(1)->ComputeStatistics("fastest", bench::Fastest);

// The computer against itself without drawing, as scripts/soak.sh runs it:
// rounds and matches follow one another (the next round from the state as
// the last ended, the next match from where the generator was; the content is
// loaded once, as it is the same every round). "real_time_x" is the frames
// stepped a second of the loop's wall-clock time over the fight's 60.
void BM_ComputerFight(benchmark::State& state) {
  bench::DemoGame demo;
  vdx::MatchSetup setup = bench::KiraAndBrannOnTheHarbour();
  setup.GameMode = 1;
  setup.computer = vdx::ComputerPlays::Both;
  vdx::FightOutputs outputs;
  outputs.draw = false;
  vdx::FightSession session(demo.game, setup, outputs);
  vdx::BeginRound(session);
  FightState& fight = session.fight;
  const vdx::FightSlots& slots = session.slots;
  std::int64_t frames = 0, rounds = 0, matches = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    vdx::FightEvents events;
    const vdx::FightOutcome outcome = vdx::StepFight(fight, slots, FightInputs{}, events);
    benchmark::DoNotOptimize(events);
    ++frames;
    if (outcome == vdx::FightOutcome::Running) continue;
    ++rounds;
    if (outcome == vdx::FightOutcome::MatchOver) {
      ++matches;
      fight = vdx::StartingFightState(slots, fight.random.state());
    }
    fight.round = fight.RoundWins[1] + fight.RoundWins[2] + 1;
    vdx::BeginRoundState(fight, slots);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  state.counters["real_time_x"] =
      static_cast<double>(frames) / vdx::kFightFramesPerSecond / took.count();
  state.counters["rounds"] = static_cast<double>(rounds);
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_ComputerFight)->ComputeStatistics("fastest", bench::Fastest);

}  // namespace
