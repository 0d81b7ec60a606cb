// An idle fight frame allocates nothing, and neither does the fight's step in
// action: every allocation of the test program is counted while the counter
// is on.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>
#include <new>

#include "content/get_xml.h"
#include "fight/fight_step.h"
#include "match/fight_loop.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace vdx {
namespace {

TEST(FightAllocations, AnIdleFightFrameAllocatesNothing) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  platform.openAudio();
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log.txt";
  GetXML(game.paths, game.settings, game.content, game.loadReport);
  MatchSetup setup;
  setup.player1 = "Kira";
  setup.player2 = "Brann";
  setup.stage = "Harbour";
  FightSession session(game, setup, {});
  BeginRound(session);
  FrameInput frame;
  frame.ticks = platform::kTickBase;
  const auto run = [&](int frames) {
    for (int i = 0; i < frames; ++i) {
      frame.ticks += 16;
      ASSERT_EQ(RunFightFrame(session, frame), FrameEnd::Running);
    }
  };
  // The first key starts the fight; then the fighters stand, the pick-up
  // falls and the first frames have made what they keep.
  run(10);  // keys held as a round begins would wait for their release
  frame.keys[static_cast<std::size_t>(game.settings.Player1Keys.Block)] = 0x80;
  run(3);
  frame.keys.fill(0);
  run(120);
  ASSERT_TRUE(session.fight.FightStarted);
  counting = true;
  run(300);
  counting = false;
  EXPECT_EQ(allocations.load(), 0) << "over 300 idle frames";
  platform.closeAudio();
}

// The rules alone, undrawn, on the same scene in the rain: both specials
// typed and flying until they hit, then both fighters walking in, punching,
// kicking, blocking and jumping; no frame of it allocates.
TEST(FightAllocations, StepFightInActionAllocatesNothing) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  platform.openAudio();
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log.txt";
  GetXML(game.paths, game.settings, game.content, game.loadReport);
  game.settings.Weather = true;
  MatchSetup setup;
  setup.player1 = "Kira";
  setup.player2 = "Brann";
  setup.stage = "Harbour";
  FightOutputs outputs;
  outputs.draw = false;
  FightSession session(game, setup, outputs);
  BeginRound(session);
  session.slots.ball = nullptr;  // no pick-up heals by chance
  FightState& fight = session.fight;
  long stepped = 0;
  const auto step = [&](PlayerInput one, PlayerInput two, int frames) {
    for (int i = 0; i < frames; ++i) {
      FightEvents events;
      ASSERT_EQ(StepFight(fight, session.slots, {one, two}, events), FightOutcome::Running)
          << "frame " << fight.frameNumber;
      ++stepped;
    }
  };
  const auto flying = [&](int player) {
    const EffectRuns& runs = fight.effects[static_cast<std::size_t>(player)];
    int n = 0;
    for (std::size_t i = 0; i < runs.count; ++i) n += runs.runs[i].bActive ? 1 : 0;
    return n;
  };
  // The first key starts the fight; the first frames make what they keep.
  step({}, {}, 2);
  step({kButtonBlock}, {}, 2);
  step({}, {}, 60);
  ASSERT_TRUE(fight.FightStarted);
  ASSERT_TRUE(fight.raining);
  const Integer health1 = fight.fighters[1].Health, health2 = fight.fighters[2].Health;
  stepped = 0;
  allocations = 0;
  counting = true;
  // Down, towards the opponent, Punch: both specials at once.
  step({kButtonDown}, {kButtonDown}, 3);
  step({kButtonRight}, {kButtonLeft}, 3);
  int mostFlying = 0;
  for (int i = 0; i < 16 && flying(1) + flying(2) < 2; ++i) step({kButtonPunch}, {kButtonPunch}, 1);
  for (int i = 0; i < 120; ++i) {
    mostFlying = std::max(mostFlying, flying(1) + flying(2));
    step({}, {}, 1);
  }
  // Then close in and trade blows, letting go between them.
  const PlayerInput one[] = {{kButtonRight}, {kButtonPunch}, {}, {kButtonKick}, {}, {kButtonUp}, {}};
  const PlayerInput two[] = {{kButtonLeft}, {kButtonKick}, {}, {kButtonBlock}, {}, {kButtonPunch}, {}};
  for (int round = 0; round < 6; ++round)
    for (std::size_t k = 0; k < std::size(one); ++k) {
      fight.fighters[1].Health = std::max(fight.fighters[1].Health, Integer{100});
      fight.fighters[2].Health = std::max(fight.fighters[2].Health, Integer{100});
      step(one[k], two[k], 6);
    }
  counting = false;
  EXPECT_GE(mostFlying, 2) << "both specials flew";
  EXPECT_TRUE(fight.fighters[1].Health != health1 || fight.fighters[2].Health != health2)
      << "blows landed";
  EXPECT_EQ(allocations.load(), 0) << "over " << stepped << " frames stepped";
  platform.closeAudio();
}

// Names may be as long as a fight holds (47 characters), longer than a
// string keeps without the heap: looking them up still allocates nothing.
TEST(FightAllocations, LookingUpALongNameAllocatesNothing) {
  Collection<cAction> actions;
  const std::string name(kMostNameChars, 'W');
  cAction action;
  action.Name = name;
  ASSERT_TRUE(actions.add(action, name));
  const std::string lower(kMostNameChars, 'w');
  const Name held(lower);
  allocations = 0;
  counting = true;
  const cAction* found = actions.find(held);
  const bool missing = actions.contains(std::string_view("nothing by this name at all, however long"));
  counting = false;
  EXPECT_EQ(found, actions.at(1));
  EXPECT_FALSE(missing);
  EXPECT_EQ(allocations.load(), 0);
}

}  // namespace
}  // namespace vdx
