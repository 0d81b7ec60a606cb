#include "effects/effect_drawing.h"

#include "graphics/sprite_renderer.h"

namespace vdx {
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

void DrawEffect(Surface& target, const FramePool& pool, const cEffect& effect,
                const EffectPose& pose, RasterPath path) {
  if (!pose.drawn) return;
  const Surface* picture = CurrentPicture(pool, effect.Offset, effect.Frames, pose.CurFrame);
  if (picture == nullptr) return;
  const EffectBox box = DrawnEffectBox(pose);
  DrawRecord(target, *picture, static_cast<float>(box.Left), static_cast<float>(box.Top),
             pose.Width, pose.Height, pose.Alpha, pose.Angle, effect.Red, effect.Green,
             effect.Blue, effect.BlendMode, pose.bFlip, path);
}

void DrawStageAnimation(Surface& target, const FramePool& pool, const cAnim& anim,
                        const EffectPose& pose, RasterPath path) {
  if (!pose.drawn) return;
  const Surface* picture = CurrentPicture(pool, anim.Offset, anim.Frames, pose.CurFrame);
  if (picture == nullptr) return;
  DrawRecord(target, *picture, pose.X, pose.Y, pose.Width, pose.Height, pose.Alpha, pose.Angle,
             anim.Red, anim.Green, anim.Blue, anim.BlendMode, false, path);
}

}  // namespace vdx
