#include "effects/effect_animation.h"

#include <algorithm>
#include <cmath>

#include "graphics/rounding.h"
#include "graphics/sprite_renderer.h"

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

template <typename Record>
void TurnStep(Record& r, std::uint32_t now) {
  if (!IntervalPassed(r.LastAngleTick, r.AngleInterval, now)) return;
  r.Angle += r.AngleChange;
  // A turn far outside one round (bad content) is brought back in one go.
  if (r.Angle >= 360 || r.Angle < 0) r.Angle -= 360 * std::floor(r.Angle / 360);
  if (r.Angle >= 360) r.Angle = 0;
}

template <typename Record>
void FadeStep(Record& r, std::uint32_t now) {
  if (!IntervalPassed(r.LastAlphaTick, r.AlphaInterval, now)) return;
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

void StepAngle(cEffect& effect, std::uint32_t now) {
  TurnStep(effect, now);
}
void StepAngle(cAnim& anim, std::uint32_t now) {
  TurnStep(anim, now);
}
void StepAlpha(cEffect& effect, std::uint32_t now) {
  FadeStep(effect, now);
}
void StepAlpha(cAnim& anim, std::uint32_t now) {
  FadeStep(anim, now);
}

void StepScale(cEffect& effect, std::uint32_t now) {
  if (!IntervalPassed(effect.LastScaleTick, effect.ScaleInterval, now)) return;
  const double grown = RoundEven(effect.ScaleChange);
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

void ActivateEffect(cEffect& effect, Integer x, Integer y, bool flip) {
  effect.bActive = true;
  effect.bFlip = flip;
  effect.X = x;
  effect.Y = y;
  effect.CurFrame = effect.Offset;
}

bool StartNextEffect(Collection<cEffect>& effects, const std::string& name, const EffectEnd& at) {
  cEffect* next = effects.find(name);
  if (next == nullptr) return false;
  if (!next->bActive) ActivateEffect(*next, at.X, at.Y, at.bFlip);
  return true;
}

void ResetEffect(cEffect& effect) {
  effect.Duration = 0;
  effect.CurFrame = effect.Offset;
  effect.bActive = false;
  effect.HasHit = false;
  effect.Alpha = effect.oAlpha;
  effect.AlphaChange = effect.oAlphaChange;
  effect.Angle = effect.oAngle;
  effect.AngleChange = effect.oAngleChange;
  effect.Height = static_cast<Integer>(std::clamp<Long>(effect.oHeight, -32768, 32767));
  effect.Width = static_cast<Integer>(std::clamp<Long>(effect.oWidth, -32768, 32767));
  effect.X = effect.animX;
  effect.Y = effect.animY;
  effect.DelayCount = 0;
  effect.bFirst = false;
}

EffectFrameStep StepEffectFrame(cEffect& effect, std::uint32_t now, Collection<cEffect>* family) {
  if (Since(effect.LastTickCount, now) <= effect.Interval) return EffectFrameStep::Waiting;
  EffectFrameStep result = EffectFrameStep::Stepped;
  if (effect.Duration >= effect.DisplayRate) {
    // The successor first: an effect that names itself is started (it runs
    // already) and then ends all the same.
    if (family != nullptr && !effect.NextEffect.empty())
      StartNextEffect(*family, effect.NextEffect, EffectEnd{effect.X, effect.Y, effect.bFlip});
    ResetEffect(effect);
    result = EffectFrameStep::Ended;
  } else {
    ++effect.Duration;
  }
  effect.LastTickCount = AsTick(now);
  if (effect.CurFrame < effect.Offset) effect.CurFrame = effect.Offset;
  if (effect.CurFrame + 1 >= effect.Offset + effect.Frames)
    effect.CurFrame = effect.Offset;
  else
    ++effect.CurFrame;
  effect.X = ClampPosition(effect.bFlip ? effect.X - effect.MoveHorizontal
                                        : effect.X + effect.MoveHorizontal);
  int y = effect.Y + effect.MoveVertical;
  if (y < effect.MaxTop) y = effect.MaxTop;
  if (y > effect.MaxBottom) y = effect.MaxBottom;
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

EffectBox DrawnEffectBox(const cEffect& effect) {
  const Long left = effect.bFlip ? effect.X - effect.Width : effect.X;
  return EffectBox{left, effect.Y, left + effect.Width, effect.Y + effect.Height};
}

namespace {

void DrawRecord(Surface& target, const Surface& picture, float x, float y, Integer width,
                Integer height, double alpha, double angle, float red, float green, float blue,
                Integer blendMode, bool flip, RasterPath path) {
  // 0 would be "the picture's own size" to the renderer: a size shrunk to
  // nothing is not drawn at all.
  if (width <= 0 || height <= 0) return;
  SpriteArgs args = SpriteAt(x, y, picture.width, picture.height, width, height);
  args.Alpha = static_cast<float>(alpha);
  args.Angle = RendererAngle(angle);
  args.Red = red;
  args.Green = green;
  args.Blue = blue;
  args.BlendMode = blendMode;
  args.Flip = static_cast<std::int16_t>(flip ? 1 : 0);
  DrawSprite(target, picture, args, path);
}

}  // namespace

void DrawEffect(Surface& target, const FramePool& pool, const cEffect& effect, RasterPath path) {
  const Surface* picture = CurrentPicture(pool, effect.Offset, effect.Frames, effect.CurFrame);
  if (picture == nullptr) return;
  const EffectBox box = DrawnEffectBox(effect);
  DrawRecord(target, *picture, static_cast<float>(box.Left), static_cast<float>(box.Top),
             effect.Width, effect.Height, effect.Alpha, effect.Angle, effect.Red, effect.Green,
             effect.Blue, effect.BlendMode, effect.bFlip, path);
}

bool PrepareStageAnimation(cAnim& anim, std::uint32_t now) {
  if (anim.CurFrame < anim.Offset) anim.CurFrame = anim.Offset;
  const bool sound = !anim.SFX.empty() && !anim.bFirst;
  anim.bFirst = true;
  StepAngle(anim, now);
  StepAlpha(anim, now);
  return sound;
}

void DrawStageAnimation(Surface& target, const FramePool& pool, const cAnim& anim,
                        RasterPath path) {
  const Surface* picture = CurrentPicture(pool, anim.Offset, anim.Frames, anim.CurFrame);
  if (picture == nullptr) return;
  DrawRecord(target, *picture, anim.X, anim.Y, anim.Width, anim.Height, anim.Alpha, anim.Angle,
             anim.Red, anim.Green, anim.Blue, anim.BlendMode, false, path);
}

void MoveStageAnimation(cAnim& anim, std::uint32_t now) {
  if (Since(anim.LastTickCount, now) <= anim.Interval) return;
  anim.LastTickCount = AsTick(now);
  if (anim.CurFrame + 1 > anim.Offset + anim.Frames - 1)
    anim.CurFrame = anim.Offset;
  else
    ++anim.CurFrame;
  anim.X = Wrapped(anim.X, anim.MoveHorizontal, anim.MaxLeft, anim.MaxRight);
  anim.Y = Wrapped(anim.Y, anim.MoveVertical, std::min(anim.MaxTop, anim.MaxBottom),
                   std::max(anim.MaxTop, anim.MaxBottom));
}

}  // namespace vdx
