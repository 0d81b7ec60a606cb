#include "graphics/sprite_renderer.h"

#include "graphics/rounding.h"

#include <cmath>

namespace vdx {
namespace {

// The sums are formed in 32-bit float and rounded halves to even.
std::int32_t RoundSum(float a, float b, float c) {
  const float sum = a + b + c;
  return static_cast<std::int32_t>(RoundEven(sum));
}

}  // namespace

SpriteRect SourceRect(const SpriteArgs& a) {
  return {static_cast<std::int32_t>(RoundEven(a.SrcX)),
          static_cast<std::int32_t>(RoundEven(a.SrcY)),
          RoundSum(static_cast<float>(a.Width), a.SrcX, -1.0f),
          RoundSum(static_cast<float>(a.Height), a.SrcY, -1.0f)};
}

SpriteRect DestinationRect(const SpriteArgs& a) {
  return {static_cast<std::int32_t>(RoundEven(a.X)), static_cast<std::int32_t>(RoundEven(a.Y)),
          RoundSum(static_cast<float>(a.DestWidth), a.X, -1.0f),
          RoundSum(static_cast<float>(a.DestHeight), a.Y, -1.0f)};
}

void DrawSprite(Surface& target, const Surface& surface, SpriteArgs& a, RasterPath path) {
  if (a.DestWidth == 0) a.DestWidth = a.Width;
  if (a.DestHeight == 0) a.DestHeight = a.Height;
  // No tint is asked for with three zeros; a black silhouette comes from mode 2.
  if (static_cast<float>(a.Red + a.Green + a.Blue) == 0.0f) a.Red = a.Green = a.Blue = 255.0f;
  if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(a.SrcX) ||
      !std::isfinite(a.SrcY) || std::fabs(a.X) > 1e7f || std::fabs(a.Y) > 1e7f ||
      std::fabs(a.SrcX) > 1e7f || std::fabs(a.SrcY) > 1e7f)
    return;
  const SpriteRect s = SourceRect(a);
  const SpriteRect d = DestinationRect(a);
  SpriteQuad quad{};
  if (a.Flip != 0)
    BuildMirroredSpriteQuad(quad, surface, s, d, a.Red, a.Green, a.Blue, a.Alpha, a.Angle);
  else
    BuildSpriteQuad(quad, surface, s, d, a.Red, a.Green, a.Blue, a.Alpha, a.Angle);
  RasterizeQuad(target, surface, quad, SpriteBlendOf(a.BlendMode), path);
}

void DrawSprite(Surface& target, const Surface& surface, float& X, float& Y, std::int16_t& Width,
                std::int16_t& Height, float& Alpha, std::int16_t& DestWidth,
                std::int16_t& DestHeight, float& Angle, float& Red, float& Green, float& Blue,
                std::int16_t& BlendMode, float& SrcX, float& SrcY, std::int16_t& Flip) {
  SpriteArgs a{X,   Y,     Width, Height,    Alpha, DestWidth, DestHeight, Angle,
               Red, Green, Blue,  BlendMode, SrcX,  SrcY,      Flip};
  DrawSprite(target, surface, a);
  DestWidth = a.DestWidth;
  DestHeight = a.DestHeight;
  Red = a.Red;
  Green = a.Green;
  Blue = a.Blue;
}

}  // namespace vdx
