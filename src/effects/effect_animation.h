// How a character's effects (projectiles, bursts, auras) and a stage's scenery
// change over time: the timed turn, fade and growth, an effect's frame step
// with its movement and its end, and the drawing of both.
//
// A content record says what an effect or a piece of scenery is; what changes
// while it runs (where it is, its frame, its timers) is its run, a plain value
// the fight keeps in its state. Every rule here reads the record, changes the
// run and works from the frame's tick count; nothing reads the clock and
// nothing draws (effect_drawing.h draws a run's pose). Positions are pixels of
// the 640 x 480 play field.
//
// Turns count in degrees: the timed turn adds its AngleChange and wraps at
// 360, which only makes sense for degrees, and a turn that wraps in degrees
// spins smoothly where the same numbers taken as radians would jump at every
// wrap. DrawSprite takes radians with pi/2 as upright (0 being the special
// case "not turned"), so a turn of d degrees is handed over as pi/2 + d in
// radians: 0 degrees upright, 90 a quarter turn clockwise.
#pragma once

#include <cstdint>
#include <span>

#include "content/records.h"
#include "graphics/frame_pool.h"

namespace vdx {

// The largest drawn size an effect may grow to, either way: four screens.
inline constexpr Integer kMaxEffectSize = 2560;

// What is drawn of an effect or a piece of scenery: where, which frame, how.
struct EffectPose {
  bool drawn = false;  // false: nothing is drawn
  bool bFlip = false;
  Integer X = 0, Y = 0, Width = 0, Height = 0, CurFrame = 0;
  Double Alpha = 0, Angle = 0;
};

// What changes while an effect runs.
struct EffectRun {
  bool bActive = false;
  bool bFlip = false;
  bool HasHit = false;
  bool bFirst = false;  // its sound has played for this activation
  Integer X = 0, Y = 0, Width = 0, Height = 0, CurFrame = 0;
  Long Duration = 0;
  Long LastTickCount = 0, LastAngleTick = 0, LastAlphaTick = 0, LastScaleTick = 0;
  Long DelayCount = 0;
  Double Alpha = 0, AlphaChange = 0, Angle = 0, AngleChange = 0;
  EffectPose shown;  // as drawn this frame
};

// What changes while a piece of scenery runs; it is drawn a frame after it
// moved (the stage behind a frame is drawn at the end of the frame before).
struct AnimRun {
  bool bFirst = false;
  Integer X = 0, Y = 0, CurFrame = 0;
  Long LastTickCount = 0, LastAngleTick = 0, LastAlphaTick = 0;
  Double Alpha = 0, AlphaChange = 0, Angle = 0, AngleChange = 0;
  EffectPose next;   // the pose taken at the end of the last frame
  EffectPose shown;  // the pose behind this frame
};

// A run as the record was loaded: its values, inactive, no timer set.
EffectRun StartingRun(const cEffect& effect);
AnimRun StartingRun(const cAnim& anim);

// Whether `interval` ms have passed since `last` (strictly more); a last tick
// of 0 has not been set and is set to now first (so nothing happens yet).
bool IntervalPassed(Long& last, Long interval, std::uint32_t now);

// Angle += AngleChange each time AngleInterval has passed, kept in [0, 360).
void StepAngle(const cEffect& effect, EffectRun& run, std::uint32_t now);
void StepAngle(const cAnim& anim, AnimRun& run, std::uint32_t now);
// Alpha += AlphaChange each time AlphaInterval has passed; at 1 or above it
// stays at 1, below 0 at 0, and the change turns round (the fade pulses).
void StepAlpha(const cEffect& effect, EffectRun& run, std::uint32_t now);
void StepAlpha(const cAnim& anim, AnimRun& run, std::uint32_t now);
// Width and Height grow by ScaleChange (whole pixels) each time ScaleInterval
// has passed, and the effect moves by half of that, so that it grows about its
// centre (mirrored for an effect facing left). The size stays within
// [0, kMaxEffectSize].
void StepScale(const cEffect& effect, EffectRun& run, std::uint32_t now);

// The renderer's angle for a turn in degrees (see the top of this file).
float RendererAngle(double degrees);

// Where an effect was when it ended or hit: its successor starts there.
struct EffectEnd {
  Integer X = 0, Y = 0;
  bool bFlip = false;
};

// Starts an effect at (x, y), facing left when `flip`: from its first frame,
// with the sound of this activation still to play.
void ActivateEffect(const cEffect& effect, EffectRun& run, Integer x, Integer y, bool flip);

// One character's effects and their runs, in the same order.
struct EffectFamily {
  const Collection<cEffect>* effects = nullptr;
  std::span<EffectRun> runs;
};

// Starts the effect `name` of the family where another ended or hit, unless it
// is running already. Returns false when no effect has that name (the chain
// ends there; --check-content reports such a name).
bool StartNextEffect(const EffectFamily& family, std::string_view name, const EffectEnd& at);

// The end of an effect: back to the values it was loaded with, inactive.
// The timers of its frame step and timed steps are left as they are.
void ResetEffect(const cEffect& effect, EffectRun& run);

// What one call of StepEffectFrame did.
enum class EffectFrameStep {
  Waiting,  // the interval has not passed yet
  Stepped,  // one frame on, moved
  Ended,    // the effect had shown its DisplayRate steps and was reset
};

// The frame step, when more than Interval ms have passed since the last: an
// effect that has done DisplayRate steps ends: the effect its NextEffect
// names in `family` (its character's effects) starts where it was, and then
// it is reset. Otherwise it counts the step. Either way the strip moves on a
// frame (and loops), and the effect moves by MoveHorizontal (leftwards when it
// faces left) and MoveVertical, with Y kept between MaxTop and MaxBottom.
EffectFrameStep StepEffectFrame(const cEffect& effect, EffectRun& run, std::uint32_t now,
                                const EffectFamily* family = nullptr);

// The picture of a record's current frame in its pool, or nullptr when the
// frame is not one of the record's loaded frames.
const Surface* CurrentPicture(const FramePool& pool, Integer offset, Integer frames,
                              Integer curFrame);

// Where an effect is drawn and can hit: Width x Height from (X, Y), or, facing
// left, ending at X (the mirror image of the right-facing one).
struct EffectBox {
  Long Left = 0, Top = 0, Right = 0, Bottom = 0;
};
EffectBox DrawnEffectBox(const EffectPose& pose);

// An effect's pose as it is now.
EffectPose PoseOf(const EffectRun& run);

// A piece of scenery before it is drawn: its frame kept at or above Offset,
// its turn and fade. Returns whether its sound is to be played now (the first
// time it runs in a fight).
bool PrepareStageAnimation(const cAnim& anim, AnimRun& run, std::uint32_t now);
// Its pose as it is now, at (X, Y) on screen with its own size.
EffectPose PoseOf(const cAnim& anim, const AnimRun& run);
// Once more than Interval ms have passed: the next frame (looping), and the
// move by MoveHorizontal and MoveVertical, a position beyond one limit going
// on from the other (X between MaxLeft and MaxRight, Y between the smaller
// and the larger of MaxTop and MaxBottom).
void MoveStageAnimation(const cAnim& anim, AnimRun& run, std::uint32_t now);

}  // namespace vdx
