#include "effects/particle_drawing.h"

#include <algorithm>

#include "graphics/rounding.h"
#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

// A running scale that has grown without bound must not make one particle
// cost a screenful of pixels: no particle is drawn larger than the field.
constexpr int kMaxDrawnSize = 640;

// round(size x scale); 0 asks DrawSprite for the picture's own size, and so
// does a scale that has shrunk below nothing.
std::int16_t DrawnSize(std::int16_t size, float scale) {
  const double drawn = RoundEven(static_cast<double>(size) * static_cast<double>(scale));
  if (!(drawn > 0)) return 0;
  return static_cast<std::int16_t>(std::min<double>(drawn, kMaxDrawnSize));
}

}  // namespace

SharedSurface LoadParticleTexture(const LoadContext& ctx, std::string_view contentPath, int width,
                                  int height) {
  return LoadPictureOrLog(ctx, contentPath, width, height, 0u);
}

void DrawParticles(const cParticle& engine, const Surface* texture, Surface& target,
                   RasterPath path) {
  if (texture == nullptr) return;
  ForEachDrawnParticle(engine, [&](const Particle& p, std::int32_t angle, float scale) {
    SpriteArgs args = SpriteAt(p.x, p.y, texture->width, texture->height,
                               DrawnSize(p.width, scale), DrawnSize(p.height, scale));
    args.Alpha = p.alpha;
    args.Red = p.r;
    args.Green = p.g;
    args.Blue = p.b;
    args.BlendMode = engine.BlendMode;
    args.Angle = static_cast<float>(angle);
    DrawSprite(target, *texture, args, path);
  });
}

}  // namespace vdx
