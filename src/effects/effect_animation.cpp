#include "effects/effect_animation.h"

#include <algorithm>
#include <cmath>

#include "graphics/rounding.h"

namespace vdx {
namespace {

constexpr double kPi = 3.14159265358979323846;

Long AsTick(std::uint32_t now) {
  return static_cast<Long>(now);
}

// Milliseconds from a stored tick to now, across a wrap too.
std::int64_t Since(Long last, std::uint32_t now) {
  return static_cast<std::int32_t>(now - static_cast<std::uint32_t>(last));
}

template <typename Record, typename Run>
void TurnStep(const Record& record, Run& r, std::uint32_t now) {
  if (!IntervalPassed(r.LastAngleTick, record.AngleInterval, now)) return;
  r.Angle += r.AngleChange;
  // A turn far outside one round (bad content) is brought back in one go.
  if (r.Angle >= 360 || r.Angle < 0) r.Angle -= 360 * std::floor(r.Angle / 360);
  if (r.Angle >= 360) r.Angle = 0;
}

template <typename Record, typename Run>
void FadeStep(const Record& record, Run& r, std::uint32_t now) {
  if (!IntervalPassed(r.LastAlphaTick, record.AlphaInterval, now)) return;
  r.Alpha += r.AlphaChange;
  if (r.Alpha >= 1.0) {
    r.Alpha = 1.0;
    r.AlphaChange = -r.AlphaChange;
  } else if (r.Alpha < 0) {
    r.Alpha = 0;
    r.AlphaChange = -r.AlphaChange;
  }
}

Integer ClampSize(double size) {
  return static_cast<Integer>(std::clamp<double>(size, 0, kMaxEffectSize));
}

Integer ClampPosition(double position) {
  return static_cast<Integer>(std::clamp<double>(position, -32768, 32767));
}

// value + change, gone on from the other limit when it passes one. Scenery
// that does not move along an axis stays where it was put, limits or not.
Integer Wrapped(Integer value, Integer change, Integer low, Integer high) {
  if (change == 0) return value;
  const int next = value + change;
  if (next > high) return low;
  if (next < low) return high;
  return static_cast<Integer>(next);
}

}  // namespace

bool IntervalPassed(Long& last, Long interval, std::uint32_t now) {
  if (last == 0) last = AsTick(now);
  if (Since(last, now) <= interval) return false;
  last = AsTick(now);
  return true;
}

EffectRun StartingRun(const cEffect& e) {
  EffectRun run;
  run.bActive = e.bActive;
  run.bFlip = e.bFlip;
  run.HasHit = e.HasHit;
  run.bFirst = e.bFirst;
  run.X = e.X;
  run.Y = e.Y;
  run.Width = e.Width;
  run.Height = e.Height;
  run.CurFrame = e.CurFrame;
  run.Duration = e.Duration;
  run.LastTickCount = e.LastTickCount;
  run.LastAngleTick = e.LastAngleTick;
  run.LastAlphaTick = e.LastAlphaTick;
  run.LastScaleTick = e.LastScaleTick;
  run.DelayCount = e.DelayCount;
  run.Alpha = e.Alpha;
  run.AlphaChange = e.AlphaChange;
  run.Angle = e.Angle;
  run.AngleChange = e.AngleChange;
  return run;
}

AnimRun StartingRun(const cAnim& a) {
  AnimRun run;
  run.bFirst = a.bFirst;
  run.X = a.X;
  run.Y = a.Y;
  run.CurFrame = a.CurFrame;
  run.LastTickCount = a.LastTickCount;
  run.LastAngleTick = a.LastAngleTick;
  run.LastAlphaTick = a.LastAlphaTick;
  run.Alpha = a.Alpha;
  run.AlphaChange = a.AlphaChange;
  run.Angle = a.Angle;
  run.AngleChange = a.AngleChange;
  return run;
}

void StepAngle(const cEffect& effect, EffectRun& run, std::uint32_t now) {
  TurnStep(effect, run, now);
}
void StepAngle(const cAnim& anim, AnimRun& run, std::uint32_t now) {
  TurnStep(anim, run, now);
}
void StepAlpha(const cEffect& effect, EffectRun& run, std::uint32_t now) {
  FadeStep(effect, run, now);
}
void StepAlpha(const cAnim& anim, AnimRun& run, std::uint32_t now) {
  FadeStep(anim, run, now);
}

void StepScale(const cEffect& e, EffectRun& effect, std::uint32_t now) {
  if (!IntervalPassed(effect.LastScaleTick, e.ScaleInterval, now)) return;
  const double grown = RoundEven(e.ScaleChange);
  const Integer width = ClampSize(effect.Width + grown);
  const Integer height = ClampSize(effect.Height + grown);
  // It moves by half of what it really grew, so that a size held at a limit
  // does not walk away.
  const double halfX = RoundEven((width - effect.Width) / 2.0);
  const double halfY = RoundEven((height - effect.Height) / 2.0);
  effect.Width = width;
  effect.Height = height;
  effect.X = ClampPosition(effect.bFlip ? effect.X + halfX : effect.X - halfX);
  effect.Y = ClampPosition(effect.Y - halfY);
}

float RendererAngle(double degrees) {
  if (degrees == 0) return 0;
  return static_cast<float>(kPi / 2 + degrees * kPi / 180);
}

void ActivateEffect(const cEffect& effect, EffectRun& run, Integer x, Integer y, bool flip) {
  run.bActive = true;
  run.bFlip = flip;
  run.X = x;
  run.Y = y;
  run.CurFrame = effect.Offset;
}

bool StartNextEffect(const EffectFamily& family, std::string_view name, const EffectEnd& at) {
  if (family.effects == nullptr) return false;
  const auto index = family.effects->indexOf(name);
  if (!index) return false;
  if (*index >= family.runs.size()) return true;  // beyond the fight's room: never runs
  EffectRun& next = family.runs[*index];
  if (!next.bActive) ActivateEffect(*family.effects->at(*index + 1), next, at.X, at.Y, at.bFlip);
  return true;
}

void ResetEffect(const cEffect& e, EffectRun& effect) {
  effect.Duration = 0;
  effect.CurFrame = e.Offset;
  effect.bActive = false;
  effect.HasHit = false;
  effect.Alpha = e.oAlpha;
  effect.AlphaChange = e.oAlphaChange;
  effect.Angle = e.oAngle;
  effect.AngleChange = e.oAngleChange;
  effect.Height = static_cast<Integer>(std::clamp<Long>(e.oHeight, -32768, 32767));
  effect.Width = static_cast<Integer>(std::clamp<Long>(e.oWidth, -32768, 32767));
  effect.X = e.animX;
  effect.Y = e.animY;
  effect.DelayCount = 0;
  effect.bFirst = false;
}

EffectFrameStep StepEffectFrame(const cEffect& e, EffectRun& effect, std::uint32_t now,
                                const EffectFamily* family) {
  if (Since(effect.LastTickCount, now) <= e.Interval) return EffectFrameStep::Waiting;
  EffectFrameStep result = EffectFrameStep::Stepped;
  if (effect.Duration >= e.DisplayRate) {
    // The successor first: an effect that names itself is started (it runs
    // already) and then ends all the same.
    if (family != nullptr && !e.NextEffect.empty())
      StartNextEffect(*family, e.NextEffect, EffectEnd{effect.X, effect.Y, effect.bFlip});
    ResetEffect(e, effect);
    result = EffectFrameStep::Ended;
  } else {
    ++effect.Duration;
  }
  effect.LastTickCount = AsTick(now);
  if (effect.CurFrame < e.Offset) effect.CurFrame = e.Offset;
  if (effect.CurFrame + 1 >= e.Offset + e.Frames)
    effect.CurFrame = e.Offset;
  else
    ++effect.CurFrame;
  effect.X = ClampPosition(effect.bFlip ? effect.X - e.MoveHorizontal
                                        : effect.X + e.MoveHorizontal);
  int y = effect.Y + e.MoveVertical;
  if (y < e.MaxTop) y = e.MaxTop;
  if (y > e.MaxBottom) y = e.MaxBottom;
  effect.Y = static_cast<Integer>(y);
  return result;
}

const Surface* CurrentPicture(const FramePool& pool, Integer offset, Integer frames,
                              Integer curFrame) {
  if (curFrame < 1 || curFrame < offset || curFrame >= offset + frames) return nullptr;
  const auto index = static_cast<std::size_t>(curFrame - 1);
  if (index >= pool.frames.size() || !pool.frames[index]) return nullptr;
  return pool.frames[index].get();
}

EffectBox DrawnEffectBox(const EffectPose& pose) {
  const Long left = pose.bFlip ? pose.X - pose.Width : pose.X;
  return EffectBox{left, pose.Y, left + pose.Width, pose.Y + pose.Height};
}

EffectPose PoseOf(const EffectRun& run) {
  return EffectPose{true, run.bFlip, run.X, run.Y, run.Width, run.Height, run.CurFrame,
                    run.Alpha, run.Angle};
}

EffectPose PoseOf(const cAnim& anim, const AnimRun& run) {
  return EffectPose{true, false, run.X, run.Y, anim.Width, anim.Height, run.CurFrame,
                    run.Alpha, run.Angle};
}

bool PrepareStageAnimation(const cAnim& a, AnimRun& anim, std::uint32_t now) {
  if (anim.CurFrame < a.Offset) anim.CurFrame = a.Offset;
  const bool sound = !a.SFX.empty() && !anim.bFirst;
  anim.bFirst = true;
  StepAngle(a, anim, now);
  StepAlpha(a, anim, now);
  return sound;
}

void MoveStageAnimation(const cAnim& a, AnimRun& anim, std::uint32_t now) {
  if (Since(anim.LastTickCount, now) <= a.Interval) return;
  anim.LastTickCount = AsTick(now);
  if (anim.CurFrame + 1 > a.Offset + a.Frames - 1)
    anim.CurFrame = a.Offset;
  else
    ++anim.CurFrame;
  anim.X = Wrapped(anim.X, a.MoveHorizontal, a.MaxLeft, a.MaxRight);
  anim.Y = Wrapped(anim.Y, a.MoveVertical, std::min(a.MaxTop, a.MaxBottom),
                   std::max(a.MaxTop, a.MaxBottom));
}

}  // namespace vdx
