#include "effects/effect_animation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>

#include "effects/effect_drawing.h"

namespace vdx {
namespace {

constexpr std::uint32_t kT = 100000;  // a tick count well past the start

// A value's bytes, to show that something left it as it was.
template <typename T>
std::array<unsigned char, sizeof(T)> Bytes(const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::array<unsigned char, sizeof(T)> bytes{};
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

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
  const cEffect e = Flame();
  EffectRun run = StartingRun(e);
  EXPECT_FALSE(run.bActive);
  EXPECT_EQ(run.X, 170) << "a run starts from the record's values";
  EXPECT_EQ(run.Width, 96);
  ActivateEffect(e, run, 200, 150, false);
  run.LastTickCount = static_cast<Long>(kT);
  EXPECT_EQ(StepEffectFrame(e, run, kT + 40), EffectFrameStep::Waiting)
      << "strictly more than 40 ms";
  EXPECT_EQ(StepEffectFrame(e, run, kT + 41), EffectFrameStep::Stepped);
  EXPECT_EQ(run.Duration, 1);
  EXPECT_EQ(run.CurFrame, 4);
  EXPECT_EQ(run.X, 208);
  EXPECT_EQ(StepEffectFrame(e, run, kT + 60), EffectFrameStep::Waiting)
      << "timed from the last step";
  std::uint32_t now = kT + 41;
  for (int step = 2; step <= 10; ++step) {
    now += 41;
    ASSERT_EQ(StepEffectFrame(e, run, now), EffectFrameStep::Stepped) << step;
    // Frames 3, 4, 5, 6, then back to 3.
    EXPECT_EQ(run.CurFrame, 3 + step % 4) << step;
  }
  EXPECT_EQ(run.Duration, 10);
  EXPECT_EQ(run.X, 200 + 10 * 8);
  EXPECT_TRUE(run.bActive) << "ten steps shown";
  now += 41;
  EXPECT_EQ(StepEffectFrame(e, run, now), EffectFrameStep::Ended) << "the 11th step ends it";
  EXPECT_FALSE(run.bActive);
  EXPECT_EQ(e.X, 170) << "the record is not the run";
  EXPECT_FALSE(e.bActive);
}

TEST(EffectAnimation, AnEffectFacingLeftMovesLeftAndIsDrawnEndingAtItsX) {
  const cEffect e = Flame();
  EffectRun run = StartingRun(e);
  ActivateEffect(e, run, 386, 150, true);
  run.LastTickCount = static_cast<Long>(kT);
  StepEffectFrame(e, run, kT + 41);
  EXPECT_EQ(run.X, 378) << "8 pixels left a step";
  const EffectBox box = DrawnEffectBox(PoseOf(run));
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
  EffectRun run = StartingRun(e);
  ActivateEffect(e, run, 0, 50, false);
  StepEffectFrame(e, run, kT);
  EXPECT_EQ(run.Y, 100) << "raised to MaxTop";
  for (std::uint32_t t = kT + 41; t < kT + 41 * 6; t += 41)
    StepEffectFrame(e, run, t);
  EXPECT_EQ(run.Y, 200) << "held at MaxBottom";
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
  std::array<EffectRun, 2> runs{StartingRun(*family.at(1)), StartingRun(*family.at(2))};
  const EffectFamily effects{&family, runs};
  const cEffect& f = *family.find("Flame");
  EffectRun& fr = runs[0];
  ActivateEffect(f, fr, 300, 120, true);
  // Everything an effect changes while it runs.
  fr.Duration = 10;
  fr.HasHit = true;
  fr.Angle = 200;
  fr.AngleChange = -12;
  fr.Alpha = 0.3;
  fr.AlphaChange = 0.1;
  fr.Width = 140;
  fr.Height = 10;
  fr.DelayCount = 5;
  fr.bFirst = true;
  fr.CurFrame = 5;
  EXPECT_EQ(StepEffectFrame(f, fr, kT, &effects), EffectFrameStep::Ended);
  EXPECT_FALSE(fr.bActive);
  EXPECT_EQ(fr.Duration, 0);
  EXPECT_FALSE(fr.HasHit);
  EXPECT_EQ(fr.Angle, 0);
  EXPECT_EQ(fr.AngleChange, 12);
  EXPECT_EQ(fr.Alpha, 1);
  EXPECT_EQ(fr.AlphaChange, -0.1);
  EXPECT_EQ(fr.Width, 96);
  EXPECT_EQ(fr.Height, 64);
  EXPECT_EQ(fr.DelayCount, 0);
  EXPECT_FALSE(fr.bFirst);
  EXPECT_EQ(fr.Y, 70) << "back at animY";
  EXPECT_EQ(fr.LastTickCount, static_cast<Long>(kT)) << "its step's timer is not reset";

  const EffectRun& b = runs[1];
  EXPECT_TRUE(b.bActive);
  EXPECT_EQ(b.X, 300);
  EXPECT_EQ(b.Y, 120);
  EXPECT_TRUE(b.bFlip);
  EXPECT_EQ(b.CurFrame, 7) << "from its first frame";

  // A successor that runs already is left where it is.
  ActivateEffect(f, fr, 10, 20, false);
  fr.Duration = f.DisplayRate;
  EXPECT_EQ(StepEffectFrame(f, fr, kT + 41, &effects), EffectFrameStep::Ended);
  EXPECT_EQ(b.X, 300);
  EXPECT_TRUE(b.bFlip);
}

TEST(EffectAnimation, ANextEffectNamingNothingOrItselfOrBeyondTheRunsEndsTheChain) {
  Collection<cEffect> family;
  cEffect lone = Flame();
  lone.NextEffect = "Nowhere";
  ASSERT_TRUE(family.add(lone, "Flame"));
  cEffect self = Flame();
  self.Name = "Loop";
  self.NextEffect = "loop";
  ASSERT_TRUE(family.add(self, "Loop"));
  std::array<EffectRun, 2> runs{StartingRun(*family.at(1)), StartingRun(*family.at(2))};
  const EffectFamily effects{&family, runs};
  EXPECT_FALSE(StartNextEffect(effects, "Nowhere", EffectEnd{1, 2, false}));
  EXPECT_FALSE(StartNextEffect(EffectFamily{}, "Flame", EffectEnd{1, 2, false}))
      << "no effects at all";
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const cEffect& e = *family.at(i + 1);
    ActivateEffect(e, runs[i], 10, 10, false);
    runs[i].Duration = e.DisplayRate;
    EXPECT_EQ(StepEffectFrame(e, runs[i], kT, &effects), EffectFrameStep::Ended) << e.Name;
    EXPECT_FALSE(runs[i].bActive) << e.Name << ": nothing started, nothing kept running";
  }

