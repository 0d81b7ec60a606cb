// The fighters: a jointed figure in side view, its build and outfit, and the
// poses it takes. A pose is a set of joint angles; frames of an action are
// poses interpolated between key poses.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

namespace democontent {

// How a fighter is built and dressed. Lengths are pixels at the 256 x 256 frame.
struct Build {
  double torso = 52, thigh = 40, shin = 40, upperArm = 30, forearm = 28, neck = 8;
  double head = 15;               // head radius
  double chest = 15, waist = 12;  // torso radii at shoulders and hips
  double thighR = 9, shinR = 7, upperArmR = 7, forearmR = 6, fist = 7.5, foot = 16;
};

enum class Hair { Ponytail, BaldBeard, Hood, Topknot };

struct Outfit {
  Rgb skin, hair, top, pants, accent, gloves, boots, eyes;
  Hair hair_style = Hair::Ponytail;
  bool sleeves = false;  // top colour on the upper arms
  bool longSleeves = false;
  bool scarf = false;  // a long scarf in the accent colour
  bool shoulderPads = false;
};

struct Fighter {
  std::string name;  // Name in Game.xml
  std::string path;  // folder under Characters
  Build build;
  Outfit outfit;
};

// Absolute angles in degrees: 0 points straight down, 90 forward (the way the
// fighter faces), -90 backward, 180 up.
struct Pose {
  double hipX = 128;     // hip joint in the frame
  double lift = 0;       // height of the hips above where standing puts them
  bool grounded = true;  // feet are put on the ground line (else hips at lift)
  double torso = 0;      // lean: + forward
  double head = 0;       // head tilt relative to the torso
  double frontThigh = 22, frontShin = 2, frontFoot = 90;
  double backThigh = -14, backShin = -28, backFoot = 80;
  double frontUpper = 35, frontFore = 150;
  double backUpper = 20, backFore = 160;
  double spin = 0;  // whole-body turn about the hips (+ = forward roll)
};

Pose Lerp(const Pose& a, const Pose& b, double t);

inline constexpr int kFrameSize = 256;
inline constexpr int kGroundY = 238;  // feet rest on this row of every frame

// Draws the fighter in a pose, facing right, onto `image` with its hips at
// (pose.hipX + offsetX, ...).
void DrawFighter(Image& image, const Fighter& f, const Pose& pose, double offsetX = 0,
                 double offsetY = 0);

// Black is the fighters' key colour; no pixel of a figure may become it, even
// in the 5-6-5 space of the key test.
void KeepOffKeyColour(Image& image);

}  // namespace democontent
