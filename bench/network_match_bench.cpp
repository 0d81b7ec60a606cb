// A whole network match as one machine lives it, frame by frame:
//   BM_NetMatchFrames  two machines in this process over a simulated link of
//                      150 ms round trip (10 ms of jitter, 5 % of packets
//                      lost, some arriving twice or out of order, a fixed
//                      seed), each with its own game on the demo folder, its
//                      own fight and rollback session, and the computer at its
//                      own player's keys, over a match of up to three rounds.
//                      The machine of the argument's player draws every pass
//                      as the game does; each of its passes (the packets taken
//                      into the session, RunNetPass, the packets to send, the
//                      drawing) is timed on its own. The counters: the worst
//                      pass, the 99th percentile and the median (ms), the
//                      passes over 4 ms, and what the match cost in rollbacks;
//                      worst_cpu_ms and p99_cpu_ms are the same passes by the
//                      thread's processor time, which leaves out the time the
//                      system gave the processor to other work (on a busy
//                      machine the clock's worst pass is mostly that).
// One benchmark iteration is one match; the same seed plays the same match
// every time, so repetitions differ only in the machine's own noise.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

#include "demo_game.h"
#include "fight/computer_keys.h"
#include "match/fight_drawing.h"
#include "match/fight_loop.h"
#include "match/rollback_fight.h"
#include "net/rollback_session.h"
#include "platform/simulated_link.h"

namespace {

using Clock = std::chrono::steady_clock;

// The processor time this thread has had, in ms: on a shared machine a pass
// the system took the processor away from is long by the clock, not by this.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct PassTime {
  double ms = 0;     // by the steady clock
  double cpuMs = 0;  // by this thread's processor time
};

// The link the figure is asked for.
constexpr vdx::platform::LinkConditions kLink{.roundTripMs = 150,
                                              .jitterMs = 10,
                                              .loss = 0.05,
                                              .duplication = 0.0125,
                                              .reordering = 0.025,
                                              .seed = 7777};

// The same match on both machines: the generator's start, the fighters, the
// stage, and up to three rounds.
constexpr std::uint64_t kMatchRandom = 0x5EED;
// No match of the demo lasts this long; one that does is a fault.
constexpr int kMostPasses = 60 * 60 * 10;

// One machine of the match: a game of its own, its fight, its session, the
// computer at its player's keys.
struct Machine {
  Machine(int player, bool draw, vdx::platform::NetTransport& link, std::uint32_t now)
      : player(player), end(&link) {
    demo.game.settings.Rounds = 2;
    demo.game.random.Restore(kMatchRandom);
    vdx::FightOutputs outputs;
    outputs.draw = draw;
    session = std::make_unique<vdx::FightSession>(demo.game, bench::KiraAndBrannOnTheHarbour(),
                                                  outputs);
    vdx::BeginRound(*session);
    rf = std::make_unique<vdx::RollbackFight>(session->fight);
    net = std::make_unique<vdx::net::RollbackSession>(
        vdx::net::SessionOptions{.localPlayer = player}, now);
    computer = vdx::StartComputerAtKeys(player == 1 ? 11 : 29);
    while (end->nextEvent()) {  // the Connected event
    }
  }

