// The hit rules in a real fight on the demo folder, frame by frame: the
// fighters are put where a test needs them and keys are held for them.
#include <gtest/gtest.h>

#include "content/get_xml.h"
#include "match/fight_loop.h"
#include "fight/pick_up.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

class HitStep : public ::testing::Test {
 protected:
  HitStep() : game(platform, VDX_DEMO_DIR) {
    platform.openAudio();
    game.log.path = folder.path() / "log.txt";
    GetXML(game.paths, game.settings, game.content, game.loadReport);
  }
  ~HitStep() override { platform.closeAudio(); }

  // Kira and Brann on the harbour, the fight started, no pick-up falling.
  void Begin() {
    MatchSetup setup;
    setup.player1 = "Kira";
    setup.player2 = "Brann";
    setup.stage = "Harbour";
    session = std::make_unique<FightSession>(game, setup, FightOutputs{});
    BeginRound(*session);
    session->slots.ball = nullptr;
    frame.ticks = platform::kTickBase;
    Run(2);
    Hold({game.settings.Player1Keys.Block});
    Run(2);
    Hold({});
    Run(20);
  }

  void Hold(std::initializer_list<Integer> codes) {
    frame.keys.fill(0);
    for (const Integer code : codes) frame.keys[static_cast<std::size_t>(code)] = 0x80;
  }

  // Runs frames until somebody is knocked out or the round is over; returns
  // how many ran.
  int Run(int frames) {
    for (int i = 0; i < frames; ++i) {
      frame.ticks += 16;
      last = RunFightFrame(*session, frame);
      if (last != FrameEnd::Running || session->fight.RoundLoser != 0) return i + 1;
    }
    return frames;
  }

  FighterState& Fighter(int p) { return session->fight.fighters[p]; }

  // Puts the falling pick-up of `kind` on Kira's body, for a long life.
  void DropOnKira(int kind) {
    PickUp& ball = session->fight.pickUp;
    ball.PowerUpKind = kind;
    ball.falling = true;
    ball.x = Fighter(1).PlayerX + 100 - 25 + session->fight.CameraX;
    ball.y = 300;
    ball.lifeEnds = frame.ticks + 20000;
    ball.nextFall = ball.lifeEnds;
  }

  // Kira close enough to Brann for her fists and feet to reach him.
  void StandClose() {
    Fighter(1).PlayerX = 281;
    Fighter(2).PlayerX = 312;
  }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
  std::unique_ptr<FightSession> session;
  FrameInput frame;
  FrameEnd last = FrameEnd::Running;
};

TEST_F(HitStep, AKnockOutEndsTheRoundWithTheKOFrameAndTheWinCounted) {
  Begin();
  StandClose();
  Fighter(2).Health = 4;
  Hold({game.settings.Player1Keys.Punch});
  const int frames = Run(60);
  ASSERT_LT(frames, 60) << "the punch knocked Brann out";
  EXPECT_EQ(Fighter(2).ActionName, "KO");
  EXPECT_LE(Fighter(2).Health, 0);
  const cAction* ko = session->slots.players[2].character.Actions.find("KO");
  ASSERT_NE(ko, nullptr);
  EXPECT_GE(Fighter(2).CurrentFrame, ko->Offset) << "drawn with the KO's frames";
  EXPECT_LT(Fighter(2).CurrentFrame, ko->Offset + ko->Count);
  EXPECT_EQ(session->fight.RoundLoser, 2);
  EXPECT_EQ(session->fight.RoundWins[1], 1);
  EXPECT_EQ(session->fight.RoundWins[2], 0);
  // The round end: the picture stands still under the banner until player 1
  // presses Punch; player 2's Punch does not count against the computer, but
  // does with two players.
  Hold({});
  Run(1);
  const std::vector<std::uint32_t> standing = platform.lastFrame();
  for (int i = 0; i < 30; ++i) ASSERT_EQ(Run(1), 1);
  EXPECT_EQ(last, FrameEnd::Running) << "waiting";
  EXPECT_EQ(platform.lastFrame(), standing) << "nothing moves, nothing piles up";
  int banner = 0;  // pixels of the banner's rectangle over the fight's picture
  for (int y = 130; y < 200; ++y)
    for (int x = 160; x < 510; ++x)
      banner += platform.lastFrame()[static_cast<std::size_t>(y) * 640 + x] !=
                session->view.roundEnd.still.at(x, y);
  EXPECT_GT(banner, 100) << "the round's result";
  Hold({game.settings.Player1Keys.Punch});
  Run(1);
  EXPECT_EQ(last, FrameEnd::RoundOver) << "Rounds 3: a second round";
  EXPECT_FALSE(session->fight.FightStarted);
}