  // The fight keeps room for fewer runs than the character has effects: one
  // beyond it is known (the chain does not end for want of a name) but never
  // runs, and the memory past the runs is not touched.
  std::array<EffectRun, 2> room{StartingRun(*family.at(1)), StartingRun(*family.at(2))};
  const auto before = Bytes(room);
  EXPECT_TRUE(StartNextEffect(EffectFamily{&family, std::span<EffectRun>(room).first(1)}, "Loop",
                              EffectEnd{5, 6, true}));
  EXPECT_EQ(Bytes(room), before);
  EXPECT_TRUE(StartNextEffect(EffectFamily{&family, std::span<EffectRun>{}}, "Flame", EffectEnd{}));
}

TEST(EffectAnimation, TheTurnWrapsAt360AndTheFadePulses) {
  cEffect e = Flame();
  e.AngleInterval = 30;
  e.AlphaInterval = 10;
  EffectRun run = StartingRun(e);
  run.Angle = 350;
  run.AngleChange = 20;
  StepAngle(e, run, kT);
  EXPECT_EQ(run.Angle, 350) << "a last tick of 0 is set to now first";
  StepAngle(e, run, kT + 30);
  EXPECT_EQ(run.Angle, 350);
  StepAngle(e, run, kT + 31);
  EXPECT_EQ(run.Angle, 10);
  run.AngleChange = -30;
  StepAngle(e, run, kT + 62);
  EXPECT_EQ(run.Angle, 340);

  run.Alpha = 0.9;
  run.AlphaChange = 0.25;
  StepAlpha(e, run, kT);
  StepAlpha(e, run, kT + 11);
  EXPECT_EQ(run.Alpha, 1.0);
  EXPECT_EQ(run.AlphaChange, -0.25);
  for (std::uint32_t t = kT + 22; t <= kT + 66; t += 11)
    StepAlpha(e, run, t);
  EXPECT_EQ(run.Alpha, 0) << "1 - 4 x 0.25, then below 0 held at 0";
  EXPECT_EQ(run.AlphaChange, 0.25) << "and turned round";
}

TEST(EffectAnimation, TurnsInDegreesReachTheRendererAsRadiansWithUprightAtNoTurn) {
  EXPECT_EQ(RendererAngle(0), 0.0f) << "no turn: the renderer's own upright";
  EXPECT_FLOAT_EQ(RendererAngle(90), static_cast<float>(M_PI));
  EXPECT_FLOAT_EQ(RendererAngle(180), static_cast<float>(1.5 * M_PI));
  EXPECT_FLOAT_EQ(RendererAngle(359), static_cast<float>(M_PI / 2 + 359 * M_PI / 180));
}

TEST(EffectAnimation, AGrowingEffectGrowsAboutItsCentreAndStopsAtNothing) {
  cEffect e = Flame();
  e.ScaleChange = 6;
  e.ScaleInterval = 40;
  EffectRun run = StartingRun(e);
  ActivateEffect(e, run, 100, 100, false);
  StepScale(e, run, kT);
  StepScale(e, run, kT + 41);
  EXPECT_EQ(run.Width, 102);
  EXPECT_EQ(run.Height, 70);
  EXPECT_EQ(run.X, 97);
  EXPECT_EQ(run.Y, 97);
  // Facing left it is drawn ending at X, so X moves the other way.
  EffectRun left = StartingRun(e);
  ActivateEffect(e, left, 300, 100, true);
  StepScale(e, left, kT);
  StepScale(e, left, kT + 41);
  const EffectBox box = DrawnEffectBox(PoseOf(left));
  EXPECT_EQ(box.Left + box.Right, 2 * 300 - 96) << "the same centre as before";

  e.ScaleChange = -50;
  for (std::uint32_t t = kT + 82; t < kT + 82 + 41 * 5; t += 41)
    StepScale(e, run, t);
  EXPECT_EQ(run.Width, 0);
  EXPECT_EQ(run.Height, 0);
  e.ScaleChange = 30000;
  StepScale(e, run, kT + 1000);
  EXPECT_EQ(run.Width, kMaxEffectSize) << "no overflow of the 16-bit size";
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
  EffectRun run = StartingRun(e);
  ActivateEffect(e, run, 50, 40, true);
  run.CurFrame = 3;
  Surface target = MakeSurface(640, 480);
  const auto runBefore = Bytes(run);
  const EffectPose pose = PoseOf(run);
  DrawEffect(target, pool, e, pose);
  EXPECT_EQ(Bytes(run), runBefore) << "drawing changes nothing";
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
  Surface scalar = MakeSurface(640, 480);
  DrawEffect(scalar, pool, e, pose, RasterPath::Scalar);
  EXPECT_EQ(scalar.pixels, target.pixels);

  EffectPose hidden = pose;
  hidden.drawn = false;
  Surface blank = MakeSurface(640, 480);
  DrawEffect(blank, pool, e, hidden);
  EXPECT_EQ(Lit(blank), 0) << "a pose not drawn";
  for (const Integer frame : {Integer{1}, Integer{5}, Integer{0}}) {
    EffectPose other = pose;
    other.CurFrame = frame;
    DrawEffect(blank, pool, e, other);
    EXPECT_EQ(Lit(blank), 0) << "frame " << frame << " is not one of the effect's";
  }
  EffectPose flat = pose;
  flat.Width = 0;
  DrawEffect(blank, pool, e, flat);
  EXPECT_EQ(Lit(blank), 0) << "0 is not the picture's own size here";
  flat.Width = 40;
  flat.Height = 0;
  DrawEffect(blank, pool, e, flat);
  EXPECT_EQ(Lit(blank), 0);
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
  AnimRun run = StartingRun(a);
  EXPECT_TRUE(PrepareStageAnimation(a, run, kT));
  EXPECT_EQ(run.CurFrame, 4);
  EXPECT_FALSE(PrepareStageAnimation(a, run, kT + 1)) << "its sound once";
  MoveStageAnimation(a, run, kT);
  EXPECT_EQ(run.CurFrame, 5);
  EXPECT_EQ(run.X, 636);
  EXPECT_EQ(run.Y, 35);
  MoveStageAnimation(a, run, kT + 100);
  EXPECT_EQ(run.X, 636) << "strictly more than its interval";
  MoveStageAnimation(a, run, kT + 101);
  EXPECT_EQ(run.CurFrame, 6);
  EXPECT_EQ(run.X, -50) << "past MaxRight: from MaxLeft";
  EXPECT_EQ(run.Y, 30);
  MoveStageAnimation(a, run, kT + 202);
  EXPECT_EQ(run.CurFrame, 4) << "after the last frame, the first";
  EXPECT_EQ(run.Y, 40) << "below the smaller limit: from the larger";

  cAnim still;
  still.X = 500;
  still.Y = 200;  // no limits set, and no move: it stays where it is
  AnimRun stillRun = StartingRun(still);
  MoveStageAnimation(still, stillRun, kT);
  EXPECT_EQ(stillRun.X, 500);
  EXPECT_EQ(stillRun.Y, 200);
}

TEST(EffectAnimation, SceneryIsDrawnAtItsPlaceWithItsOwnSizeAndNeverMirrored) {
  const FramePool pool = Pool(3, 20, 10);
  cAnim a;
  a.Offset = 2;
  a.Frames = 2;
  a.Width = 20;
  a.Height = 10;
  a.X = 100;
  a.Y = 60;
  a.Alpha = 1;
  AnimRun run = StartingRun(a);
  PrepareStageAnimation(a, run, kT);
  const auto before = Bytes(run);
  const EffectPose pose = PoseOf(a, run);
  EXPECT_EQ(pose.CurFrame, 2);
  Surface target = MakeSurface(640, 480);
  DrawStageAnimation(target, pool, a, pose);
  EXPECT_EQ(Bytes(run), before) << "drawing changes nothing";
  EXPECT_EQ(Lit(target), 19 * 9);
  EXPECT_EQ(target.at(100, 60), pool.frames[1]->at(0, 0)) << "frame 2 from (X, Y)";
  EXPECT_EQ(target.at(99, 60), 0u);
  Surface scalar = MakeSurface(640, 480);
  DrawStageAnimation(scalar, pool, a, pose, RasterPath::Scalar);
  EXPECT_EQ(scalar.pixels, target.pixels);
  EffectPose flipped = pose;
  flipped.bFlip = true;
  Surface same = MakeSurface(640, 480);
  DrawStageAnimation(same, pool, a, flipped);
  EXPECT_EQ(same.pixels, target.pixels);
}

}  // namespace
}  // namespace vdx
