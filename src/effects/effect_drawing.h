// Draws an effect or a piece of scenery as its pose says: its current frame
// with its size, alpha, turn, tint and blend. Drawing changes nothing.
#pragma once

#include "content/records.h"
#include "effects/effect_animation.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

// The effect's frame (mirrored when it faces left). A size of 0 or less, or a
// pose not drawn, draws nothing.
void DrawEffect(Surface& target, const FramePool& pool, const cEffect& effect,
                const EffectPose& pose, RasterPath path = RasterPath::Best);

// Scenery at (X, Y) on screen, never mirrored.
void DrawStageAnimation(Surface& target, const FramePool& pool, const cAnim& anim,
                        const EffectPose& pose, RasterPath path = RasterPath::Best);

}  // namespace vdx
