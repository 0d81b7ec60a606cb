// One whole frame of the real fight loop (simulation and drawing, as in play)
// on the demo folder: Kira and Brann on the harbour in the rain, its scenery
// moving, both in action; with a burst of sparks and a flash on screen, or
// with both fighters' specials always flying.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "content/get_xml.h"
#include "fastest.h"
#include "fight/effect_step.h"
#include "match/fight_loop.h"
#include "fight/flashes.h"
#include "fight/sparks.h"
#include "platform/headless/headless_platform.h"

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

// A game on the demo folder, its log kept out of the folder.
struct DemoGame {
  DemoGame() : game(platform, VDX_DEMO_DIR) {
    const auto work = std::filesystem::temp_directory_path() / "vdx_bench_fight";
    std::filesystem::create_directories(work);
    platform.openAudio();
    game.log.path = work / "log.txt";
    vdx::GetXML(game.paths, game.settings, game.content, game.loadReport);
  }
  ~DemoGame() { platform.closeAudio(); }
  vdx::platform::HeadlessPlatform platform;
  vdx::Game game;
};

vdx::MatchSetup KiraAndBrannOnTheHarbour() {
  vdx::MatchSetup setup;
  setup.player1 = "Kira";
  setup.player2 = "Brann";
  setup.stage = "Harbour";
  return setup;
}

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
void KeepFiring(vdx::FighterPassContext& ctx, int player, const char* special) {
  const vdx::cCharacter& c = ctx.slots.players[player].character;
  const vdx::cAction* action = c.Actions.find(special);
  if (action == nullptr || action->EffectList.empty()) return;
  const vdx::cEffect* shot = c.Effects.find(action->EffectList.front());
  if (shot != nullptr && !shot->bActive) vdx::StartActionEffects(ctx, player, *action);
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
        vdx::ArmSparks(game, fight, session.slots, 1, 320, 300);
        vdx::ShowSparks(fight, 1);
      }
      if (fight.flashCount == 0) vdx::AddFlash(fight, 330, 280, frame.ticks);
    }
    if (extras == Extras::Specials) {
      vdx::FighterPassContext ctx{game, fight, session.slots, frame.ticks};
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
