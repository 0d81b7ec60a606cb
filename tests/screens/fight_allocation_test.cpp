// An idle fight frame allocates nothing: every allocation of the test program
// is counted while the counter is on.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "content/get_xml.h"
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

}  // namespace
}  // namespace vdx
