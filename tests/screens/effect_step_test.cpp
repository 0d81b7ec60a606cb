// The fighters' effects, the stage's scenery and the weather in real fights on
// the demo folder, frame by frame on the headless platform: specials typed
// with the keys, what they do to the opponent, and where they are drawn.
//
// Pictures are checked against a twin of the same fight that lacks only the
// pictures in question: the two presented frames may differ only where those
// pictures are drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "content/get_xml.h"
#include "effects/effect_animation.h"
#include "match/debug_view.h"
#include "match/fight_loop.h"
#include "fight/fighter_pass.h"
#include "fight/projectile_hits.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

// One fight on its own machine.
struct Match {
  Match(const std::string& one, const std::string& two, const std::string& stage,
        bool weather = true)
      : game(platform, VDX_DEMO_DIR) {
    platform.openAudio();
    game.log.path = folder.path() / "log.txt";
    GetXML(game.paths, game.settings, game.content, game.loadReport);
    game.settings.Weather = weather;
    MatchSetup setup;
    setup.player1 = one;
    setup.player2 = two;
    setup.stage = stage;
    session = std::make_unique<FightSession>(game, setup, FightOutputs{});
    BeginRound(*session);
    session->slots.ball = nullptr;  // nobody takes a pick-up by chance
    frame.ticks = platform::kTickBase;
    // The first key only starts the fight.
    Run(2);
    Hold({game.settings.Player1Keys.Block});
    Run(2);
    Hold({});
    Run(20);
  }
  ~Match() { platform.closeAudio(); }

  void Hold(std::initializer_list<Integer> codes) {
    frame.keys.fill(0);
    for (const Integer code : codes)
      frame.keys[static_cast<std::size_t>(code)] = 0x80;
  }

  void Run(int frames) {
    for (int i = 0; i < frames; ++i) {
      frame.ticks += 16;
      RunFightFrame(*session, frame);
    }
  }

  // Down, towards the opponent, Punch: the demo fighters' special. The
  // Forward key points right on screen; facing left, Backward is forward.
  void Special(int player) {
    const cKeys& keys = player == 1 ? game.settings.Player1Keys : game.settings.Player2Keys;
    Hold({keys.Down});
    Run(3);
    Hold({Fighter(player).Facing ? keys.Backward : keys.Forward});
    Run(3);
    // Held until the standing fighter's next step reads it.
    Hold({keys.Punch});
    for (int i = 0;
         i < 16 && !NameHolds(Fighter(player).ActionName, "FLAME") &&
         Fighter(player).ActionName != "BoulderToss" && Fighter(player).ActionName != "TideStar";
         ++i)
      Run(1);
    Hold({});
  }

  FighterState& Fighter(int p) { return session->fight.fighters[p]; }
  // The effect's run in the fight's state.
  EffectRun& Effect(int p, const std::string& name) {
    const auto index = session->slots.players[p].character.Effects.indexOf(name);
    EXPECT_TRUE(index.has_value()) << name;
    return session->fight.effects[p].runs[index.value_or(0)];
  }
  // The scenery's run.
  const AnimRun& Scenery(const std::string& name) {
    const auto index = session->slots.stage.Animations.indexOf(name);
    EXPECT_TRUE(index.has_value()) << name;
    return session->fight.scenery.runs[index.value_or(0)];
  }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
  std::unique_ptr<FightSession> session;
  FrameInput frame;
};

// The box around the pixels where two presented frames differ; an empty box
// (Left > Right) when they are the same. Also how many differ, and the sum of
// their columns.
Rect Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                 long* count = nullptr, long* sumX = nullptr) {
  Rect box{640, 480, -1, -1};
  long n = 0, xs = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const auto i = static_cast<std::size_t>(y) * 640 + x;
      if (a[i] == b[i]) continue;
      ++n;
      xs += x;
      box = Rect{std::min<Long>(box.Left, x), std::min<Long>(box.Top, y),
                 std::max<Long>(box.Right, x), std::max<Long>(box.Bottom, y)};
    }
  if (count != nullptr) *count = n;
  if (sumX != nullptr) *sumX = xs;
  return box;
}

