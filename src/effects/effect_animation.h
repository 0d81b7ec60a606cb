// How a character's effects (projectiles, bursts, auras) and a stage's scenery
// change over time: the timed turn, fade and growth, an effect's frame step
// with its movement and its end, and the drawing of both.
//
// Every rule here works on the content record itself (the fight keeps a copy
// per player and per round) and on the frame's tick count; nothing reads the
// clock. Positions are pixels of the 640 x 480 play field.
//
// Turns count in degrees: the timed turn adds its AngleChange and wraps at
// 360, which only makes sense for degrees, and a turn that wraps in degrees
// spins smoothly where the same numbers taken as radians would jump at every
// wrap. DrawSprite takes radians with pi/2 as upright (0 being the special
// case "not turned"), so a turn of d degrees is handed over as pi/2 + d in
// radians: 0 degrees upright, 90 a quarter turn clockwise.
#pragma once

#include <cstdint>

#include "content/records.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

// The largest drawn size an effect may grow to, either way: four screens.
inline constexpr Integer kMaxEffectSize = 2560;

// Whether `interval` ms have passed since `last` (strictly more); a last tick
// of 0 has not been set and is set to now first (so nothing happens yet).
bool IntervalPassed(Long& last, Long interval, std::uint32_t now);

// Angle += AngleChange each time AngleInterval has passed, kept in [0, 360).
void StepAngle(cEffect& effect, std::uint32_t now);
void StepAngle(cAnim& anim, std::uint32_t now);
// Alpha += AlphaChange each time AlphaInterval has passed; at 1 or above it
// stays at 1, below 0 at 0, and the change turns round (the fade pulses).
void StepAlpha(cEffect& effect, std::uint32_t now);
void StepAlpha(cAnim& anim, std::uint32_t now);
// Width and Height grow by ScaleChange (whole pixels) each time ScaleInterval
// has passed, and the effect moves by half of that, so that it grows about its
// centre (mirrored for an effect facing left). The size stays within
// [0, kMaxEffectSize].
void StepScale(cEffect& effect, std::uint32_t now);

// The renderer's angle for a turn in degrees (see the top of this file).
float RendererAngle(double degrees);

// Where an effect was when it ended or hit: its successor starts there.
struct EffectEnd {
  Integer X = 0, Y = 0;
  bool bFlip = false;
};

// Starts an effect at (x, y), facing left when `flip`: from its first frame,
// with the sound of this activation still to play.
void ActivateEffect(cEffect& effect, Integer x, Integer y, bool flip);

// Starts the effect `name` of the same character where another ended or hit,
// unless it is running already. Returns false when no effect has that name
// (the chain ends there; --check-content reports such a name).
bool StartNextEffect(Collection<cEffect>& effects, const std::string& name, const EffectEnd& at);

// The end of an effect: back to the values it was loaded with, inactive.
// The timers of its frame step and timed steps are left as they are.
void ResetEffect(cEffect& effect);

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
EffectFrameStep StepEffectFrame(cEffect& effect, std::uint32_t now,
                                Collection<cEffect>* family = nullptr);

// The picture of a record's current frame in its pool, or nullptr when the
// frame is not one of the record's loaded frames.
const Surface* CurrentPicture(const FramePool& pool, Integer offset, Integer frames,
                              Integer curFrame);

// Where an effect is drawn and can hit: Width x Height from (X, Y), or, facing
// left, ending at X (the mirror image of the right-facing one).
struct EffectBox {
  Long Left = 0, Top = 0, Right = 0, Bottom = 0;
};
EffectBox DrawnEffectBox(const cEffect& effect);

// Draws the effect's current frame (mirrored when it faces left) with its
// size, alpha, turn, tint and blend. A size of 0 or less draws nothing.
void DrawEffect(Surface& target, const FramePool& pool, const cEffect& effect,
                RasterPath path = RasterPath::Best);

// A stage animation before it is drawn: its frame kept at or above Offset,
// its turn and fade. Returns whether its sound is to be played now (the first
// time it runs in a fight).
bool PrepareStageAnimation(cAnim& anim, std::uint32_t now);
// Draws it at (X, Y) on screen with its size, alpha, turn, tint and blend.
void DrawStageAnimation(Surface& target, const FramePool& pool, const cAnim& anim,
                        RasterPath path = RasterPath::Best);
// Once more than Interval ms have passed: the next frame (looping), and the
// move by MoveHorizontal and MoveVertical, a position beyond one limit going
// on from the other (X between MaxLeft and MaxRight, Y between the smaller
// and the larger of MaxTop and MaxBottom).
void MoveStageAnimation(cAnim& anim, std::uint32_t now);

}  // namespace vdx
