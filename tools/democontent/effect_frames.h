// The frames of the fighters' effects and of the fight's shared pictures
// (sparks, flashes, bubbles, weather, pick-up ball).
#pragma once

#include "raster.h"
#include "roster.h"

namespace democontent {

Image RenderEffectFrame(const EffectSpec& effect, int k);

Image SparkPicture();        // 16 x 16
Image FlashPicture();        // 64 x 64
Image BubblePicture();       // 32 x 32
Image SnowPicture(int n);    // n = 1..3
Image RainPicture();         // a falling streak
Image BallPicture();         // 40 x 40 pick-up
Image BallHighlight();       // 40 x 40
Image BulletPicture();       // 16 x 16 round-win marker
Image HealthMeterPicture();  // 130 x 10 bar

}  // namespace democontent