bool Inside(const Rect& inner, const EffectBox& outer) {
  return inner.Left >= outer.Left && inner.Right < outer.Right && inner.Top >= outer.Top &&
         inner.Bottom < outer.Bottom;
}

struct Special {
  const char* fighter;
  const char* opponent;
  const char* projectile;
  const char* follower;  // its NextEffect
  int damage;
  int move;  // pixels a step
};

class EachSpecial : public ::testing::TestWithParam<std::tuple<Special, int>> {};

TEST_P(EachSpecial, FliesTheWayItsThrowerFacesAndHitsAtRangeOnceThenItsFollowerBursts) {
  const auto& [special, thrower] = GetParam();
  const int victim = 3 - thrower;
  Match m(thrower == 1 ? special.fighter : special.opponent,
          thrower == 1 ? special.opponent : special.fighter, "Temple", false);
  const bool left = thrower == 2;
  EXPECT_EQ(m.Fighter(thrower).Facing, left);
  const Integer full = m.Fighter(victim).Health;
  m.Special(thrower);
  EffectRun& shot = m.Effect(thrower, special.projectile);
  ASSERT_TRUE(shot.bActive) << "typed within half a second";
  EXPECT_EQ(shot.bFlip, left);
  // Each step moves it by its MoveHorizontal, the way its thrower faces.
  std::vector<Integer> xs{shot.X};
  const Long gapBefore = std::abs(m.Fighter(victim).PlayerX - m.Fighter(thrower).PlayerX);
  int hitAt = -1;
  for (int i = 0; i < 200 && hitAt < 0; ++i) {
    m.Run(1);
    if (m.Fighter(victim).Health != full) hitAt = i;
    if (shot.bActive && shot.X != xs.back()) xs.push_back(shot.X);
  }
  ASSERT_GE(xs.size(), 3u) << "it flew";
  for (std::size_t k = 1; k < xs.size(); ++k)
    EXPECT_EQ(xs[k] - xs[k - 1], left ? -special.move : special.move) << "step " << k;
  ASSERT_GE(hitAt, 0) << "it reached the opponent";
  EXPECT_GT(gapBefore, 200) << "thrown from afar";
  EXPECT_EQ(m.Fighter(victim).Health, full - special.damage) << "its Damage, no combo bonus";
  EXPECT_TRUE(NameHolds(m.Fighter(victim).ActionName, "HIT"));
  EXPECT_EQ(m.Fighter(victim).Facing, !left) << "turned to the thrower";
  const EffectRun& follower = m.Effect(thrower, special.follower);
  EXPECT_TRUE(follower.bActive) << "the follower starts where it hit";
  EXPECT_EQ(follower.bFlip, left);
  const Integer hitX = xs.back();
  EXPECT_NEAR(follower.X, hitX, std::abs(special.move) + 1);
  // It hits once: the victim takes nothing more while it ends and bursts.
  m.Run(90);
  EXPECT_EQ(m.Fighter(victim).Health, full - special.damage);
  EXPECT_FALSE(shot.bActive) << "a moving effect ends once it has hit";
  EXPECT_FALSE(follower.bActive) << "and its burst ends by itself";
}

std::string SpecialName(const ::testing::TestParamInfo<std::tuple<Special, int>>& info) {
  return std::string(std::get<0>(info.param).fighter) + "AsPlayer" +
         std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    DemoFighters, EachSpecial,
    ::testing::Combine(::testing::Values(Special{"Kira", "Brann", "KiraFlame", "KiraBurst", 14, 14},
                                         Special{"Brann", "Kira", "BrannRock", "BrannDust", 18, 10},
                                         Special{"Vex", "Kira", "VexStar", "VexSplash", 12, 16}),
                       ::testing::Values(1, 2)),
    SpecialName);

