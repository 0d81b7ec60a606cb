// A synthetic fight frame: the pictures and the list of draws that a busy frame
// of a fight makes, shared by our renderer's benchmark and SDL's.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/sprite_renderer.h"
#include "graphics/surface.h"

namespace bench {

struct SceneSprite {
  const vdx::Surface* surface;
  vdx::SpriteArgs args;
};

struct FightScene {
  vdx::Surface stage;              // 1280 x 480
  vdx::Surface fighter;            // 256 x 256, black keyed, a body of about 40 % of the frame
  vdx::Surface effect;             // 128 x 128 glow
  vdx::Surface particle;           // 16 x 16
  vdx::Surface rain;               // 2 x 16
  vdx::Surface glyph;              // 128 x 128 piece
  vdx::Surface meter;              // 130 x 10
  vdx::Surface bullet;             // 16 x 16
  std::vector<SceneSprite> draws;  // back to front
  int cameraX = 320;
};

FightScene MakeFightScene();

// The whole frame with our renderer: the stage view copied, then every draw.
void DrawFightFrame(vdx::Surface& backBuffer, const FightScene& scene,
                    vdx::RasterPath path = vdx::RasterPath::Best);

}  // namespace bench
