// Draws the rain and the snow of a stage as they are; changes nothing.
#pragma once

#include "effects/rain.h"
#include "effects/snow.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

namespace vdx {

// Each falling drop whose screen x (world x - cameraX) is on screen is drawn
// with the rain picture, and each splash as a flat streak SplashSize pixels
// wide (none at 0).
void DrawRain(const clsRain& rain, Surface& target, const Surface* picture, Long cameraX,
              RasterPath path = RasterPath::Best);

// Every flake where the camera sees it.
void DrawSnow(const Snow& snow, const SnowPictures& pictures, Surface& target, long cameraX,
              RasterPath path = RasterPath::Best);

}  // namespace vdx