TEST(EffectStep, ABlockedProjectileChipsAQuarterOnceAndFliesOnWithoutItsBurst) {
  Match m("Kira", "Brann", "Temple", false);
  m.Special(1);
  EffectRun& flame = m.Effect(1, "KiraFlame");
  ASSERT_TRUE(flame.bActive);
  m.Hold({m.game.settings.Player2Keys.Block});
  Integer lowest = 120;
  bool passed = false, burst = false;
  for (int i = 0; i < 200 && flame.bActive; ++i) {
    m.Run(1);
    lowest = std::min(lowest, m.Fighter(2).Health);
    passed = passed || flame.HasHit;
    burst = burst || (flame.bActive && m.Effect(1, "KiraBurst").bActive);
  }
  EXPECT_TRUE(passed) << "it met the block";
  // 14 / 4 = 3.5, rounded to the even 4.
  EXPECT_EQ(lowest, 116);
  EXPECT_EQ(m.Fighter(2).Health, 116) << "once, however long it overlaps";
  EXPECT_EQ(m.Fighter(2).ActionName, "Block");
  EXPECT_EQ(m.Fighter(1).ComboCount, 0);
  EXPECT_FALSE(burst) << "a blocked projectile does not burst on the blocker";
  EXPECT_FALSE(flame.bActive) << "it flew on until its DisplayRate steps were done";
  EXPECT_TRUE(m.Effect(1, "KiraBurst").bActive) << "and bursts where it ended, off screen";
  EXPECT_GT(m.Effect(1, "KiraBurst").X, 640);
}

// Kira as player 1 (facing right) or 2 (facing left).
class FlameDrawn : public ::testing::TestWithParam<int> {};

TEST_P(FlameDrawn, TheFlameAndItsBurstAreDrawnInTheirBoxesWithTheFlamesHeadInFront) {
  const int p = GetParam();
  const bool left = p == 2;
  const char* one = p == 1 ? "Kira" : "Brann";
  const char* two = p == 1 ? "Brann" : "Kira";
  // The twin draws no effects: the same fight, the same hits.
  Match with(one, two, "Temple", false);
  Match without(one, two, "Temple", false);
  // Its effects are drawn wholly transparent: they still hit, pixel by pixel.
  for (int q = 1; q <= 2; ++q) {
    std::size_t i = 0;
    for (cEffect& e : without.session->slots.players[q].character.Effects) {
      EffectRun& run = without.session->fight.effects[q].runs[i++];
      e.BlendMode = 0;
      run.Alpha = e.oAlpha = 0;
      run.AlphaChange = e.oAlphaChange = 0;
    }
  }
  with.Special(p);
  without.Special(p);
  const EffectRun& flame = with.Effect(p, "KiraFlame");
  const EffectRun& burst = with.Effect(p, "KiraBurst");
  const FighterState& kira = with.Fighter(p);
  // Started where Kira's hands are, and stepped once in the same frame.
  EXPECT_EQ(flame.X, left ? kira.PlayerX + 256 - 170 - 14 : kira.PlayerX + 170 + 14);
  EXPECT_EQ(flame.Y, kira.PlayerY + 70);
  int flameFrames = 0, burstFrames = 0;
  for (int i = 0; i < 100; ++i) {
    // Where the effects are drawn this frame (before it steps them on).
    const bool flameOn = flame.bActive, burstOn = burst.bActive;
    const EffectBox flameBox = DrawnEffectBox(PoseOf(flame)),
                    burstBox = DrawnEffectBox(PoseOf(burst));
    with.Run(1);
    without.Run(1);
    ASSERT_EQ(with.Fighter(3 - p).Health, without.Fighter(3 - p).Health) << "the same fight";
    long count = 0, sumX = 0;
    const Rect diff =
        Differences(with.platform.lastFrame(), without.platform.lastFrame(), &count, &sumX);
    // Frames in which one of them started or ended are passed over.
    const bool same = flameOn == flame.bActive && burstOn == burst.bActive;
    if (same && flameOn && !burstOn && count > 0) {
      ++flameFrames;
      EXPECT_TRUE(Inside(diff, flameBox)) << "frame " << i << ": the flame outside its box";
      EXPECT_GT(count, 300) << "frame " << i;
      // The flame's bright head leads: most of its light is in the front half.
      const double centre = (flameBox.Left + flameBox.Right) / 2.0;
      const double lit = static_cast<double>(sumX) / static_cast<double>(count);
      if (left)
        EXPECT_LT(lit, centre) << "frame " << i << ": mirrored";
      else
        EXPECT_GT(lit, centre) << "frame " << i;
    }
    if (same && burstOn && !flameOn && count > 0) {
      ++burstFrames;
      // It grows about its centre before it is drawn: a step's growth around.
      const EffectBox grown{burstBox.Left - 6, burstBox.Top - 6, burstBox.Right + 6,
                            burstBox.Bottom + 6};
      EXPECT_TRUE(Inside(diff, grown)) << "frame " << i << ": the burst outside its box";
      EXPECT_GT(count, 300) << "frame " << i;
    }
  }
  EXPECT_GT(flameFrames, 5) << "the flame flew, drawn";
  EXPECT_GT(burstFrames, 3) << "the burst followed, drawn";
}

