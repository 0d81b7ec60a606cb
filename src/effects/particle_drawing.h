// Draws a particle burst: each living particle with the running turn and
// scale, its tint and its fade. Drawing changes nothing.
#pragma once

#include <string_view>

#include "effects/particle_engine.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

// Reads a particle picture at the size, keyed on black; logs and returns
// nullptr when it is missing or not a picture. The caller keeps it for every
// burst: arming a burst loads nothing.
SharedSurface LoadParticleTexture(const LoadContext& ctx, std::string_view contentPath, int width,
                                  int height);

// The burst as it is now; nothing without a picture.
void DrawParticles(const cParticle& engine, const Surface* texture, Surface& target,
                   RasterPath path = RasterPath::Best);

}  // namespace vdx
