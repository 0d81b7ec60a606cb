#include "effects/effect_animation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vdx {
namespace {

constexpr std::uint32_t kT = 100000;  // a tick count well past the start

// A projectile as loaded: 4 frames from pool frame 3, 10 steps of 40 ms.
cEffect Flame() {
  cEffect e;
  e.Name = "Flame";
  e.Offset = 3;
  e.CurFrame = 3;
  e.Frames = 4;
  e.Width = 96;
  e.Height = 64;
  e.oWidth = 96;
  e.oHeight = 64;
  e.animX = 170;
  e.animY = 70;
  e.X = 170;
  e.Y = 70;
  e.MoveHorizontal = 8;
  e.MaxTop = 0;
  e.MaxBottom = 480;
  e.DisplayRate = 10;
  e.Interval = 40;
  e.Alpha = e.oAlpha = 1;
  return e;
}

TEST(EffectAnimation, TheFrameStepCountsMovesLoopsTheStripAndEndsAfterDisplayRateSteps) {
  cEffect e = Flame();
  ActivateEffect(e, 200, 150, false);
  e.LastTickCount = static_cast<Long>(kT);
  EXPECT_EQ(StepEffectFrame(e, kT + 40), EffectFrameStep::Waiting) << "strictly more than 40 ms";
  EXPECT_EQ(StepEffectFrame(e, kT + 41), EffectFrameStep::Stepped);
  EXPECT_EQ(e.Duration, 1);
  EXPECT_EQ(e.CurFrame, 4);
  EXPECT_EQ(e.X, 208);
  EXPECT_EQ(StepEffectFrame(e, kT + 60), EffectFrameStep::Waiting) << "timed from the last step";
  std::uint32_t now = kT + 41;
  for (int step = 2; step <= 10; ++step) {
    now += 41;
    ASSERT_EQ(StepEffectFrame(e, now), EffectFrameStep::Stepped) << step;
    // Frames 3, 4, 5, 6, then back to 3.
    EXPECT_EQ(e.CurFrame, 3 + step % 4) << step;
  }
  EXPECT_EQ(e.Duration, 10);
  EXPECT_EQ(e.X, 200 + 10 * 8);
  EXPECT_TRUE(e.bActive) << "ten steps shown";
  now += 41;
  EXPECT_EQ(StepEffectFrame(e, now), EffectFrameStep::Ended) << "the 11th step ends it";
  EXPECT_FALSE(e.bActive);
}

TEST(EffectAnimation, AnEffectFacingLeftMovesLeftAndIsDrawnEndingAtItsX) {
  cEffect e = Flame();
  ActivateEffect(e, 386, 150, true);
  e.LastTickCount = static_cast<Long>(kT);
  StepEffectFrame(e, kT + 41);
  EXPECT_EQ(e.X, 378) << "8 pixels left a step";
  const EffectBox box = DrawnEffectBox(e);
  EXPECT_EQ(box.Left, 378 - 96);
  EXPECT_EQ(box.Right, 378);
  EXPECT_EQ(box.Top, 150);
  EXPECT_EQ(box.Bottom, 214);
}

TEST(EffectAnimation, YIsKeptBetweenMaxTopAndMaxBottom) {
  cEffect e = Flame();
  e.MoveVertical = 30;
  e.MaxTop = 100;
  e.MaxBottom = 200;
  ActivateEffect(e, 0, 50, false);
  StepEffectFrame(e, kT);
  EXPECT_EQ(e.Y, 100) << "raised to MaxTop";
  for (std::uint32_t t = kT + 41; t < kT + 41 * 6; t += 41)
    StepEffectFrame(e, t);
  EXPECT_EQ(e.Y, 200) << "held at MaxBottom";
}

TEST(EffectAnimation, TheEndResetsToTheLoadedValuesAndStartsTheNextEffectWhereItWas) {
  Collection<cEffect> family;
  cEffect flame = Flame();
  flame.NextEffect = "Burst";
  flame.oAngle = 0;
  flame.oAngleChange = 12;
  flame.oAlphaChange = -0.1;
  cEffect burst = Flame();
  burst.Name = "Burst";
  burst.Offset = 7;
  burst.CurFrame = 9;
  ASSERT_TRUE(family.add(flame, "Flame"));
  ASSERT_TRUE(family.add(burst, "Burst"));
  cEffect& f = *family.find("Flame");
  ActivateEffect(f, 300, 120, true);
  // Everything an effect changes while it runs.
  f.Duration = 10;
  f.HasHit = true;
  f.Angle = 200;
  f.AngleChange = -12;
  f.Alpha = 0.3;
  f.AlphaChange = 0.1;
  f.Width = 140;
  f.Height = 10;
  f.DelayCount = 5;
  f.bFirst = true;
  f.CurFrame = 5;
  EXPECT_EQ(StepEffectFrame(f, kT, &family), EffectFrameStep::Ended);
  EXPECT_FALSE(f.bActive);
  EXPECT_EQ(f.Duration, 0);
  EXPECT_FALSE(f.HasHit);
  EXPECT_EQ(f.Angle, 0);
  EXPECT_EQ(f.AngleChange, 12);
  EXPECT_EQ(f.Alpha, 1);
  EXPECT_EQ(f.AlphaChange, -0.1);
  EXPECT_EQ(f.Width, 96);
  EXPECT_EQ(f.Height, 64);
  EXPECT_EQ(f.DelayCount, 0);
  EXPECT_FALSE(f.bFirst);
  EXPECT_EQ(f.Y, 70) << "back at animY";
  EXPECT_EQ(f.LastTickCount, static_cast<Long>(kT)) << "its step's timer is not reset";

  const cEffect& b = *family.find("Burst");
  EXPECT_TRUE(b.bActive);
  EXPECT_EQ(b.X, 300);
  EXPECT_EQ(b.Y, 120);
  EXPECT_TRUE(b.bFlip);
  EXPECT_EQ(b.CurFrame, 7) << "from its first frame";
}

TEST(EffectAnimation, ANextEffectNamingNothingOrItselfEndsTheChain) {
  Collection<cEffect> family;
  cEffect lone = Flame();
  lone.NextEffect = "Nowhere";
  ASSERT_TRUE(family.add(lone, "Flame"));
  cEffect self = Flame();
  self.Name = "Loop";
  self.NextEffect = "loop";
  ASSERT_TRUE(family.add(self, "Loop"));
  EXPECT_FALSE(StartNextEffect(family, "Nowhere", EffectEnd{1, 2, false}));
  for (cEffect& e : family) {
    ActivateEffect(e, 10, 10, false);
    e.Duration = e.DisplayRate;
    EXPECT_EQ(StepEffectFrame(e, kT, &family), EffectFrameStep::Ended) << e.Name;
    EXPECT_FALSE(e.bActive) << e.Name << ": nothing started, nothing kept running";
  }
}

TEST(EffectAnimation, TheTurnWrapsAt360AndTheFadePulses) {
  cEffect e = Flame();
  e.Angle = 350;
  e.AngleChange = 20;
  e.AngleInterval = 30;
  StepAngle(e, kT);
  EXPECT_EQ(e.Angle, 350) << "a last tick of 0 is set to now first";
  StepAngle(e, kT + 30);
  EXPECT_EQ(e.Angle, 350);
  StepAngle(e, kT + 31);
  EXPECT_EQ(e.Angle, 10);
  e.AngleChange = -30;
  StepAngle(e, kT + 62);
  EXPECT_EQ(e.Angle, 340);

  e.Alpha = 0.9;
  e.AlphaChange = 0.25;
  e.AlphaInterval = 10;
  StepAlpha(e, kT);
  StepAlpha(e, kT + 11);
  EXPECT_EQ(e.Alpha, 1.0);
  EXPECT_EQ(e.AlphaChange, -0.25);
  for (std::uint32_t t = kT + 22; t <= kT + 66; t += 11)
    StepAlpha(e, t);
  EXPECT_EQ(e.Alpha, 0) << "1 - 4 x 0.25, then below 0 held at 0";
  EXPECT_EQ(e.AlphaChange, 0.25) << "and turned round";
}

TEST(EffectAnimation, TurnsInDegreesReachTheRendererAsRadiansWithUprightAtNoTurn) {
  EXPECT_EQ(RendererAngle(0), 0.0f) << "no turn: the renderer's own upright";
  EXPECT_FLOAT_EQ(RendererAngle(90), static_cast<float>(M_PI));
  EXPECT_FLOAT_EQ(RendererAngle(180), static_cast<float>(1.5 * M_PI));
  EXPECT_FLOAT_EQ(RendererAngle(359), static_cast<float>(M_PI / 2 + 359 * M_PI / 180));
}

TEST(EffectAnimation, AGrowingEffectGrowsAboutItsCentreAndStopsAtNothing) {
  cEffect e = Flame();
  ActivateEffect(e, 100, 100, false);
  e.ScaleChange = 6;
  e.ScaleInterval = 40;
  StepScale(e, kT);
  StepScale(e, kT + 41);
  EXPECT_EQ(e.Width, 102);
  EXPECT_EQ(e.Height, 70);
  EXPECT_EQ(e.X, 97);
  EXPECT_EQ(e.Y, 97);
  // Facing left it is drawn ending at X, so X moves the other way.
  cEffect left = Flame();
  ActivateEffect(left, 300, 100, true);
  left.ScaleChange = 6;
  left.ScaleInterval = 40;
  StepScale(left, kT);
  StepScale(left, kT + 41);
  const EffectBox box = DrawnEffectBox(left);
  EXPECT_EQ(box.Left + box.Right, 2 * 300 - 96) << "the same centre as before";

  e.ScaleChange = -50;
  for (std::uint32_t t = kT + 82; t < kT + 82 + 41 * 5; t += 41)
    StepScale(e, t);
  EXPECT_EQ(e.Width, 0);
  EXPECT_EQ(e.Height, 0);
  e.ScaleChange = 30000;
  StepScale(e, kT + 1000);
  EXPECT_EQ(e.Width, kMaxEffectSize) << "no overflow of the 16-bit size";
}

// A pool of solid frames, each of its own colour.
FramePool Pool(int count, int width, int height) {
  FramePool pool;
  for (int k = 1; k <= count; ++k) {
    auto s = std::make_shared<Surface>(MakeSurface(width, height, 0x00101010u * k + 0x00400000u));
    s->colorKey = 0;
    MarkDrawnColumns(*s);
    pool.frames.push_back(s);
  }
  return pool;
}

long Lit(const Surface& s) {
  return std::count_if(s.pixels.begin(), s.pixels.end(), [](std::uint32_t p) { return p != 0; });
}

TEST(EffectAnimation, AnEffectIsDrawnFromItsCurrentFrameAndNotAtAllWhenItsSizeIsNothing) {
  const FramePool pool = Pool(6, 20, 10);
  cEffect e = Flame();
  e.Offset = 2;
  e.Frames = 3;
  e.Width = e.oWidth = 20;
  e.Height = e.oHeight = 10;
  ActivateEffect(e, 50, 40, true);
  e.CurFrame = 3;
  Surface target = MakeSurface(640, 480);
  DrawEffect(target, pool, e);
  long inside = 0;
  for (int y = 40; y < 50; ++y)
    for (int x = 30; x < 50; ++x)
      inside += target.at(x, y) != 0;
  // The renderer stretches a piece's texels one past its last pixel (its
  // texture coordinates run to w / (w - 1)), so the last row and column stay
  // clear.
  EXPECT_EQ(inside, 19 * 9);
  EXPECT_EQ(Lit(target), inside) << "nothing outside its box";
  EXPECT_EQ(target.at(31, 41), pool.frames[2]->at(0, 0)) << "frame 3, ending at x 50";
  EXPECT_EQ(target.at(50, 40), 0u);

  for (const Integer frame : {Integer{1}, Integer{5}, Integer{0}}) {
    Surface blank = MakeSurface(640, 480);
    e.CurFrame = frame;
    DrawEffect(blank, pool, e);
    EXPECT_EQ(Lit(blank), 0) << "frame " << frame << " is not one of the effect's";
  }
  e.CurFrame = 3;
  e.Width = 0;
  Surface none = MakeSurface(640, 480);
  DrawEffect(none, pool, e);
  EXPECT_EQ(Lit(none), 0) << "0 is not the picture's own size here";
  e.Width = 40;
  e.Height = 0;
  DrawEffect(none, pool, e);
  EXPECT_EQ(Lit(none), 0);
}

TEST(EffectAnimation, StageScenerySoundsOnceStepsItsFramesAndWrapsBetweenItsLimits) {
  cAnim a;
  a.Offset = 4;
  a.CurFrame = 0;
  a.Frames = 3;
  a.X = 630;
  a.Y = 40;
  a.MoveHorizontal = 6;
  a.MaxLeft = -50;
  a.MaxRight = 640;
  a.MoveVertical = -5;
  a.MaxTop = 40;
  a.MaxBottom = 30;  // the limits either way round
  a.Interval = 100;
  a.SFX = "wind.wav";
  EXPECT_TRUE(PrepareStageAnimation(a, kT));
  EXPECT_EQ(a.CurFrame, 4);
  EXPECT_FALSE(PrepareStageAnimation(a, kT + 1)) << "its sound once";
  MoveStageAnimation(a, kT);
  EXPECT_EQ(a.CurFrame, 5);
  EXPECT_EQ(a.X, 636);
  EXPECT_EQ(a.Y, 35);
  MoveStageAnimation(a, kT + 100);
  EXPECT_EQ(a.X, 636) << "strictly more than its interval";
  MoveStageAnimation(a, kT + 101);
  EXPECT_EQ(a.CurFrame, 6);
  EXPECT_EQ(a.X, -50) << "past MaxRight: from MaxLeft";
  EXPECT_EQ(a.Y, 30);
  MoveStageAnimation(a, kT + 202);
  EXPECT_EQ(a.CurFrame, 4) << "after the last frame, the first";
  EXPECT_EQ(a.Y, 40) << "below the smaller limit: from the larger";

  cAnim still;
  still.X = 500;
  still.Y = 200;  // no limits set, and no move: it stays where it is
  MoveStageAnimation(still, kT);
  EXPECT_EQ(still.X, 500);
  EXPECT_EQ(still.Y, 200);
}

}  // namespace
}  // namespace vdx