INSTANTIATE_TEST_SUITE_P(EitherWay, FlameDrawn, ::testing::Values(1, 2));

TEST(EffectStep, TheDebugOverlayOutlinesWhereEffectsAreDrawnAndWhereTheyHit) {
  Match m("Kira", "Brann", "Temple", false);
  m.Special(1);
  const EffectRun& flame = m.Effect(1, "KiraFlame");
  ASSERT_TRUE(flame.bActive);
  Surface overlay = MakeSurface(640, 480);
  DrawDebugOverlay(overlay, m.session->fight, m.session->slots);
  const EffectBox drawn = DrawnEffectBox(PoseOf(flame));
  // Magenta: the drawn box; cyan: the box that hits (the same for a flame
  // that has not grown), drawn over it.
  const auto at = [&](Long x, Long y) {
    return overlay.at(static_cast<int>(x), static_cast<int>(y));
  };
  EXPECT_EQ(at(drawn.Left, drawn.Top + 5), 0x0000FFFFu);
  EXPECT_EQ(at(drawn.Right - 1, drawn.Bottom - 5), 0x0000FFFFu);
  EXPECT_EQ(at(drawn.Left + 5, drawn.Top + 5), 0u) << "an outline only";
  Match idle("Kira", "Brann", "Temple", false);
  Surface none = MakeSurface(640, 480);
  DrawDebugOverlay(none, idle.session->fight, idle.session->slots);
  EXPECT_EQ(std::count(none.pixels.begin(), none.pixels.end(), 0x0000FFFFu), 0);
}

TEST(EffectStep, VexsStarFliesInsideABubbleWithBubblesRising) {
  Match m("Vex", "Kira", "Temple", false);
  m.Special(1);
  ASSERT_TRUE(m.Effect(1, "VexStar").bActive);
  ASSERT_TRUE(m.Effect(1, "VexBUBBLE").bActive);
  const cParticle& bubbles = m.session->fight.bubbles[1];
  ASSERT_TRUE(bubbles.Active);
  ASSERT_GT(bubbles.count, 0);
  std::vector<float> heights;
  for (std::int16_t i = 0; i < bubbles.count; ++i)
    heights.push_back(bubbles.particles[static_cast<std::size_t>(i)].y);
  m.Run(10);
  int rose = 0;
  for (std::size_t i = 0; i < heights.size(); ++i)
    rose += bubbles.particles[i].dead == 0 && bubbles.particles[i].y < heights[i];
  EXPECT_GT(rose, 10) << "bubbles rise";
}