  // One pass at `now`. When `took` is given, the machine's own work of the
  // pass is timed into it: the computer's choice of keys stands in for a
  // player's and the link's carrying of packets for the network, so neither
  // is; a round's set-up runs behind the round's end movies in the game, so
  // it is not either.
  void pass(std::uint32_t now, PassTime* took) {
    const vdx::PlayerInput keys = vdx::ComputerKeys(computer, rf->fight, session->slots, player);
    received.clear();
    while (auto e = end->nextEvent())
      if (e->kind == vdx::platform::NetEvent::Kind::Received) received.push_back(std::move(e->bytes));

    const Clock::time_point start = Clock::now();
    const double startCpu = ThreadCpuMs();
    for (const auto& packet : received) net->receive(packet, now);
    const vdx::NetPass p = vdx::RunNetPass(*rf, session->slots, *net, keys, now);
    std::vector<std::vector<std::uint8_t>> packets = net->takePackets(now);
    if (took != nullptr) {
      vdx::DrawFightScene(demo.game, rf->fight, session->slots, session->view);
      benchmark::DoNotOptimize(demo.game.display.backBuffer.pixels.data());
      benchmark::ClobberMemory();
      took->cpuMs = ThreadCpuMs() - startCpu;
      took->ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    for (const auto& packet : packets) end->send(1, vdx::platform::NetChannel::Unreliable, packet);
    confirmed = p.lastConfirmed >= p.firstConfirmed ? p.lastConfirmed : confirmed;
    if (p.end == vdx::FightOutcome::MatchOver) over = true;
    if (p.end == vdx::FightOutcome::RoundOver) {
      session->fight = rf->fight;
      vdx::BeginRound(*session);
      rf->fight = session->fight;
      vdx::RoundBegun(*rf);
      ++rounds;
    }
  }

  int player;
  bench::DemoGame demo;
  std::unique_ptr<vdx::FightSession> session;
  std::unique_ptr<vdx::RollbackFight> rf;
  std::unique_ptr<vdx::net::RollbackSession> net;
  vdx::platform::NetTransport* end;
  vdx::ComputerAtKeys computer;
  std::vector<std::vector<std::uint8_t>> received;
  std::uint64_t confirmed = 0;
  bool over = false;
  int rounds = 1;
};

// The value under which a share `q` of the sorted `ms` lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double q) {
  const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
  return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

void BM_NetMatchFrames(benchmark::State& state) {
  const int drawing = static_cast<int>(state.range(0));
  std::vector<double> ms, cpuMs;
  ms.reserve(static_cast<std::size_t>(kMostPasses));
  cpuMs.reserve(static_cast<std::size_t>(kMostPasses));
  std::uint64_t rollbacks = 0, longest = 0, restepped = 0, frames = 0, rounds = 0;
  std::uint64_t predictionHolds = 0, timeSyncHolds = 0, matches = 0;
  double worst = 0;
  std::size_t worstPass = 0;  // counted from 1 over all the matches
  for (auto _ : state) {
    state.PauseTiming();
    vdx::platform::SimulatedLink link(kLink);
    std::uint32_t now = 1000;
    link.setClock(now);
    auto a = std::make_unique<Machine>(1, drawing == 1, link.end(0), now);
    auto b = std::make_unique<Machine>(2, drawing == 2, link.end(1), now);
    Machine& drawn = drawing == 1 ? *a : *b;
    state.ResumeTiming();
    for (int pass = 0; pass < kMostPasses && !(a->over && b->over); ++pass) {
      now += pass % 3 == 2 ? 17 : 16;  // 60 frames a second
      link.setClock(now);
      for (Machine* m : {a.get(), b.get()}) {
        if (m->over) continue;
        PassTime took;
        m->pass(now, m == &drawn ? &took : nullptr);
        if (m != &drawn) continue;
        if (ms.empty() || took.ms > worst) {
          worst = took.ms;
          worstPass = ms.size() + 1;
        }
        ms.push_back(took.ms);
        cpuMs.push_back(took.cpuMs);
      }
      if (a->net->desync() || b->net->desync()) break;
    }
    if (a->net->desync() || b->net->desync()) {
      state.SkipWithError("the two games went out of step");
      return;
    }
    if (!a->over || !b->over) {
      state.SkipWithError("the match did not end");
      return;
    }
    const vdx::net::SessionStats& s = drawn.net->stats();
    rollbacks += s.rollbacks;
    longest = std::max(longest, s.longestRollback);
    restepped += s.framesRestepped;
    predictionHolds += s.predictionHolds;
    timeSyncHolds += s.timeSyncHolds;
    frames += drawn.confirmed;
    rounds += static_cast<std::uint64_t>(drawn.rounds);
    ++matches;
  }
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  std::sort(cpuMs.begin(), cpuMs.end());
  state.counters["worst_ms"] = ms.back();
  state.counters["p99_ms"] = Percentile(ms, 0.99);
  state.counters["median_ms"] = Percentile(ms, 0.5);
  state.counters["over_4ms"] =
      static_cast<double>(ms.end() - std::upper_bound(ms.begin(), ms.end(), 4.0));
  state.counters["worst_cpu_ms"] = cpuMs.back();
  state.counters["p99_cpu_ms"] = Percentile(cpuMs, 0.99);
  state.counters["worst_pass"] = static_cast<double>(worstPass);
  state.counters["passes"] = static_cast<double>(ms.size());
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["rounds"] = static_cast<double>(rounds);
  state.counters["rollbacks"] = static_cast<double>(rollbacks);
  state.counters["longest_rollback"] = static_cast<double>(longest);
  state.counters["restepped"] = static_cast<double>(restepped);
  state.counters["prediction_holds"] = static_cast<double>(predictionHolds);
  state.counters["time_sync_holds"] = static_cast<double>(timeSyncHolds);
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_NetMatchFrames)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