TEST_F(HitStep, TheSweepShowsItsSparksWhereItLandsAndAPunchOnlyFlashes) {
  Begin();
  StandClose();
  Hold({game.settings.Player1Keys.Punch});
  Run(12);
  EXPECT_LT(Fighter(2).Health, 120);
  EXPECT_FALSE(session->fight.sparks[1].Active) << "a punch does not show its sparks";
  EXPECT_GE(session->fight.flashCount, 1);
  Hold({});
  Run(120);
  EXPECT_EQ(session->fight.flashCount, 0) << "a flash lasts 750 ms";
  StandClose();
  Hold({game.settings.Player1Keys.Backward, game.settings.Player1Keys.Kick});
  const Integer before = Fighter(2).Health;
  for (int i = 0; i < 40 && Fighter(2).Health == before; ++i) Run(1);
  ASSERT_LT(Fighter(2).Health, before) << "the sweep landed";
  const cParticle& sparks = session->fight.sparks[1];
  EXPECT_TRUE(sparks.Active);
  ASSERT_EQ(sparks.count, 50);
  // Launched from one point between the fighters, low (a sweep), and spread
  // a frame later (a burst moves on after the frame that shows it).
  Hold({});
  Run(1);
  float left = 1e9f, right = -1e9f;
  for (const auto& p : sparks.particles) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    EXPECT_GT(p.x, 250.0f);
    EXPECT_LT(p.x, 620.0f);
    EXPECT_GT(p.y, 250.0f) << "near the sweep's feet";
  }
  EXPECT_GT(right - left, 1.0f) << "distinct particles";
  EXPECT_EQ(session->fight.flashCount, 0) << "an attack that shows sparks does not flash";
  Run(200);
  EXPECT_FALSE(session->fight.sparks[1].Active) << "the burst ends by itself";
}

TEST_F(HitStep, ThePickUpHealsUpToFullHealthOrDoublesDamageForTenSeconds) {
  Begin();
  ASSERT_TRUE(game.paths.find("\\ball.bmp"));
  const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
  session->slots.ball = LoadPicture(ctx, "\\ball.bmp", 40, 40, 0u);
  Fighter(1).Health = 60;
  DropOnKira(2);
  Run(1);
  // Taken: gone, or a new one begun at the top (in the same frame, in Brann's pass).
  EXPECT_TRUE(session->fight.pickUp.PowerUpKind == 0 || session->fight.pickUp.y < 300);
  EXPECT_EQ(Fighter(1).Health, 90);
  Fighter(1).Health = 95;
  DropOnKira(2);
  Run(1);
  EXPECT_EQ(Fighter(1).Health, 100) << "never above Kira's Health";
  DropOnKira(1);
  Run(1);
  EXPECT_TRUE(Fighter(1).PowerMode);
  EXPECT_EQ(Fighter(2).DamageMultiplier, 2);
  EXPECT_EQ(Fighter(1).DamageMultiplier, 1);
  // Power mode doubles the punch: 6 x 2 plus the combo's tenth.
  session->slots.ball = nullptr;
  StandClose();
  Hold({game.settings.Player1Keys.Punch});
  for (int i = 0; i < 20 && Fighter(2).Health == 120; ++i) Run(1);
  EXPECT_EQ(Fighter(2).Health, 120 - 13);
  Hold({});
  Run(10000 / 16 + 2);
  EXPECT_FALSE(Fighter(1).PowerMode) << "over after ten seconds";
  EXPECT_EQ(Fighter(2).DamageMultiplier, 1);
}

}  // namespace
}  // namespace vdx
