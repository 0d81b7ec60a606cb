// The stages: their painted backgrounds (1280 x 480) and scenery animations.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

namespace democontent {

struct AnimSpec {
  std::string name;     // unique in the game: the folder under Stages
  std::string sprites;  // frame file base name
  int frames = 1, width = 64, height = 64;
  int animX = 0, animY = 0;
  int moveHorizontal = 0, moveVertical = 0;
  int maxLeft = 0, maxRight = 0, maxTop = 0, maxBottom = 0;
  int interval = 100;
  double alpha = 1, alphaChange = 0;
  int alphaInterval = 0;
  double angle = 0, angleChange = 0;
  int angleInterval = 0;
  int blendMode = 0;
  bool loop = true;
  enum class Look { Cloud, Gull, Beacon, Lantern, Mist, Sign, NeonGlow, Blimp } look = Look::Cloud;
};

struct StageSpec {
  std::string name;        // Name in Game.xml
  std::string background;  // file under Stages (and Stages\Portraits)
  std::string music;       // file under Stages\Music
  bool rain = false, snow = false, disabled = false;
  enum class Look { Harbour, Temple, Neon, Rooftop } look = Look::Harbour;
  std::vector<AnimSpec> anims;
};

std::vector<StageSpec> Stages();

inline constexpr int kStageWidth = 1280;
inline constexpr int kFloorY = 440;  // where the fighters' feet rest on screen

Image PaintStage(const StageSpec& stage);
Image RenderAnimFrame(const AnimSpec& anim, int k);

}  // namespace democontent
