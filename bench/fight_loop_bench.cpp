// One whole frame of the real fight loop (simulation and drawing, as in play)
// on the demo folder: Kira and Brann on the harbour in the rain, its scenery
// moving, both in action; with a burst of sparks and a flash on screen, or
// with both fighters' specials always flying.
#include <benchmark/benchmark.h>

#include "demo_game.h"
#include "fastest.h"
#include "fight/effect_step.h"
#include "match/fight_loop.h"
#include "fight/flashes.h"
#include "fight/sparks.h"

namespace {

// Both players keep busy: walking in, punching, kicking, blocking, jumping, in
// a cycle of held keys that changes every few frames.
void SetKeys(vdx::FrameInput& frame, std::uint64_t n, const vdx::Settings& s) {
  frame.keys.fill(0);
  const auto hold = [&frame](vdx::Integer code) {
    if (code > 0 && code < 256) frame.keys[static_cast<std::size_t>(code)] = 0x80;
  };
  switch ((n / 6) % 8) {
    case 0:
    case 1:
      hold(s.Player1Keys.Forward);
      hold(s.Player2Keys.Backward);
      break;
    case 2:
      hold(s.Player1Keys.Punch);
      hold(s.Player2Keys.Kick);
      break;
    case 4:
      hold(s.Player1Keys.Kick);
      hold(s.Player2Keys.Block);
      break;
    case 6:
      hold(s.Player1Keys.Up);
      hold(s.Player2Keys.Punch);
      break;
    default:
      break;  // let go, so the next keys count
  }
}

using bench::DemoGame;
using bench::KiraAndBrannOnTheHarbour;

// A round's set-up: both fighters' frames, the sounds, the stage.
void BM_RoundSetUp(benchmark::State& state) {
  DemoGame demo;
  vdx::FightSession session(demo.game, KiraAndBrannOnTheHarbour(), {});
  for (auto _ : state)
    vdx::BeginRound(session);
}
BENCHMARK(BM_RoundSetUp)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("fastest", bench::Fastest);

// What is on screen besides the fighters.
enum class Extras { None, SparksAndFlash, Specials };

// Starts the player's special's effects again whenever they are not running.
void KeepFiring(vdx::StepContext& ctx, int player, const char* special) {
  const vdx::cCharacter& c = ctx.slots.players[player].character;
  const vdx::cAction* action = c.Actions.find(special);
  if (action == nullptr || action->EffectList.empty()) return;
  const auto shot = c.Effects.indexOf(action->EffectList.front());
  if (!shot) return;
  const auto& runs = ctx.fight.effects[static_cast<std::size_t>(player)];
  if (*shot < runs.count && !runs.runs[*shot].bActive) vdx::StartActionEffects(ctx, player, *action);
}

void BM_FightLoopFrame(benchmark::State& state, vdx::RasterPath path, Extras extras) {
  DemoGame demo;
  vdx::Game& game = demo.game;
  game.display.raster = path;
  vdx::FightSession session(game, KiraAndBrannOnTheHarbour(), {});
  vdx::BeginRound(session);
  vdx::FightState& fight = session.fight;
  vdx::FrameInput frame;
  frame.ticks = vdx::platform::kTickBase;
  std::uint64_t n = 0;
  for (auto _ : state) {
    frame.ticks += 16;
    SetKeys(frame, ++n, game.settings);
    // The blows land, but nobody is ever knocked out: every frame is a fight frame.
    fight.fighters[1].Health = fight.fighters[2].Health = 30000;
    if (extras == Extras::SparksAndFlash) {
      // A burst of sparks and a flash always showing.
      if (!fight.sparks[1].Active) {
        vdx::ArmSparks(fight, 1, 320, 300);
        vdx::ShowSparks(fight, 1);
      }
      if (fight.flashCount == 0) vdx::AddFlash(fight, 330, 280, vdx::FightClock(fight));
    }
    if (extras == Extras::Specials) {
      vdx::FightEvents events;
      vdx::StepContext ctx{fight, session.slots, events, vdx::FightClock(fight)};
      KeepFiring(ctx, 1, "FlameWave");
      KeepFiring(ctx, 2, "BoulderToss");
    }
    benchmark::DoNotOptimize(vdx::RunFightFrame(session, frame));
  }
  if (!fight.raining) state.SkipWithError("the harbour should rain (Weather on in Game.xml)");
}
BENCHMARK_CAPTURE(BM_FightLoopFrame, avx2, vdx::RasterPath::Avx2, Extras::None)
    ->ComputeStatistics("fastest", bench::Fastest);
BENCHMARK_CAPTURE(BM_FightLoopFrame, best, vdx::RasterPath::Best, Extras::None)
    ->ComputeStatistics("fastest", bench::Fastest);
BENCHMARK_CAPTURE(BM_FightLoopFrame, avx2_sparks, vdx::RasterPath::Avx2, Extras::SparksAndFlash)
    ->ComputeStatistics("fastest", bench::Fastest);
BENCHMARK_CAPTURE(BM_FightLoopFrame, avx2_specials_rain, vdx::RasterPath::Avx2, Extras::Specials)
    ->ComputeStatistics("fastest", bench::Fastest);

}  // namespace