TEST(StageAnimations, TheSceneryMovesBetweenTwoFramesAndIsDrawnOnlyInItsBoxes) {
  Match with("Kira", "Brann", "Harbour", false);
  Match without("Kira", "Brann", "Harbour", false);
  without.session->view.stage.scenery.frames.assign(
      without.session->view.stage.scenery.frames.size(), nullptr);
  const Collection<cAnim>& scenery = with.session->slots.stage.Animations;
  const AnimRun* clouds = &with.Scenery("HarbourClouds");
  const AnimRun* gulls = &with.Scenery("HarbourGulls");
  const AnimRun* beacon = &with.Scenery("HarbourBeacon");
  const Integer cloudsX = clouds->X, gullsX = gulls->X;
  const double glow = beacon->Alpha;
  const std::vector<std::uint32_t> before = with.platform.lastFrame();
  with.Run(60);
  without.Run(60);
  EXPECT_GT(clouds->X, cloudsX) << "the clouds drift right";
  EXPECT_LT(gulls->X, gullsX) << "the gulls fly left";
  EXPECT_NE(beacon->Alpha, glow) << "the beacon pulses";
  long moved = 0;
  Differences(before, with.platform.lastFrame(), &moved);
  EXPECT_GT(moved, 1000) << "two pictures a second apart";
  // Every difference from the bare stage lies in a scenery box (the frame
  // drawn shows the scenery as it was before its last move).
  long count = 0;
  const std::vector<std::uint32_t>& a = with.platform.lastFrame();
  const std::vector<std::uint32_t>& b = without.platform.lastFrame();
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const auto i = static_cast<std::size_t>(y) * 640 + x;
      if (a[i] == b[i]) continue;
      ++count;
      bool inBox = false;
      std::size_t k = 0;
      for (const cAnim& anim : scenery) {
        const AnimRun& run = with.session->fight.scenery.runs[k++];
        inBox = inBox || (x >= run.X - 8 && x < run.X + anim.Width + 8 && y >= run.Y - 8 &&
                          y < run.Y + anim.Height + 8);
      }
      ASSERT_TRUE(inBox) << "a difference at (" << x << ", " << y << ")";
    }
  EXPECT_GT(count, 2000) << "clouds, gulls and the beacon";
}

TEST(Weather, RainFallsOnTheHarbourAndSnowOnTheTempleOnlyWithTheWeatherSettingOn) {
  for (const char* stage : {"Harbour", "Temple"}) {
    Match on("Kira", "Brann", stage, true);
    Match off("Kira", "Brann", stage, false);
    const bool rain = std::string(stage) == "Harbour";
    EXPECT_EQ(on.session->fight.raining, rain) << stage;
    EXPECT_EQ(on.session->fight.snowing, !rain) << stage;
    EXPECT_FALSE(off.session->fight.raining) << stage;
    EXPECT_FALSE(off.session->fight.snowing) << stage;
    // Nothing else differs: the two fights are the same but for the weather.
    on.Run(10);
    off.Run(10);
    long count = 0;
    const Rect box = Differences(on.platform.lastFrame(), off.platform.lastFrame(), &count);
    EXPECT_GT(count, 300) << stage << ": drops or flakes all over";
    EXPECT_GT(box.Right - box.Left, 400) << stage;
    EXPECT_GT(box.Bottom - box.Top, 300) << stage;
    // Without the weather's pictures the weather draws nothing.
    Match bare("Kira", "Brann", stage, true);
    bare.session->slots.rain = nullptr;
    bare.session->slots.snow = {};
    bare.Run(10);
    EXPECT_EQ(Differences(bare.platform.lastFrame(), off.platform.lastFrame()).Right, -1) << stage;
  }
}

}  // namespace
}  // namespace vdx
